#include "cad/qt/qtwindowapi.h"

#include "cad/qt/markersurface.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QThread>
#include <QWidget>

namespace cad {

QWidget *QtWindowApi::widgetFor(WindowHandle w)
{
    if (w == 0)
        return nullptr;
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *tw : widgets) {
        if (tw->internalWinId() != 0 && WindowHandle(tw->internalWinId()) == w)
            return tw;
    }
    return nullptr;
}

WindowHandle QtWindowApi::handleOf(QWidget *w)
{
    return w ? WindowHandle(w->window()->winId()) : 0;
}

bool QtWindowApi::isMinimised(WindowHandle w)
{
    QWidget *tw = widgetFor(w);
    return tw && tw->isMinimized();
}

void QtWindowApi::restore(WindowHandle w)
{
    if (QWidget *tw = widgetFor(w))
        tw->setWindowState((tw->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
}

void QtWindowApi::minimise(WindowHandle w)
{
    if (QWidget *tw = widgetFor(w))
        tw->setWindowState(tw->windowState() | Qt::WindowMinimized);
}

void QtWindowApi::showNormal(WindowHandle w)
{
    if (QWidget *tw = widgetFor(w)) {
        tw->setWindowState(tw->windowState() & ~Qt::WindowMinimized);
        tw->show();
    }
}

void QtWindowApi::setForeground(WindowHandle w)
{
    if (QWidget *tw = widgetFor(w)) {
        tw->show();
        tw->raise();
        tw->activateWindow();
        // Platforms without a window manager (offscreen) do not report the
        // activation back; make it so, as SetForegroundWindow would.
        if (QApplication::activeWindow() != tw)
            QApplication::setActiveWindow(tw);
    }
}

WindowHandle QtWindowApi::foreground()
{
    QWidget *a = QApplication::activeWindow();
    return a ? WindowHandle(a->winId()) : 0;
}

std::uint64_t QtWindowApi::windowThread(WindowHandle)
{
    // All our windows live on the GUI thread.
    return 1;
}

void QtWindowApi::attachThreadInput(std::uint64_t, std::uint64_t, bool)
{}

void QtWindowApi::bringToTop(WindowHandle w)
{
    if (QWidget *tw = widgetFor(w))
        tw->raise();
}

void QtWindowApi::pressEscape()
{
    QWidget *target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (!target)
        return;
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &down);
    QCoreApplication::sendEvent(target, &up);
}

void QtWindowApi::sleep(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void QtWindowApi::drawPolyline(WindowHandle w, int penWidth, bool xorMode, std::uint32_t rgb,
                               std::span<const PixelPoint> points)
{
    if (auto *surface = dynamic_cast<MarkerSurface *>(widgetFor(w)))
        surface->drawMarker(penWidth, xorMode, rgb, points);
}

}  // namespace cad
