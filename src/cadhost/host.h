#pragma once

#include "cadhost/drawing.h"
#include "cadhost/faults.h"
#include "cadhost/picker.h"
#include "cadhost/scriptedpicker.h"

#include "cad/automation.h"
#include "cad/windowapi.h"

#include <memory>
#include <string>
#include <string_view>

namespace cadhost {

struct HostCore;

// The built-in drawing host: a stand-in CAD with one drawing, reachable
// through the late-bound object API under the ProgID
// "BricscadApp.AcadApplication" (any letter case) where there is no COM.
//
// A Host is created running and installs itself as the process's
// cad::RunningObjects; its destructor uninstalls it. While stopped the
// ProgID stays registered but no object runs (IsCadRunning is false), and
// every object handed out before raises kServerUnavailable, also after a
// new start, as references to a closed CAD do.
class Host final : public cad::RunningObjects {
public:
    static constexpr const char16_t *kProgId = u"BricscadApp.AcadApplication";
    static constexpr const char16_t *kClassId = u"{6A2C9D7E-4B31-4F0A-8E52-1D7C3B9A0F64}";

    Host();
    ~Host() override;
    Host(const Host &) = delete;
    Host &operator=(const Host &) = delete;

    void start();
    void stop();
    bool isRunning() const;
    // Makes this host the process's running objects (done by the constructor).
    void install();
    void uninstall();  // only when this host is installed

    Drawing &drawing();
    const Drawing &drawing() const;
    // The running application object; a null object while stopped.
    cad::Object application();

    // The application's HWND (0 until the drawing window sets it). The
    // document's HWND is drawing().view().window.
    cad::WindowHandle applicationWindow() const;
    void setApplicationWindow(cad::WindowHandle w);

    // Where picks come from; not owned, nullptr restores the scripted picker.
    void setPicker(Picker *picker);
    Picker &picker();
    ScriptedPicker &scriptedPicker();

    // --- Test API: faults and call counts -------------------------------------------
    Faults &faults();
    // Calls that reached the host, by member name (any letter case).
    int callCount(std::u16string_view member) const;
    int totalCalls() const;
    void resetCallCounts();

    // --- cad::RunningObjects -----------------------------------------------------------
    // Raises cad::Error(cad::kInvalidClassString) for any other ProgID.
    std::u16string classIdFromProgId(std::u16string_view progId) override;
    cad::Object activeObject(std::u16string_view classId) override;

private:
    std::shared_ptr<HostCore> m_core;
};

}  // namespace cadhost
