#pragma once

#include "tools/number.h"
#include "tools/pacer.h"
#include "tools/replace.h"
#include "tools/serial.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The editor's text commands over a working list of lines: each converts
// the lines in order, lets messages run (paced) and stops once the abort
// flag has been cleared. The caller puts the list back into the editor in
// one update.
namespace tools {

using Lines = std::vector<std::u16string>;

enum class Conversion {
    AllToZen,
    AllToHan,
    Parentheses,  // half-width ( ) to full-width （ ）, nothing else
    HanKanaToZen,
    ZenKanaToHan,
    HanDigitToZen,
    ZenDigitToHan,
    HanNumToZen,
    ZenNumToHan,
    HanAlphaToZen,
    ZenAlphaToHan,
    HanSymbolToZen,
    ZenSymbolToHan,
};

// Converts one line in place.
void convert(Conversion conversion, std::u16string &line);

// Every "(" becomes "（" and every ")" becomes "）".
void parenthesesToZen(std::u16string &line);

// Returns the number of lines visited (all of them unless aborted).
std::size_t convertLines(Lines &lines, Conversion conversion, MessagePacer &pacer, const bool &running);
std::size_t replaceLines(Lines &lines, const ReplaceOptions &options, MessagePacer &pacer, const bool &running);
// Blank lines and lines without a number stay as they are and are not
// polled (only changed lines let messages run).
std::size_t addToLines(Lines &lines, const AdditionOptions &options, MessagePacer &pacer, const bool &running);

// The strings of a run in order (the fixed text count times when there
// is no start number); none for a count of 0 or less.
Lines serialStrings(const SerialRun &run);

// A text cut into its lines and the line break after each: breaks[i]
// follows lines[i] and is "\r\n", "\r", "\n" or, for the last line only,
// empty. A text ending in a break has an empty last line with no break,
// which every conversion leaves empty: converting the lines and joining
// them again keeps every break of a selection, the final one included.
struct LineSplit {
    Lines lines;
    std::vector<std::u16string> breaks;
};
LineSplit splitLines(std::u16string_view text);
// The text again, each line followed by its own break.
std::u16string joinLines(const LineSplit &split);

}  // namespace tools
