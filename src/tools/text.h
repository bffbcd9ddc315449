#pragma once

#include <string>
#include <string_view>

// Small text helpers shared by the tools and their callers.
namespace tools {

// Simple one-to-one upper-case mapping of one UTF-16 unit, as a
// case-insensitive comparison uses it: ASCII, full-width Latin, Latin-1,
// Latin Extended-A, Greek, Cyrillic, Roman numerals and circled letters.
// Units outside those ranges map to themselves.
char16_t FoldCase(char16_t unit);

} // namespace tools
