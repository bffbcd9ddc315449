#pragma once

#include "base/usererror.h"

#include <functional>
#include <string>

// The user's text of the error `f` raises, or "(no error)".
inline std::u16string errorText(const std::function<void()> &f)
{
    try {
        f();
    } catch (const base::UserError &e) {
        return e.text();
    }
    return u"(no error)";
}
