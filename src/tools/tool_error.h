#pragma once

#include <stdexcept>
#include <string>

namespace tools {

// Failure of a text tool whose message the user sees as is, e.g. the
// integer conversion error "'A' は整数ではありません". Callers show text()
// in an error box; what() is a fixed ASCII tag for logs and test output.
class ToolError : public std::runtime_error {
public:
    explicit ToolError(std::u16string text)
        : std::runtime_error("tools::ToolError"), m_text(std::move(text)) {}

    const std::u16string& text() const noexcept { return m_text; }

private:
    std::u16string m_text;
};

// The integer conversion error for the offending text.
inline ToolError NotAnIntegerError(std::u16string_view offending)
{
    std::u16string text = u"'";
    text += offending;
    text += u"' は整数ではありません";
    return ToolError(std::move(text));
}

} // namespace tools
