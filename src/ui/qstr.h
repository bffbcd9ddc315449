#pragma once

#include <QString>

#include <string>
#include <string_view>

// The one place that converts between the core's UTF-16 strings and QString.
inline QString toQ(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

inline std::u16string fromQ(const QString &s)
{
    return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size()));
}
