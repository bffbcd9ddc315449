#include "app/builtincad.h"

#if !defined(_WIN32) && defined(TALVO_HAVE_CADHOST)
#include "cadhost/drawing.h"
#include "cadhost/host.h"
#include "cadhost/sampledrawing.h"
#endif
#if !defined(_WIN32) && defined(TALVO_HAVE_CADHOST_GUI)
#include "cadhost/gui/drawingwindow.h"
#include "cadhost/gui/drawingview.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QStringList>
#endif

#include <QWidget>

#include <algorithm>

#if !defined(_WIN32) && defined(TALVO_HAVE_CADHOST_GUI)
namespace {
// The host and its window; the window goes first, it observes the host.
struct BuiltInCad {
    cadhost::Host host;
    std::unique_ptr<cadhost::DrawingWindow> window;
};

// Closing the main window ends the program and with it the drawing host:
// unsaved changes of an opened drawing are asked about first.
class QuitGuard : public QObject {
public:
    QuitGuard(QObject *parent, cadhost::DrawingWindow *window) : QObject(parent), m_window(window) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && m_window && m_window->isVisible() && !m_window->confirmQuit()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<cadhost::DrawingWindow> m_window;
};
}  // namespace
#endif

std::shared_ptr<void> startBuiltInCad(QWidget *mainWindow)
{
    (void)mainWindow;
#if !defined(_WIN32) && defined(TALVO_HAVE_CADHOST_GUI)
    auto cad = std::make_shared<BuiltInCad>();  // the host installs itself as the running objects
    cadhost::buildSampleDrawing(cad->host.drawing());
    cad->window = std::make_unique<cadhost::DrawingWindow>(cad->host);
    // Its own top-level window, as a CAD is: minimising the main window for
    // a pick must not take it along, and closing the main window ends the
    // program even while the drawing stays open.
    cad->window->setAttribute(Qt::WA_QuitOnClose, false);
    if (mainWindow && mainWindow->screen()) {
        // Beside the main window, on whichever side has more room.
        const QRect frame = mainWindow->frameGeometry();
        const QRect avail = mainWindow->screen()->availableGeometry();
        const int gap = 8;
        const int roomRight = avail.right() - frame.right() - gap;
        const int roomLeft = frame.left() - avail.left() - gap;
        const int w = std::clamp(std::max(roomRight, roomLeft), 480, 1000);
        const int h = std::min(720, avail.height() - 40);
        const int x = roomRight >= roomLeft ? frame.right() + gap : frame.left() - gap - w;
        const int y = std::clamp(frame.top(), avail.top(), std::max(avail.top(), avail.bottom() - h));
        cad->window->setGeometry(x, y, w, h);
    }
    cad->window->show();
    cad->window->view()->zoomExtents();
    // A DXF file named on the command line replaces the sample drawing.
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i].endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive)) {
            cad->window->openFile(args[i]);
            break;
        }
    }
    if (mainWindow) {
        mainWindow->installEventFilter(new QuitGuard(cad->window.get(), cad->window.get()));
        mainWindow->raise();
    }
    return cad;
#elif !defined(_WIN32) && defined(TALVO_HAVE_CADHOST)
    auto host = std::make_shared<cadhost::Host>();  // installs itself as the running objects
    cadhost::buildSampleDrawing(host->drawing());
    return host;
#else
    return {};
#endif
}
