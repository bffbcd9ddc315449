// Windows' own CP932 conversion as the program's list files use it where
// Qt has no ICU: a Windows-saved tag list round-trips byte for byte, and
// anything that would not is refused instead of changed.
#include "cad/win/cp932.h"

#include <gtest/gtest.h>

#include <string>

using cad::win::decodeCp932;
using cad::win::encodeCp932;

namespace {

TEST(Cp932, WindowsTextRoundTripsByteForByte)
{
    // 図番, ｻｲｽﾞ (half-width), ①② (NEC row 13), 髙 (IBM extension), a
    // backslash, a tilde, the control bytes ICU maps the IBM way, CR LF.
    const std::string bytes = "A1:\x90\x7d\x94\xd4 \xbb\xb2\xbd\xde \x87\x40\x87\x41 \xfb\xfc\x8d\xe8"
                              " C:\\CAD~ \x1a\x1c\x7f\r\n";
    const std::u16string text = u"A1:図番 ｻｲｽﾞ ①② 髙崎 C:\\CAD~ \x1a\x1c\x7f\r\n";
    auto decoded = decodeCp932(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, text);
    auto encoded = encodeCp932(text);
    ASSERT_TRUE(encoded);
    EXPECT_EQ(*encoded, bytes);
    EXPECT_EQ(decodeCp932(""), std::u16string());
    EXPECT_EQ(encodeCp932(u""), std::string());
}

TEST(Cp932, RefusesWhatItCannotKeep)
{
    EXPECT_FALSE(decodeCp932("A\x81"));        // a lead byte cut off at the end
    EXPECT_FALSE(encodeCp932(u"caf\u00e9"));   // é: best fit would write 'e'
    EXPECT_FALSE(encodeCp932(u"\U0001F600"));  // no CP932 form at all
    EXPECT_FALSE(encodeCp932(u"\u20ac"));      // €
}

}  // namespace
