#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace base {

// The one base of the program's own errors: its text is what the user
// reads in the error box. what() carries the same text as UTF-8 for test
// output and the last-resort report.
class UserError : public std::runtime_error {
public:
    explicit UserError(std::u16string text);

    const std::u16string &text() const noexcept { return m_text; }

private:
    std::u16string m_text;
};

std::string toUtf8(std::u16string_view s);
std::u16string fromUtf8(std::string_view s);
// The UTF-8 bytes of one code point (a surrogate is written as it is).
void appendUtf8(std::string &out, char32_t c);

}  // namespace base
