#pragma once

// Internal to the host: the state the automation objects share with Host.

#include "cadhost/drawing.h"
#include "cadhost/faults.h"
#include "cadhost/picker.h"
#include "cadhost/scriptedpicker.h"

#include "cad/windowapi.h"

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace cadhost {

struct HostCore {
    Drawing drawing;
    ScriptedPicker scripted{drawing};
    Picker *picker = nullptr;  // not owned; nullptr: `scripted`
    Faults faults;
    std::map<std::u16string, int> counts;  // upper-case member → calls
    int total = 0;
    bool running = true;
    // Bumped on every stop: objects of an earlier run stay dead.
    std::uint64_t generation = 1;
    cad::WindowHandle appWindow = 0;

    Picker &activePicker() { return picker ? *picker : scripted; }
    void stop();
    // Every call passes here first: busy rejections, the count, injected
    // faults. Returns true when the host must stop after this call.
    bool enter(std::u16string_view member);
};

}  // namespace cadhost
