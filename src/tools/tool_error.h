#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tools {

// UTF-8 of a UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// Failure of a text tool whose message the user sees as is, e.g. the
// integer conversion error "'A' は整数ではありません". what() is the same
// message in UTF-8, so the default error report shows it unchanged.
class ToolError : public std::runtime_error {
public:
    explicit ToolError(std::u16string text)
        : std::runtime_error(ToUtf8(text)), m_text(std::move(text)) {}

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
