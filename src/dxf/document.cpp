#include "dxf/document.h"

#include <charconv>
#include <cstring>
#include <cmath>
#include <limits>

namespace dxf {

namespace {

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

constexpr std::string_view kBinarySentinel = "AutoCAD Binary DXF";

}  // namespace

Error::Error(std::size_t line, const std::string &expected)
    : std::runtime_error("行 " + std::to_string(line) + ": " + expected + " が必要です")
    , m_line(line)
{}

Document Document::parse(std::string bytes)
{
    if (bytes.compare(0, kBinarySentinel.size(), kBinarySentinel) == 0)
        throw Error(1, "テキスト形式の DXF (バイナリ DXF は開けません)");
    if (bytes.size() >= std::numeric_limits<std::uint32_t>::max())
        throw Error("4 GB 以上の DXF ファイルは開けません");
    Document doc;
    doc.m_bytes = std::move(bytes);
    const std::string &b = doc.m_bytes;
    const std::size_t n = b.size();
    // Two lines a tag: reserving exactly keeps the peak low on large files.
    std::size_t lines = 1;
    for (const char *p = b.data(), *e = b.data() + n;
         (p = static_cast<const char *>(std::memchr(p, '\n', std::size_t(e - p)))) != nullptr; ++p)
        ++lines;
    doc.m_tags.reserve(lines / 2 + 1);

    // The next line from `pos`: its text (without line end) and where the
    // following line starts.
    auto nextLine = [&](std::size_t pos, std::string_view &text) {
        const std::size_t nl = b.find('\n', pos);
        const std::size_t end = nl == std::string::npos ? n : nl;
        std::size_t textEnd = end;
        if (textEnd > pos && b[textEnd - 1] == '\r')
            --textEnd;
        text = std::string_view(b).substr(pos, textEnd - pos);
        return nl == std::string::npos ? n : nl + 1;
    };

    std::size_t pos = 0;
    while (pos < n) {
        const std::size_t index = doc.m_tags.size();
        const std::size_t line = lineOf(index);
        std::string_view codeText;
        const std::size_t valuePos = nextLine(pos, codeText);
        const std::string_view digits = trim(codeText);
        int code = 0;
        const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), code);
        if (digits.empty() || ec != std::errc() || ptr != digits.data() + digits.size() || code < -9999 || code > 9999)
            throw Error(line, "グループコード (整数)");
        if (valuePos >= n)
            throw Error(line + 1, "グループ " + std::to_string(code) + " の値 (ファイルが途中で終わっています)");
        std::string_view valueText;
        const std::size_t next = nextLine(valuePos, valueText);
        if (valuePos - pos > std::numeric_limits<std::uint16_t>::max())
            throw Error(line, "グループコード (整数)");
        Tag t;
        t.begin = std::uint32_t(pos);
        t.valueOffset = std::uint16_t(valuePos - pos);
        t.valueLength = std::uint32_t(valueText.size());
        t.code = std::int16_t(code);
        doc.m_tags.push_back(t);
        pos = next;
        doc.m_tagsEnd = next;
        if (code == 0 && trim(valueText) == "EOF") {
            break;  // what follows is kept as it is
        }
    }
    if (!doc.m_tags.empty()) {
        const std::string_view first = std::string_view(b).substr(0, doc.m_tags[0].valueOffset);
        doc.m_padded = !first.empty() && first.front() == ' ';
    }

    // Sections: "0 SECTION", "2 name", ..., "0 ENDSEC", then "0 EOF".
    const std::size_t count = doc.m_tags.size();
    auto skipComments = [&](std::size_t i) {
        while (i < count && doc.code(i) == 999)
            ++i;
        return i;
    };
    const std::string truncated = " (ファイルが途中で終わっています)";
    std::size_t i = 0;
    for (;;) {
        i = skipComments(i);
        if (i >= count)
            throw Error(lineOf(count), "\"0 SECTION\" または \"0 EOF\"" + truncated);
        if (doc.code(i) != 0 || (doc.trimmed(i) != "SECTION" && doc.trimmed(i) != "EOF"))
            throw Error(lineOf(i), "\"0 SECTION\" または \"0 EOF\"");
        if (doc.trimmed(i) == "EOF")
            break;
        i = skipComments(i + 1);
        if (i >= count)
            throw Error(lineOf(count), "セクション名 (グループ 2)" + truncated);
        if (doc.code(i) != 2)
            throw Error(lineOf(i), "セクション名 (グループ 2)");
        for (++i; i < count; ++i) {
            if (doc.code(i) != 0)
                continue;
            const std::string_view v = doc.trimmed(i);
            if (v == "ENDSEC")
                break;
            if (v == "SECTION" || v == "EOF")
                throw Error(lineOf(i), "\"0 ENDSEC\"");
        }
        if (i >= count)
            throw Error(lineOf(count), "\"0 ENDSEC\"" + truncated);
        ++i;
    }
    return doc;
}

