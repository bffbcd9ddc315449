#include "app/builtincad.h"

#if !defined(_WIN32) && defined(TALVO_HAVE_CADHOST)
#include "cadhost/drawing.h"
#include "cadhost/host.h"
#include "cadhost/sampledrawing.h"
#endif

#include <QWidget>

std::shared_ptr<void> startBuiltInCad(QWidget *mainWindow)
{
    (void)mainWindow;
#if !defined(_WIN32) && defined(TALVO_HAVE_CADHOST)
    auto host = std::make_shared<cadhost::Host>();  // installs itself as the running objects
    cadhost::buildSampleDrawing(host->drawing());
    // BUILT-IN CAD WINDOW: once the drawing window exists, create it here
    // beside mainWindow (to its right), show it and pass its winId to
    // host->setApplicationWindow, keeping it alive with the host.
    return host;
#else
    return {};
#endif
}
