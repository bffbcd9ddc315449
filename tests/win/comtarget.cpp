// The conformance suite over COM: the drawing host in talvo_testcad,
// attached through the system's running object table.
#include "cadtarget.h"
#include "comserver.h"

#include "cad/com/comsession.h"
#include "cad/connection.h"

namespace wintest {

namespace {

constexpr const char16_t *kHostProgId = u"Talvo.TestCad.Host";
constexpr const char16_t *kHostClassId = u"{8E0B9A31-5C44-4F0E-A7B2-1D3C5E7F9A04}";

class ComTarget final : public CadTarget {
public:
    ComTarget() : m_server(kHostProgId, kHostClassId, L"host")
    {
        std::u16string saved = cad::TargetProgID;
        cad::TargetProgID = kHostProgId;
        if (m_server.running())
            m_control = cad::AttachCad();  // the test's own connection
        cad::TargetProgID = saved;
    }
    ~ComTarget() override
    {
        try {
            if (m_control)
                m_control.call(u"TalvoQuit");
        } catch (const cad::Error &) {}
    }
    std::u16string progId() const override { return kHostProgId; }
    void reset() override { call(u"TalvoReset", {}); }
    void addLayer(const std::u16string &name, bool locked) override { call(u"TalvoAddLayer", {name, locked}); }
    std::u16string addText(const std::u16string &text, const cad::Point &at, const std::u16string &layer) override
    {
        return call(u"TalvoAddText", {text, cad::fromPoint(at), layer}).toString();
    }
    void queuePicks(const std::vector<std::u16string> &handles) override
    {
        cad::VariantArray items(handles.begin(), handles.end());
        call(u"TalvoQueuePicks", {cad::Variant(std::move(items))});
    }
    void queueSubEntity(const std::u16string &handle) override { call(u"TalvoQueueSubEntity", {handle}); }
    std::u16string textOf(const std::u16string &handle) override { return call(u"TalvoTextOf", {handle}).toString(); }
    int undoSteps() override { return call(u"TalvoUndoSteps", {}).toInt(); }
    std::vector<std::u16string> selectionSetNames() override
    {
        std::vector<std::u16string> out;
        for (const auto &v : call(u"TalvoSelectionSetNames", {}).toArray())
            out.push_back(v.toString());
        return out;
    }
    cad::Point viewCentre() override { return cad::toPoint(call(u"TalvoViewCentre", {})); }

private:
    cad::Variant call(const char16_t *member, std::vector<cad::Variant> args)
    {
        if (!m_control)
            throw cad::Error(u"test server did not start");
        return m_control.call(member, std::move(args));
    }

    cad::com::ComSession m_com;
    ComServer m_server;
    cad::Object m_control;
};

}  // namespace

std::unique_ptr<CadTarget> makeConformanceTarget()
{
    return std::make_unique<ComTarget>();
}

}  // namespace wintest
