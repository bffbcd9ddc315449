#include "cadhost/host.h"

#include "cadhost/errors.h"
#include "cadhost/hostcore.h"
#include "cadhost/objects.h"

#include "cad/messagefilter.h"
#include "base/strings.h"

namespace cadhost {

// --- HostCore ------------------------------------------------------------------

void HostCore::stop()
{
    if (!running)
        return;
    running = false;
    ++generation;
    // A group the caller could not end must not swallow later changes.
    drawing.closeOpenChanges();
}

bool HostCore::enter(std::u16string_view member)
{
    // A busy CAD rejects the call; COM asks the message filter whether and
    // when to retry (SERVERCALL_RETRYLATER), the tick count being the time
    // spent waiting so far.
    std::uint32_t waited = 0;
    while (faults.takeBusy()) {
        cad::TMessageFilter *filter = cad::currentMessageFilter();
        std::int32_t ms = filter ? filter->RetryRejectedCall(waited, cad::TMessageFilter::SERVERCALL_RETRYLATER) : -1;
        if (ms < 0)
            throw cad::Error(kCallRejected);
        cad::windowApi().sleep(ms);
        waited += std::uint32_t(ms);
    }
    ++counts[base::upperAscii(member)];
    ++total;
    Faults::Verdict v = faults.check(member);
    if (v.fail) {
        if (v.stopAfter)
            stop();
        throw cad::Error(kInjectedFault);
    }
    return v.stopAfter;
}

// --- Host ----------------------------------------------------------------------------

Host::Host() : m_core(std::make_shared<HostCore>())
{
    install();
}

Host::~Host()
{
    uninstall();
}

void Host::start()
{
    m_core->running = true;
}

void Host::stop()
{
    m_core->stop();
}

bool Host::isRunning() const
{
    return m_core->running;
}

void Host::install()
{
    cad::setRunningObjects(this);
}

void Host::uninstall()
{
    if (&cad::runningObjects() == this)
        cad::setRunningObjects(nullptr);
}

Drawing &Host::drawing()
{
    return m_core->drawing;
}

const Drawing &Host::drawing() const
{
    return m_core->drawing;
}

cad::Object Host::application()
{
    if (!m_core->running)
        return {};
    return makeApplication(m_core);
}

cad::WindowHandle Host::applicationWindow() const
{
    return m_core->appWindow;
}

void Host::setApplicationWindow(cad::WindowHandle w)
{
    m_core->appWindow = w;
}

void Host::setPicker(Picker *picker)
{
    m_core->picker = picker;
}

Picker &Host::picker()
{
    return m_core->activePicker();
}

ScriptedPicker &Host::scriptedPicker()
{
    return m_core->scripted;
}

Faults &Host::faults()
{
    return m_core->faults;
}

int Host::callCount(std::u16string_view member) const
{
    auto it = m_core->counts.find(base::upperAscii(member));
    return it == m_core->counts.end() ? 0 : it->second;
}

int Host::totalCalls() const
{
    return m_core->total;
}

void Host::resetCallCounts()
{
    m_core->counts.clear();
    m_core->total = 0;
}

std::u16string Host::classIdFromProgId(std::u16string_view progId)
{
    // ProgIDs are registry keys: their letter case does not matter.
    if (cad::sameMember(progId, kProgId))
        return kClassId;
    throw cad::Error(cad::kInvalidClassString);
}

cad::Object Host::activeObject(std::u16string_view classId)
{
    if (!cad::sameMember(classId, kClassId))
        return {};
    return application();
}

}  // namespace cadhost
