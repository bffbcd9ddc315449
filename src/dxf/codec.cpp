#include "dxf/codec.h"

#include "base/usererror.h"

#include <cerrno>
#include <cstdint>
#include <string>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace dxf {

namespace {

using base::appendUtf8;

void appendUtf16(std::u16string &out, char32_t c)
{
    if (c < 0x10000) {
        out += char16_t(c);
    } else {
        c -= 0x10000;
        out += char16_t(0xD800 + (c >> 10));
        out += char16_t(0xDC00 + (c & 0x3FF));
    }
}

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

void appendEscape(std::string &out, char16_t unit)
{
    static const char digits[] = "0123456789ABCDEF";
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[(unit >> shift) & 0xF];
}

}  // namespace

std::u16string fromUtf8(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out += char16_t(b);
            ++i;
            continue;
        }
        int len = b >= 0xF0 && b < 0xF5 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
        if (b >= 0xF5)
            len = 0;
        char32_t c = len == 4 ? b & 0x07 : len == 3 ? b & 0x0F : b & 0x1F;
        bool ok = len > 0 && i + len <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            ok = (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        // Overlong forms and values past U+10FFFF are not characters.
        if (ok && ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF))))
            ok = false;
        if (!ok) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        appendUtf16(out, c);
        i += len;
    }
    return out;
}

std::string toUtf8(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::u16string decodeEscapes(std::u16string_view s)
{
    if (s.find(u'\\') == std::u16string_view::npos)
        return std::u16string(s);
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 6 < s.size() && s[i + 1] == u'U' && s[i + 2] == u'+') {
            int v = 0;
            bool ok = true;
            for (std::size_t k = 3; k < 7 && ok; ++k) {
                const int d = hexDigit(s[i + k]);
                ok = d >= 0;
                v = v * 16 + d;
            }
            if (ok) {
                out += char16_t(v);  // two escaped surrogates make one character by themselves
                i += 6;
                continue;
            }
        }
        out += s[i];
    }
    return out;
}

