#include "cadhost/gui/drawingwindow.h"

#include "cadhost/drawing.h"
#include "cadhost/gui/drawingview.h"
#include "cadhost/host.h"

#include "dxf/drawingfile.h"
#include "ui/guard.h"
#include "ui/qstr.h"
#include "cad/qt/qtwindowapi.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <exception>
#include <filesystem>

namespace cadhost {

namespace {

const QString kSelectPrompt = QStringLiteral("オブジェクトを選択: ");
const QString kDxfFilter = QStringLiteral("DXF ファイル (*.dxf);;すべてのファイル (*)");

std::filesystem::path fsPath(const QString &path)
{
    return std::filesystem::path(path.toStdU16String());
}

// The first local .dxf file among dropped URLs.
QString droppedDxf(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return {};
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive))
            return url.toLocalFile();
    return {};
}

}  // namespace

DrawingWindow::DrawingWindow(Host &host, QWidget *parent) : QMainWindow(parent), m_host(host)
{
    setObjectName(QStringLiteral("DrawingWindow"));
    m_view = new DrawingView(host.drawing(), this);
    m_view->setObjectName(QStringLiteral("drawingView"));
    setCentralWidget(m_view);
    setAcceptDrops(true);

    QMenu *fileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m_openAction = fileMenu->addAction(QStringLiteral("開く(&O)..."));
    guardedConnect(m_openAction, &QAction::triggered, this, [this] { openTriggered(); });
    m_openAction->setObjectName(QStringLiteral("openAction"));
    m_openAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    m_saveAction = fileMenu->addAction(QStringLiteral("上書き保存(&S)"));
    guardedConnect(m_saveAction, &QAction::triggered, this, [this] { save(); });
    m_saveAction->setObjectName(QStringLiteral("saveAction"));
    m_saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    m_saveAsAction = fileMenu->addAction(QStringLiteral("名前を付けて保存(&A)..."));
    guardedConnect(m_saveAsAction, &QAction::triggered, this, [this] { saveAsTriggered(); });
    m_saveAsAction->setObjectName(QStringLiteral("saveAsAction"));
    m_saveAsAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));

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
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_actionsPending = false;
                    updateActions();
                    updateTitle();
                },
                Qt::QueuedConnection);
        }
    });
    resize(900, 640);

    // The native id is the CAD's HWND of the application and its document.
    const cad::WindowHandle handle = cad::QtWindowApi::handleOf(this);
    host.setApplicationWindow(handle);
    host.drawing().setWindowHandle(handle);
    host.setPicker(this);
    m_savedRevision = host.drawing().revision();
    updateActions();
    updateTitle();
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

// --- DXF files ------------------------------------------------------------------------

bool DrawingWindow::isModified() const
{
    return m_host.drawing().revision() != m_savedRevision;
}

void DrawingWindow::updateTitle()
{
    const QString name = m_path.isEmpty() ? QStringLiteral("Drawing1.dwg") : QFileInfo(m_path).fileName();
    setWindowTitle(name + QStringLiteral("[*] - TalvoEditZ 作図ホスト"));
    setWindowModified(isModified());
}

bool DrawingWindow::openFile(const QString &path)
{
    if (m_loop)
        return false;  // not while the program waits for a pick
    if (!maybeSave())
        return false;
    try {
        auto file
            = std::make_unique<dxf::DrawingFile>(dxf::DrawingFile::load(dxf::readFile(fsPath(path)), m_host.drawing()));
        m_file = std::move(file);
    } catch (const std::exception &e) {
        QMessageBox::warning(
            this, QStringLiteral("TalvoEditZ"),
            QStringLiteral("%1 を開けません。\n%2").arg(QDir::toNativeSeparators(path), QString::fromUtf8(e.what())));
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_savedRevision = m_host.drawing().revision();
    m_view->zoomExtents();
    updateActions();
    updateTitle();
    return true;
}

bool DrawingWindow::save()
{
    if (m_path.isEmpty())
        return saveAs(askSavePath());
    return saveAs(m_path);
}

bool DrawingWindow::saveAs(const QString &path)
{
    if (path.isEmpty())
        return false;
    try {
        if (m_file) {
            m_file->save(m_host.drawing(), fsPath(path));
        } else {
            // The built-in drawing becomes a new file, and is then the file's.
            std::string bytes = dxf::writeNewFile(m_host.drawing());
            dxf::writeFileAtomically(fsPath(path), bytes);
            m_file = std::make_unique<dxf::DrawingFile>(dxf::DrawingFile::load(std::move(bytes), m_host.drawing()));
            m_view->zoomExtents();
            updateActions();
        }
    } catch (const std::exception &e) {
        QMessageBox::warning(this, QStringLiteral("TalvoEditZ"),
                             QStringLiteral("%1 に保存できません。\n%2")
                                 .arg(QDir::toNativeSeparators(path), QString::fromUtf8(e.what())));
        return false;
    }
    m_path = QFileInfo(path).absoluteFilePath();
    m_savedRevision = m_host.drawing().revision();
    updateTitle();
    return true;
}

QString DrawingWindow::askSavePath()
{
    return QFileDialog::getSaveFileName(this, QStringLiteral("名前を付けて保存"), m_path, kDxfFilter);
}

void DrawingWindow::openTriggered()
{
    const QString path
        = QFileDialog::getOpenFileName(this, QStringLiteral("開く"), QFileInfo(m_path).path(), kDxfFilter);
    if (!path.isEmpty())
        openFile(path);
}

void DrawingWindow::saveAsTriggered()
{
    const QString path = askSavePath();
    if (!path.isEmpty())
        saveAs(path);
}

bool DrawingWindow::maybeSave()
{
    if (!m_file || !isModified())
        return true;
    const QString name = QFileInfo(m_path).fileName();
    const auto answer = QMessageBox::question(
        this, QStringLiteral("TalvoEditZ"), QStringLiteral("%1 への変更を保存しますか?").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Discard)
        return true;
    return save();
}

bool DrawingWindow::confirmQuit()
{
    bool quit = false;
    guarded([&] { quit = maybeSave(); });
    return quit;
}

void DrawingWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedDxf(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void DrawingWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedDxf(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Open once the drop has finished: the question and the error boxes
    // must not run inside the platform's drag loop.
    QMetaObject::invokeMethod(
        this, [this, path] { guarded([&] { openFile(path); }); }, Qt::QueuedConnection);
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
    if (!confirmQuit()) {
        event->ignore();
        return;
    }
    // Closing the CAD: a running pick is cancelled and the host stops.
    m_view->cancelPick();
    m_host.stop();
    event->accept();
}

}  // namespace cadhost