std::string_view Document::value(std::size_t i) const
{
    const Tag &t = m_tags[i];
    return std::string_view(m_bytes).substr(t.begin + t.valueOffset, t.valueLength);
}

std::string_view Document::trimmed(std::size_t i) const
{
    return trim(value(i));
}

std::string_view Document::raw(std::size_t i) const
{
    const Tag &t = m_tags[i];
    return std::string_view(m_bytes).substr(t.begin, end(i) - t.begin);
}

bool Document::is(std::size_t i, int code, std::string_view v) const
{
    return i < m_tags.size() && m_tags[i].code == code && trimmed(i) == v;
}

double Document::real(std::size_t i) const
{
    const std::string_view s = trimmed(i);
    double v = 0;
    const char *begin = s.data();
    if (!s.empty() && s.front() == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v))
        throw Error(lineOf(i) + 1, "グループ " + std::to_string(code(i)) + " の数値");
    return v;
}

long long Document::integer(std::size_t i) const
{
    const std::string_view s = trimmed(i);
    long long v = 0;
    const char *begin = s.data();
    if (!s.empty() && s.front() == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || ptr != s.data() + s.size())
        throw Error(lineOf(i) + 1, "グループ " + std::to_string(code(i)) + " の整数");
    return v;
}

std::string Document::format(int code, std::string_view value, std::size_t near) const
{
    std::string eol = "\r\n";
    if (near < m_tags.size()) {
        const std::string_view r = raw(near);
        if (!r.empty() && r.back() == '\n')
            eol = r.size() >= 2 && r[r.size() - 2] == '\r' ? "\r\n" : "\n";
        else  // the last line of the file: take its code line's end
            eol = m_tags[near].valueOffset >= 2 && r[m_tags[near].valueOffset - 2] == '\r' ? "\r\n" : "\n";
    }
    std::string c = std::to_string(code);
    if (m_padded && c.size() < 3)
        c.insert(0, 3 - c.size(), ' ');
    std::string out;
    out.reserve(c.size() + value.size() + 2 * eol.size());
    out += c;
    out += eol;
    out += value;
    out += eol;
    return out;
}

std::string Document::render(const std::vector<Patch> &patches) const
{
    auto offset = [&](std::size_t t) {
        if (t < m_tags.size())
            return std::size_t(m_tags[t].begin);
        return m_tagsEnd;
    };
    std::size_t extra = 0;
    for (const Patch &p : patches)
        extra += p.bytes.size();
    std::string out;
    out.reserve(m_bytes.size() + extra);
    std::size_t t = 0;
    for (const Patch &p : patches) {
        out.append(m_bytes, offset(t), offset(p.first) - offset(t));
        out += p.bytes;
        t = p.last;
    }
    out.append(m_bytes, offset(t), std::string::npos);
    return out;
}

}  // namespace dxf
