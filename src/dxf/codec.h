#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace dxf {

// Turns the bytes of DXF string values into UTF-16 and back. Files of
// AutoCAD 2007 (AC1021) and later are UTF-8 and keep "\U+XXXX" as written;
// older files use the code page of $DWGCODEPAGE, with "\U+XXXX" escapes
// for characters the code page lacks.
class Codec {
public:
    // `codePage`: the $DWGCODEPAGE value ("ANSI_932", "ANSI_1252", ...);
    // ignored when `unicode`. Unknown code pages fall back to ANSI_1252.
    Codec(bool unicode, std::string_view codePage);
    ~Codec();
    Codec(Codec &&) noexcept;
    Codec &operator=(Codec &&) noexcept;

    std::u16string decode(std::string_view bytes) const;
    std::string encode(std::u16string_view text) const;

    bool unicode() const { return m_unicode; }
    int codePage() const { return m_codePage; }  // Windows code page number; 65001 for UTF-8

private:
    struct Converter;
    bool m_unicode = true;
    int m_codePage = 65001;
    std::unique_ptr<Converter> m_converter;
};

// The Windows code page number of a $DWGCODEPAGE value, 0 when unknown.
int codePageNumber(std::string_view dwgCodePage);

// UTF-8 <-> UTF-16; invalid UTF-8 bytes become U+FFFD, lone surrogates are
// written as their three-byte forms so nothing is dropped.
std::u16string fromUtf8(std::string_view bytes);
std::string toUtf8(std::u16string_view text);

// Replaces "\U+XXXX" (either hex case) by its code unit; pairs of escaped
// surrogates join into one character.
std::u16string decodeEscapes(std::u16string_view text);

}  // namespace dxf
