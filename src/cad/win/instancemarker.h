#pragma once

#include "cad/windowapi.h"

namespace cad::win {

// The single-instance rule: a running instance owns a top-level window of
// class "TTalvoMainForm". The toolkit registers its own class names, so
// the program keeps this hidden window of that class for its lifetime.
class InstanceMarker {
public:
    static constexpr const wchar_t *kClassName = L"TTalvoMainForm";

    // True when any top-level window of that class exists (FindWindowW,
    // any title).
    static bool anotherInstanceRunning();

    InstanceMarker();
    ~InstanceMarker();
    InstanceMarker(const InstanceMarker &) = delete;
    InstanceMarker &operator=(const InstanceMarker &) = delete;

    WindowHandle handle() const { return m_window; }

private:
    WindowHandle m_window = 0;
};

}  // namespace cad::win
