// The conformance suite in process: the drawing host itself, reached
// through cad::runningObjects() by its own ProgID.
#include "cadtarget.h"
#include "hostcontrol.h"

namespace wintest {

namespace {

class HostTarget final : public CadTarget {
public:
    std::u16string progId() const override { return cadhost::Host::kProgId; }
    void reset() override { m_control.reset(); }
    void addLayer(const std::u16string &name, bool locked) override { m_control.addLayer(name, locked); }
    std::u16string addText(const std::u16string &text, const cad::Point &at, const std::u16string &layer) override
    {
        return m_control.addText(text, at, layer);
    }
    void queuePicks(const std::vector<std::u16string> &handles) override { m_control.queuePicks(handles); }
    void queueSubEntity(const std::u16string &handle) override { m_control.queueSubEntity(handle); }
    std::u16string textOf(const std::u16string &handle) override { return m_control.textOf(handle); }
    int undoSteps() override { return m_control.undoSteps(); }
    std::vector<std::u16string> selectionSetNames() override { return m_control.selectionSetNames(); }
    cad::Point viewCentre() override { return m_control.viewCentre(); }

private:
    cadhost::Host m_host;  // installs itself as the running objects
    HostControl m_control{m_host};
};

}  // namespace

std::unique_ptr<CadTarget> makeConformanceTarget()
{
    return std::make_unique<HostTarget>();
}

}  // namespace wintest
