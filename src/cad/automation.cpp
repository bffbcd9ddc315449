#include "cad/automation.h"

namespace cad {

namespace {

class NoRunningObjects final : public RunningObjects {
public:
    std::u16string classIdFromProgId(std::u16string_view) override { throw Error(kInvalidClassString); }
    Object activeObject(std::u16string_view) override { return {}; }
};

NoRunningObjects g_none;
RunningObjects *g_current = &g_none;

}  // namespace

RunningObjects &runningObjects()
{
    return *g_current;
}

void setRunningObjects(RunningObjects *objects)
{
    g_current = objects ? objects : &g_none;
}

}  // namespace cad
