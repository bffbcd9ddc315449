#include "cadhost/gui/drawingwindow.h"

#include "cadhost/drawing.h"
#include "cadhost/gui/drawingview.h"
#include "cadhost/host.h"

#include "ui/guard.h"
#include "ui/qstr.h"
#include "cad/qt/qtwindowapi.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeySequence>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>

namespace cadhost {

namespace {
const QString kSelectPrompt = QStringLiteral("オブジェクトを選択: ");
}

DrawingWindow::DrawingWindow(Host &host, QWidget *parent) : QMainWindow(parent), m_host(host)
{
    setObjectName(QStringLiteral("DrawingWindow"));
    setWindowTitle(QStringLiteral("Drawing1.dwg - TalvoEditZ 作図ホスト"));
    m_view = new DrawingView(host.drawing(), this);
    m_view->setObjectName(QStringLiteral("drawingView"));
    setCentralWidget(m_view);

    QToolBar *tools = addToolBar(QStringLiteral("作図"));
    tools->setObjectName(QStringLiteral("drawingToolBar"));
    tools->setMovable(false);
    m_undoAction = tools->addAction(QStringLiteral("元に戻す"));
    guardedConnect(m_undoAction, &QAction::triggered, this, &DrawingWindow::undo);
    m_undoAction->setObjectName(QStringLiteral("undoAction"));
    m_undoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_redoAction = tools->addAction(QStringLiteral("やり直し"));
    guardedConnect(m_redoAction, &QAction::triggered, this, &DrawingWindow::redo);
    m_redoAction->setObjectName(QStringLiteral("redoAction"));
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    tools->addSeparator();
    m_zoomExtentsAction = tools->addAction(QStringLiteral("全体表示"));
    guardedConnect(m_zoomExtentsAction, &QAction::triggered, m_view, &DrawingView::zoomExtents);
    m_zoomExtentsAction->setObjectName(QStringLiteral("zoomExtentsAction"));

    m_promptLabel = new QLabel(this);
    m_promptLabel->setObjectName(QStringLiteral("promptLabel"));
    m_coordinateLabel = new QLabel(this);
    m_coordinateLabel->setObjectName(QStringLiteral("coordinateLabel"));
    m_coordinateLabel->setMinimumWidth(160);
    statusBar()->addWidget(m_promptLabel, 1);
    statusBar()->addPermanentWidget(m_coordinateLabel);

    guardedConnect(m_view, &DrawingView::cursorMoved, this, [this](QPointF p) {
        m_coordinateLabel->setText(QStringLiteral("%1, %2").arg(p.x(), 0, 'f', 2).arg(p.y(), 0, 'f', 2));
    });
    guardedConnect(m_view, &DrawingView::selectionChanged, this, [this](int count) {
        setPrompt(count > 0 ? m_basePrompt + QStringLiteral("%1 個を選択").arg(count) : m_basePrompt);
    });

    m_observer = host.drawing().addObserver([this](DrawingEvent event) {
        if (event == DrawingEvent::SelectionSets)
            return;
        // Any redraw wipes what was drawn straight onto the window.
        m_view->clearMarker();
        m_view->update();
        // EndUndoMark closes a step without an event of its own: look at
        // the history once the caller's change is complete.
        if (!m_actionsPending) {
            m_actionsPending = true;
            QMetaObject::invokeMethod(this, [this] {
                m_actionsPending = false;
                updateActions();
            }, Qt::QueuedConnection);
        }
    });
    resize(900, 640);

    // The native id is the CAD's HWND of the application and its document.
    const cad::WindowHandle handle = cad::QtWindowApi::handleOf(this);
    host.setApplicationWindow(handle);
    host.drawing().setWindowHandle(handle);
    host.setPicker(this);
    updateActions();
}

DrawingWindow::~DrawingWindow()
{
    if (m_loop)
        m_loop->exit(0);
    m_host.drawing().removeObserver(m_observer);
    if (&m_host.picker() == this)
        m_host.setPicker(nullptr);
    m_host.setApplicationWindow(0);
    m_host.drawing().setWindowHandle(0);
}

QString DrawingWindow::prompt() const
{
    return m_promptLabel->text();
}

void DrawingWindow::setPrompt(const QString &text)
{
    m_promptLabel->setText(text);
}

void DrawingWindow::updateActions()
{
    m_undoAction->setEnabled(m_host.drawing().canUndo());
    m_redoAction->setEnabled(m_host.drawing().canRedo());
}

void DrawingWindow::undo()
{
    m_host.drawing().undo();
    updateActions();
}

void DrawingWindow::redo()
{
    m_host.drawing().redo();
    updateActions();
}

void DrawingWindow::bringToFront()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    // Without a window manager (offscreen) activation is not reported back.
    if (QApplication::activeWindow() != this)
        QApplication::setActiveWindow(this);
}

bool DrawingWindow::runPick()
{
    std::optional<bool> result;
    QEventLoop loop;
    m_loop = &loop;
    const auto connection = connect(m_view, &DrawingView::pickEnded, &loop, [&](bool accepted) {
        result = accepted;
        loop.exit();
    });
    emit pickStarted();
    // Other windows keep painting and working while the user picks.
    if (!result)
        loop.exec();
    disconnect(connection);
    m_loop = nullptr;
    m_view->cancelPick();  // the loop may have ended another way (quit)
    setPrompt({});
    return result.value_or(false);
}

std::optional<std::vector<EntityId>> DrawingWindow::selectOnScreen(const SelectionFilter &filter)
{
    if (m_loop || !m_host.isRunning())
        return std::nullopt;  // one pick at a time
    bringToFront();
    m_basePrompt = kSelectPrompt;
    setPrompt(m_basePrompt);
    m_view->beginSelect(filter);
    const bool accepted = runPick();
    std::vector<EntityId> picked = m_view->picked();
    m_view->beginSelect(SelectionFilter());  // drop the highlight
    m_view->cancelPick();
    if (!accepted)
        return std::nullopt;
    return picked;
}

std::optional<SubEntityPick> DrawingWindow::getSubEntity(const std::u16string &prompt)
{
    if (m_loop || !m_host.isRunning())
        return std::nullopt;
    bringToFront();
    m_basePrompt = prompt.empty() ? kSelectPrompt : toQ(prompt);
    setPrompt(m_basePrompt);
    m_view->beginSubEntity();
    if (!runPick())
        return std::nullopt;
    return m_view->subEntityPick();
}

void DrawingWindow::drawMarker(int penWidth, bool xorMode, std::uint32_t rgb, std::span<const cad::PixelPoint> points)
{
    m_view->setMarker({penWidth, xorMode, rgb, {points.begin(), points.end()}});
}

void DrawingWindow::closeEvent(QCloseEvent *event)
{
    // Closing the CAD: a running pick is cancelled and the host stops.
    m_view->cancelPick();
    m_host.stop();
    event->accept();
}

} // namespace cadhost
