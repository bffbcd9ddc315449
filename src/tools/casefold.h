#pragma once

#include <string>
#include <string_view>

namespace tools {

// Unicode simple case folding of a whole text, code point by code point,
// so that two texts differing only in the case of letters fold alike
// (ICU's u_foldCase; on Windows the system's own lower-case mapping).
// The result has the length of the input: offsets found in it are
// offsets in the input, and a mapping that would change a code point's
// length in UTF-16 is not applied.
std::u16string foldCase(std::u16string_view text);

}  // namespace tools
