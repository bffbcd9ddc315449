#pragma once

#include "base/usererror.h"

#include <string>

namespace tools {

// Failure of a text tool whose message the user sees as is, e.g. the
// integer conversion error "'A' は整数ではありません".
class ToolError : public base::UserError {
public:
    using base::UserError::UserError;
};

// The integer conversion error for the offending text.
inline ToolError notAnIntegerError(std::u16string_view offending)
{
    std::u16string text = u"'";
    text += offending;
    text += u"' は整数ではありません";
    return ToolError(std::move(text));
}

}  // namespace tools
