#include "cad/win/cp932.h"

#include <windows.h>

#include <climits>

namespace cad::win {

namespace {
constexpr UINT kCp932 = 932;
}

std::optional<std::u16string> decodeCp932(std::string_view bytes)
{
    if (bytes.empty())
        return std::u16string();
    if (bytes.size() > std::size_t(INT_MAX))
        return std::nullopt;
    const int in = int(bytes.size());
    int n = MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), in, nullptr, 0);
    if (n <= 0)
        return std::nullopt;
    std::u16string out(std::size_t(n), u'\0');
    if (MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, bytes.data(), in, reinterpret_cast<wchar_t *>(out.data()), n)
        != n)
        return std::nullopt;
    return out;
}

std::optional<std::string> encodeCp932(std::u16string_view text)
{
    if (text.empty())
        return std::string();
    if (text.size() > std::size_t(INT_MAX))
        return std::nullopt;
    const auto *w = reinterpret_cast<const wchar_t *>(text.data());
    const int in = int(text.size());
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, w, in, nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy)
        return std::nullopt;
    std::string out(std::size_t(n), '\0');
    if (WideCharToMultiByte(kCp932, WC_NO_BEST_FIT_CHARS, w, in, out.data(), n, nullptr, &lossy) != n || lossy)
        return std::nullopt;
    return out;
}

}  // namespace cad::win
