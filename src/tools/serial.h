#pragma once

#include "tools/number.h"

#include <cstdint>
#include <string>
#include <string_view>

// Serial numbers: prefix + number + suffix, counting from a start value by
// a step, or a fixed text repeated when there is no start number.
namespace tools {

// The dialog's five fields as typed, and its radix.
struct SerialFields {
    std::u16string prefix;
    std::u16string start = u"00";  // in the radix; its length is the width
    std::u16string suffix;
    std::u16string step = u"1";    // decimal
    std::u16string count = u"16";  // decimal
    Radix radix = Radix::Decimal;
};

// The most strings one run may produce; a mistyped count beyond it would
// freeze the program for minutes and flood the editor.
inline constexpr std::int32_t kMaxSerialCount = 100000;

// Generation and preview read some fields with different defaults.
enum class SerialUse { Generation, Preview };

struct SerialRun {
    std::u16string prefix;
    std::u16string suffix;
    bool fixedText = false;  // no start number: prefix + suffix, count times
    int width = 0;
    std::int32_t start = 0;
    std::int32_t step = 1;
    std::int32_t count = 0;  // items k = 0 .. count - 1; none when <= 0
    Radix radix = Radix::Decimal;
};

// Reads the fields; text that is not a number falls back to the default
// of `use`. Throws ToolError "'x' は整数ではありません" (the dialog stays open)
// for an octal start with a unit other than 0-9, and, when generating,
// for a count that is not a whole number while there is no start number,
// and, when generating, for a count above kMaxSerialCount.
SerialRun readSerialFields(const SerialFields &fields, SerialUse use);

// The number of item k: start + k * step in the run's radix, zero-padded
// to the width (hexadecimal below zero as 32-bit two's complement, decimal
// and octal below zero as "-" and the padded magnitude).
std::u16string serialNumberText(const SerialRun &run, std::int32_t k);

// String k of the run, upper-cased in ASCII only.
std::u16string serialString(const SerialRun &run, std::int32_t k);

// The preview line: "[ FIRST ] ～ [ LAST ]", or "[ FIXED ] x n" without a
// start number. Throws ToolError like readSerialFields. While the start
// is not empty the caller shows radixCaption(fields.radix) beside it.
std::u16string serialPreview(const SerialFields &fields);

}  // namespace tools
