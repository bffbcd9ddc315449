#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Number addition: find a number in a text and add a whole number to it.
// All arithmetic is 32-bit signed and wraps on overflow, as the callers'
// 32-bit fields do.
namespace tools {

enum class Radix { Decimal, Hexadecimal, Octal };

// The dialogs' large radix indicator: "10進", "16進", " 8進".
std::u16string_view radixCaption(Radix radix);

struct DigitSplit {
    std::u16string head;
    std::u16string number;  // empty when the text holds no digit
    std::u16string tail;
};

// Splits the trimmed text around its first (fromEnd false) or last
// (fromEnd true) run of ASCII digits; head + number + tail is the trimmed
// text.
DigitSplit SplitDigitRun(std::u16string_view text, bool fromEnd);

// True when every unit is one of 0-9 A-F a-f (0-7); true for empty text.
bool IsHexText(std::u16string_view text);
bool IsOctText(std::u16string_view text);

// base multiplied `exponent` times onto 1 (1 for exponent <= 0).
std::int32_t IntPower(std::int32_t base, std::int32_t exponent);

// Octal reading, each unit weighted by 8 to the power of the units after
// it; 8 and 9 count as 8 and 9. The empty text gives 0. Throws ToolError
// "'c' は整数ではありません" for the first unit that is not 0-9.
std::int32_t OctToInt(std::u16string_view text);

// Octal writing, digits zero-padded to at least `width`; a negative value
// is "-" followed by the padded digits of its magnitude.
std::u16string IntToOct(std::int32_t value, int width);

// Decimal writing, digits zero-padded to at least `width`; a negative
// value puts "-" before the padded digits ('-002').
std::u16string intToDecimal(std::int32_t value, int width);

// Upper-case hexadecimal writing, at least `width` digits; a negative
// value is written as the 8 digits of its 32-bit two's complement.
std::u16string intToHex(std::int32_t value, int width);

// Optional sign and ASCII digits, within 32-bit signed range; nothing else.
std::optional<std::int32_t> parseDecimal(std::u16string_view text);

// 1 or more hexadecimal digits of either case whose value fits in 32 bits;
// FFFFFFFF reads as -1.
std::optional<std::int32_t> parseHex(std::u16string_view text);

struct AdditionOptions {
    Radix radix = Radix::Decimal;
    bool fromEnd = true;  // decimal: take the last digit run
    int digitCount = 2;   // hexadecimal and octal: the last N units, 1..8
    std::int32_t addend = 0;
};

// Adds options.addend to the number in `text` by the rule of the radix.
// Returns nothing when there is nothing to change: an addend of 0, blank
// text, no digit run, a digit run beyond 32 bits, or a last-N candidate
// that is not hexadecimal (octal). The decimal rule works on the trimmed text, so
// surrounding blanks are gone from a changed text.
std::optional<std::u16string> addToNumber(std::u16string_view text, const AdditionOptions &options);

}  // namespace tools
