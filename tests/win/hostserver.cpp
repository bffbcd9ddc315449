#include "hostserver.h"

#include <windows.h>

namespace wintest {

namespace {

// The host's application, plus the control members and Quit.
class ControlledApplication final : public cad::Dispatch {
public:
    ControlledApplication(cad::Object app, HostControl &control) : m_app(std::move(app)), m_control(control) {}

    cad::Variant invoke(std::u16string_view member, cad::InvokeKind kind, std::span<cad::Argument> args) override
    {
        cad::Variant result;
        if (m_control.control(member, args, result))
            return result;
        if (cad::sameMember(member, u"TalvoQuit")) {
            PostQuitMessage(0);
            return {};
        }
        return m_app.dispatch()->invoke(member, kind, args);
    }

private:
    cad::Object m_app;
    HostControl &m_control;
};

}  // namespace

HostServer::HostServer() = default;

std::shared_ptr<cad::Dispatch> HostServer::application()
{
    return std::make_shared<ControlledApplication>(m_host.application(), m_control);
}

}  // namespace wintest
