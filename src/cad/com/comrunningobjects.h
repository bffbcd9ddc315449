#pragma once

#include "cad/automation.h"

namespace cad::com {

// The system's registry and running object table: CLSIDFromProgID, then
// GetActiveObject and QueryInterface for IDispatch. Class ids travel as
// their "{...}" strings.
class ComRunningObjects final : public RunningObjects {
public:
    std::u16string classIdFromProgId(std::u16string_view progId) override;
    Object activeObject(std::u16string_view classId) override;
};

}  // namespace cad::com
