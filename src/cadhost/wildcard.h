#pragma once

#include <string_view>

namespace cadhost {

// Matches `text` against a CAD selection-filter wildcard pattern, the way
// the CAD matches string filter data (wcmatch). Letters compare without
// regard to case (ASCII and full-width Latin letters).
//
// Supported:
//   *        any sequence of characters, also none
//   ?        exactly one character
//   #        one digit 0-9
//   @        one alphabetic character (Unicode letters count, not digits)
//   .        one character that is neither a letter nor a digit
//   [abc]    one of the characters listed; ranges as in [a-z]
//   [~abc]   one character not listed
//   ~        at the very start of a pattern (or alternative): negation,
//            the alternative matches what the rest does not match
//   `        escape: the next character is taken literally (`*, `#, `,)
//   ,        separates alternatives; the text matches when any does
// A '[' without a closing ']' is taken literally. An empty pattern matches
// only the empty string.
bool wildcardMatch(std::u16string_view pattern, std::u16string_view text);

}  // namespace cadhost