int codePageNumber(std::string_view name)
{
    std::size_t i = 0;
    for (std::string_view prefix : {"ANSI_", "DOS"}) {
        if (name.size() > prefix.size()) {
            bool same = true;
            for (std::size_t k = 0; k < prefix.size() && same; ++k)
                same = (name[k] & ~0x20) == (prefix[k] & ~0x20);
            if (same) {
                i = prefix.size();
                break;
            }
        }
    }
    if (i == 0)
        return 0;
    int n = 0;
    for (; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || n > 100000)
            return 0;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

#ifdef _WIN32

struct Codec::Converter {
    UINT page = 1252;
};

std::u16string Codec::decode(std::string_view bytes) const
{
    if (m_unicode)
        return fromUtf8(bytes);
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    std::u16string out;
    if (ascii) {
        out.assign(bytes.begin(), bytes.end());
    } else if (!bytes.empty()) {
        const int n = MultiByteToWideChar(m_converter->page, 0, bytes.data(), int(bytes.size()), nullptr, 0);
        out.resize(std::size_t(n));
        MultiByteToWideChar(m_converter->page, 0, bytes.data(), int(bytes.size()),
                            reinterpret_cast<wchar_t *>(out.data()), n);
    }
    return decodeEscapes(out);
}

std::string Codec::encode(std::u16string_view text) const
{
    if (m_unicode)
        return toUtf8(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        const int units = c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() ? 2 : 1;
        char buf[16];
        BOOL usedDefault = FALSE;
        const int n = c >= 0xD800 && c < 0xE000 ? 0
                                                : WideCharToMultiByte(m_converter->page, WC_NO_BEST_FIT_CHARS,
                                                                      reinterpret_cast<const wchar_t *>(&text[i]), 1,
                                                                      buf, sizeof buf, nullptr, &usedDefault);
        if (n > 0 && !usedDefault) {
            out.append(buf, std::size_t(n));
            continue;
        }
        for (int k = 0; k < units; ++k)
            appendEscape(out, text[i + k]);
        i += units - 1;
    }
    return out;
}

Codec::Codec(bool unicode, std::string_view codePage) : m_unicode(unicode), m_converter(std::make_unique<Converter>())
{
    if (unicode)
        return;
    int page = codePageNumber(codePage);
    CPINFO info;
    if (page == 0 || !GetCPInfo(UINT(page), &info))
        page = 1252;
    m_codePage = page;
    m_converter->page = UINT(page);
}

#else

// One iconv descriptor each way; conversions run on one thread.
struct Codec::Converter {
    iconv_t toUtf8 = reinterpret_cast<iconv_t>(-1);
    iconv_t fromUtf8 = reinterpret_cast<iconv_t>(-1);
    ~Converter()
    {
        if (toUtf8 != reinterpret_cast<iconv_t>(-1))
            iconv_close(toUtf8);
        if (fromUtf8 != reinterpret_cast<iconv_t>(-1))
            iconv_close(fromUtf8);
    }
};

namespace {

std::string iconvName(int page)
{
    // glibc knows the Windows flavour of Shift_JIS by this name.
    return page == 932 ? std::string("WINDOWS-31J") : "CP" + std::to_string(page);
}

}  // namespace

Codec::Codec(bool unicode, std::string_view codePage) : m_unicode(unicode), m_converter(std::make_unique<Converter>())
{
    if (unicode)
        return;
    const iconv_t none = reinterpret_cast<iconv_t>(-1);
    int page = codePageNumber(codePage);
    for (int candidate : {page, 1252}) {
        if (candidate == 0)
            continue;
        const std::string name = iconvName(candidate);
        iconv_t to = iconv_open("UTF-8", name.c_str());
        iconv_t from = iconv_open(name.c_str(), "UTF-8");
        if (to != none && from != none) {
            m_converter->toUtf8 = to;
            m_converter->fromUtf8 = from;
            m_codePage = candidate;
            return;
        }
        if (to != none)
            iconv_close(to);
        if (from != none)
            iconv_close(from);
    }
    m_codePage = 1252;  // no converter at all: bytes are taken as Latin-1
}

std::u16string Codec::decode(std::string_view bytes) const
{
    if (m_unicode)
        return fromUtf8(bytes);
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return decodeEscapes(std::u16string(bytes.begin(), bytes.end()));
    const iconv_t cd = m_converter->toUtf8;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        std::u16string latin;
        for (char c : bytes)
            latin += char16_t(static_cast<unsigned char>(c));
        return decodeEscapes(latin);
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string utf8;
    std::string in(bytes);
    char *inPtr = in.data();
    std::size_t inLeft = in.size();
    char buf[1024];
    while (inLeft > 0) {
        char *outPtr = buf;
        std::size_t outLeft = sizeof buf;
        const std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        utf8.append(buf, std::size_t(outPtr - buf));
        if (r == std::size_t(-1) && errno != E2BIG) {
            // An undecodable byte stays visible as U+FFFD.
            utf8 += "\xEF\xBF\xBD";
            ++inPtr;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return decodeEscapes(fromUtf8(utf8));
}

std::string Codec::encode(std::u16string_view text) const
{
    if (m_unicode)
        return toUtf8(text);
    const iconv_t cd = m_converter->fromUtf8;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        const bool high = c >= 0xD800 && c < 0xDC00;
        const bool pair = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        const int units = pair ? 2 : 1;
        bool done = false;
        if (cd != reinterpret_cast<iconv_t>(-1) && !(c >= 0xD800 && c < 0xE000)) {
            std::string one;
            appendUtf8(one, c);
            char *inPtr = one.data();
            std::size_t inLeft = one.size();
            char buf[16];
            char *outPtr = buf;
            std::size_t outLeft = sizeof buf;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != std::size_t(-1) && inLeft == 0) {
                out.append(buf, std::size_t(outPtr - buf));
                done = true;
            }
        } else if (cd == reinterpret_cast<iconv_t>(-1) && c < 0x100) {
            out += char(c);
            done = true;
        }
        if (!done) {
            // A character beyond the BMP goes as its two surrogates, each escaped.
            for (int k = 0; k < units; ++k)
                appendEscape(out, text[i + std::size_t(k)]);
        }
        i += std::size_t(units - 1);
    }
    return out;
}

#endif

Codec::~Codec() = default;
Codec::Codec(Codec &&) noexcept = default;
Codec &Codec::operator=(Codec &&) noexcept = default;

}  // namespace dxf
