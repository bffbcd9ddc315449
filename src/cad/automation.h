#pragma once

#include "cad/object.h"

#include <string>
#include <string_view>

namespace cad {

// The system's class registry and running object table: ProgID → class id,
// class id → the running object. COM on Windows; the built-in drawing
// host registers its own where there is no COM.
class RunningObjects {
public:
    virtual ~RunningObjects() = default;
    // Raises Error (the system's text) when the ProgID is not registered.
    virtual std::u16string classIdFromProgId(std::u16string_view progId) = 0;
    // The running object of that class, or a null Object when none runs.
    // Never raises.
    virtual Object activeObject(std::u16string_view classId) = 0;
};

// Process-wide lookup; the default knows no ProgID at all. Not owned.
RunningObjects &runningObjects();
void setRunningObjects(RunningObjects *objects);

// The text a failed ProgID lookup raises with (CO_E_CLASSSTRING).
inline constexpr const char16_t *kInvalidClassString = u"無効なクラス文字列です";
// The text of a failed GetActiveObject (MK_E_UNAVAILABLE).
inline constexpr const char16_t *kOperationUnavailable = u"操作は利用できません";

}  // namespace cad
