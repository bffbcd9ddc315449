#pragma once

#include "hostcontrol.h"

#include "cadhost/host.h"

#include <memory>

namespace wintest {

// The drawing host inside the test server: its application object with
// the HostControl members added, served over COM by talvo_testcad.
class HostServer {
public:
    HostServer();
    std::shared_ptr<cad::Dispatch> application();
    cadhost::Host &host() { return m_host; }

private:
    cadhost::Host m_host;
    HostControl m_control{m_host};
};

}  // namespace wintest
