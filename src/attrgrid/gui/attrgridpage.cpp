#include "attrgrid/gui/attrgridpage.h"

#include "attrgrid/gui/attrgridmodel.h"
#include "attrgrid/gui/attrgridview.h"

#include "attrgrid/attrfetch.h"
#include "attrgrid/attrwriteback.h"
#include "attrgrid/gridtools.h"
#include "cad/connection.h"
#include "cells/grideditkeys.h"
#include "state/mainstate.h"
#include "ui/anchors.h"
#include "ui/fonts.h"
#include "ui/guard.h"
#include "ui/messages.h"
#include "ui/pagecontrols.h"
#include "ui/picklist.h"
#include "ui/qstr.h"
#include "ui/statuspanels.h"
#include "ui/textfile.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QProgressBar>
#include <QScopeGuard>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <climits>

namespace {

cells::EditKey editKeyOf(int key)
{
    switch (key) {
    case Qt::Key_Delete: return cells::EditKey::Delete;
    case Qt::Key_C: return cells::EditKey::C;
    case Qt::Key_X: return cells::EditKey::X;
    case Qt::Key_V: return cells::EditKey::V;
    default: return cells::EditKey::Other;
    }
}

// The system's text editor, started without a shell.
bool openInTextEditor(const QString &path)
{
#ifdef Q_OS_WIN
    return QProcess::startDetached(QStringLiteral("notepad"), {QDir::toNativeSeparators(path)});
#else
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
#endif
}

}  // namespace

AttrGridPage::AttrGridPage(MainState &state, QStatusBar *status, QMenu *gridMenu, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
    , m_data(state.attr)
    , m_status(status)
{
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setEditable(false);
    ComboBox2->setMaxVisibleItems(16);
    ComboBox2->setGeometry(3, 3, 310, 22);
    anchorToParent(ComboBox2, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);

    SpeedButton10 = makeButton(this, QStringLiteral("SpeedButton10"), QStringLiteral("取得"), 3, 31, 48, 34);
    SpeedButton12 = makeButton(this, QStringLiteral("SpeedButton12"), QStringLiteral("中止"), 51, 31, 50, 34, false);
    SpeedButton11 = makeButton(this, QStringLiteral("SpeedButton11"), QStringLiteral("更新"), 103, 31, 50, 34, false);
    SpeedButton13 = makeButton(this, QStringLiteral("SpeedButton13"), QStringLiteral("UNDO"), 159, 43, 58, 22);
    Label5 = makeLabel(this, QStringLiteral("Label5"), QString(), 223, 51);
    CheckBox2 = makeCheckBox(this, QStringLiteral("CheckBox2"), QStringLiteral("Enter=[ ↓ ]"), 3, 66, 82, 17, true);
    CheckBox7 = makeCheckBox(this, QStringLiteral("CheckBox7"), QStringLiteral("Enter = 更新"), 91, 66, 90, 17, true);
    CheckBox6
        = makeCheckBox(this, QStringLiteral("CheckBox6"), QStringLiteral("PAN (Zoom Center)"), 187, 66, 134, 17, false);

    m_model = new AttrGridModel(m_data, this);
    StringGrid1 = new AttrGridView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(m_model);
    StringGrid1->setFont(pixelFont(QStringLiteral("Tahoma"), 13));
    StringGrid1->setShowGrid(true);
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    StringGrid1->verticalHeader()->setMinimumSectionSize(20);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setFixedWidth(30);  // column 0
    StringGrid1->horizontalHeader()->setDefaultSectionSize(64);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StringGrid1->setGeometry(0, 89, 316, 175);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    guardedConnect(StringGrid1, &QWidget::customContextMenuRequested, this, [this, gridMenu](const QPoint &pos) {
        if (gridMenu && !gridMenu->isEmpty() && !m_fetching)
            gridMenu->popup(StringGrid1->viewport()->mapToGlobal(pos));
    });
    anchorToParent(StringGrid1, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setGeometry(0, 264, 316, 8);
    anchorToParent(ProgressBar1, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);

    buildMenu(gridMenu);
    wire();
}

// The main window frees the undo list (its state dies before its pages).
AttrGridPage::~AttrGridPage() = default;

void AttrGridPage::buildMenu(QMenu *menu)
{
    if (!menu)
        return;
    auto item = [&](const char *name, const QString &caption, void (AttrGridPage::*handler)()) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        guardedConnect(a, &QAction::triggered, this, [this, handler] { run([this, handler] { (this->*handler)(); }); });
        return a;
    };
    auto separator = [&](const char *name) { menu->addSeparator()->setObjectName(QString::fromLatin1(name)); };
    menu->setSeparatorsCollapsible(false);
    AG1 = item("AG1", QStringLiteral("■TAG リスト編集(メモ帳起動)"), &AttrGridPage::AG1Click);
    AG2 = item("AG2", QStringLiteral("■TAG リストを再読み込み"), &AttrGridPage::AG2Click);
    separator("N38");
    N32 = item("N32", QStringLiteral("選択範囲のスペース以外を全角に"), &AttrGridPage::N32Click);
    N33 = item("N33", QStringLiteral("選択範囲を半角に"), &AttrGridPage::N33Click);
    separator("N34");
    N35 = item("N35", QStringLiteral("選択範囲を置換"), &AttrGridPage::N35Click);
    N36 = item("N36", QStringLiteral("選択範囲の半角数字を加算"), &AttrGridPage::N36Click);
    separator("N37");
    N31 = item("N31", QStringLiteral("連番作成"), &AttrGridPage::N31Click);
}

void AttrGridPage::wire()
{
    auto on = [this](QToolButton *button, void (AttrGridPage::*handler)(), bool duringFetch = false) {
        guardedConnect(button, &QToolButton::clicked, this,
                       [this, handler, duringFetch] { run([this, handler] { (this->*handler)(); }, duringFetch); });
    };
    on(SpeedButton10, &AttrGridPage::SpeedButton10Click);
    on(SpeedButton11, &AttrGridPage::SpeedButton11Click);
    on(SpeedButton12, &AttrGridPage::SpeedButton12Click, true);
    on(SpeedButton13, &AttrGridPage::SpeedButton13Click);

    guardedConnect(StringGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
                   [this] { run([this] { StringGrid1Click(); }); });
    guardedConnect(StringGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
                   [this](int s) { run([this, s] { StringGrid1FixedCellClick(s + 1, 0); }); });
    guardedConnect(StringGrid1->verticalHeader(), &QHeaderView::sectionClicked, this,
                   [this](int s) { run([this, s] { StringGrid1FixedCellClick(0, s + 1); }); });
    StringGrid1->cornerClicked = [this] { run([this] { StringGrid1FixedCellClick(0, 0); }); };

    StringGrid1->keyDown = [this](QKeyEvent *e) {
        if (m_fetching)
            return true;  // no editing while the records are being refilled
        bool consumed = false;
        run([&] { consumed = StringGrid1KeyDown(e->key(), e->modifiers()); });
        return consumed;
    };
    StringGrid1->cellDelegate()->editStarted = [this](const QModelIndex &i) {
        run([&] { StringGrid1GetEditText(AttrGridModel::cellCol(i), AttrGridModel::cellRow(i)); });
    };
    StringGrid1->mouseDown = [this](QMouseEvent *e) { run([&] { StringGrid1MouseDown(e); }); };
    StringGrid1->mouseMove = [this](QMouseEvent *e) {
        bool handled = false;
        run([&] { handled = StringGrid1MouseMove(e); });
        return handled;
    };
    StringGrid1->mouseUp = [this](QMouseEvent *e) { run([&] { StringGrid1MouseUp(e); }); };

    // Undo moves the current cell column first, then row (from cell (1, 1)
    // when there is none yet).
    m_model->moveToCol = [this](int col) {
        const QModelIndex c = StringGrid1->currentIndex();
        moveCurrent(col, c.isValid() ? AttrGridModel::cellRow(c) : 1);
    };
    m_model->moveToRow = [this](int row) {
        const QModelIndex c = StringGrid1->currentIndex();
        moveCurrent(c.isValid() ? AttrGridModel::cellCol(c) : 1, row);
    };
}

void AttrGridPage::run(const std::function<void()> &handler, bool duringFetch)
{
    if (m_fetching && !duringFetch)
        return;
    guarded(handler);
}

void AttrGridPage::setPanel(int index, const QString &text)
{
    if (m_status)
        setStatusPanel(m_status, index, text);
}

QString AttrGridPage::tagSetPath() const
{
    if (tagSetFilePath)
        return tagSetFilePath();
    return QDir(QCoreApplication::applicationDirPath()).filePath(kTagSetFileName);
}

// --- Fetch, write-back, abort, undo ------------------------------------------------

void AttrGridPage::SpeedButton10Click()
{
    StringGrid1->closeEditor();
    emit fetchStarted();
    m_state.ATTmode = true;
    m_state.runFlag = true;
    SpeedButton12->setEnabled(true);
    setPanel(0, QString());
    setPanel(1, QString());
    m_fetching = true;
    StringGrid1->setEnabled(false);

    auto ending = qScopeGuard([this] {
        m_model->endRefill();
        StringGrid1->setUpdatesEnabled(true);
        try {
            cad::RestoreMainWindow();
        } catch (const std::exception &) {}
        ProgressBar1->setValue(0);
        m_state.runFlag = false;
        SpeedButton12->setEnabled(false);
        m_fetching = false;
        StringGrid1->setEnabled(true);
    });

    // The fetch ends silently on every failure.
    try {
        if (!cad::IsCadRunning())
            return;
        cad::Object doc = cad::AttachActiveDocument(true, true);
        const AttrSet set = attrSetOfLine(fromQ(ComboBox2->currentText()));
        FetchHooks hooks;
        hooks.pump = [] { PumpMessages(); };
        hooks.afterPick = [](int) {
            if (cad::WindowHandle w = cad::mainWindowHandle())
                cad::windowApi().showNormal(w);
        };
        hooks.label = [this](const std::u16string &text) { Label5->setText(toQ(text)); };
        hooks.progressStart = [this](int maximum) {
            ProgressBar1->setRange(0, maximum);
            ProgressBar1->setValue(0);
        };
        hooks.progressStep = [this] {
            ProgressBar1->setValue(ProgressBar1->value() + 1);
            ProgressBar1->repaint();
        };
        hooks.suspendRepaint = [this](bool suspended) {
            if (suspended) {
                StringGrid1->setUpdatesEnabled(false);
                m_model->beginRefill();
            } else {
                m_model->endRefill();
                StringGrid1->setUpdatesEnabled(true);
            }
        };
        const FetchOutcome r = FetchBlocks(doc, set, m_data, m_state.sgUndoCnt, m_state.runFlag, hooks);
        m_model->endRefill();
        if (r.replaced) {
            FitColWidths(10);
            SpeedButton11->setEnabled(true);
        }
    } catch (const std::exception &) {}
}

void AttrGridPage::SpeedButton11Click()
{
    StringGrid1->closeEditor();
    // No message in any case: a failure leaves the cells changed.
    try {
        if (!cad::IsCadRunning())
            return;
        cad::Object doc = cad::AttachActiveDocument(false, true);
        WriteBackCells(doc, m_data);
    } catch (const std::exception &) {}
    m_model->recordsChanged();
}

void AttrGridPage::SpeedButton12Click()
{
    m_state.runFlag = false;
    PumpMessages();
}

void AttrGridPage::SpeedButton13Click()
{
    StringGrid1->discardEditor();
    cells::UndoEntries(*m_model, m_data.FUndoCells, m_state.sgUndoCnt);
}

// --- Grid behaviour -----------------------------------------------------------------

void AttrGridPage::moveCurrent(int col, int row)
{
    const QModelIndex i = m_model->indexOfCell(col, row);
    if (i.isValid())
        StringGrid1->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
}

void AttrGridPage::selectCells(int left, int top, int right, int bottom)
{
    const QModelIndex tl = m_model->indexOfCell(left, top), br = m_model->indexOfCell(right, bottom);
    if (!tl.isValid() || !br.isValid())
        return;
    m_quietMove = true;
    auto reset = qScopeGuard([this] { m_quietMove = false; });
    QItemSelectionModel *sm = StringGrid1->selectionModel();
    sm->setCurrentIndex(br, QItemSelectionModel::NoUpdate);
    sm->select(QItemSelection(tl, br), QItemSelectionModel::ClearAndSelect);
}

cells::Selection AttrGridPage::selection() const
{
    const QItemSelection s = StringGrid1->selectionModel()->selection();
    if (s.isEmpty()) {
        const QModelIndex c = StringGrid1->currentIndex();
        const int col = c.isValid() ? AttrGridModel::cellCol(c) : 1, row = c.isValid() ? AttrGridModel::cellRow(c) : 1;
        return {col, row, col, row};
    }
    cells::Selection r{INT_MAX, INT_MAX, -1, -1};
    for (const QItemSelectionRange &range : s) {
        r.left = std::min(r.left, range.left() + 1);
        r.top = std::min(r.top, range.top() + 1);
        r.right = std::max(r.right, range.right() + 1);
        r.bottom = std::max(r.bottom, range.bottom() + 1);
    }
    return r;
}

void AttrGridPage::StringGrid1Click()
{
    if (m_quietMove)
        return;
    const QModelIndex c = StringGrid1->currentIndex();
    const nAtt *rec = c.isValid() ? m_data.record(AttrGridModel::cellCol(c), AttrGridModel::cellRow(c)) : nullptr;
    if (!rec) {
        setPanel(0, QString());
        setPanel(1, QString());
        return;  // the model refuses editing such a cell
    }
    setPanel(0, toQ(rec->sHnd));
    if (!CheckBox6->isChecked())
        return;
    setPanel(1, toQ(rec->text));
    try {
        if (cad::IsCadRunning())
            cad::ZoomToPoint(cad::AttachCad(), rec->insPt, 3, false, 0.05);
    } catch (const std::exception &) {}
}

void AttrGridPage::StringGrid1FixedCellClick(int col, int row)
{
    const int lastCol = m_data.cells.colCount() - 1, lastRow = m_data.cells.rowCount() - 1;
    if (col == 0 && row == 0)
        selectCells(1, 1, lastCol, lastRow);
    else if (row == 0)
        selectCells(col, 1, col, lastRow);
    else if (col == 0)
        selectCells(1, row, lastCol, row);
    StringGrid1->viewport()->update();
}

void AttrGridPage::StringGrid1GetEditText(int col, int row)
{
    cells::RecordEditStart(*m_model, m_data.FUndoCells, m_state.sgUndoCnt, col, row);
}

bool AttrGridPage::StringGrid1KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        enterKey();
        return true;
    }
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (ctrl && key == Qt::Key_Z) {
        // Undo restores the text before the edit; the editor's is dropped.
        StringGrid1->discardEditor();
        cells::UndoLastOperation(*m_model, m_data.FUndoCells, m_state.sgUndoCnt);
        return true;
    }
    const cells::EditKey editKey = editKeyOf(key);
    if (editKey == cells::EditKey::Other || (!ctrl && editKey != cells::EditKey::Delete))
        return false;
    const cells::Selection sel = selection();
    if (editKey == cells::EditKey::Delete && sel.single())
        return false;  // the editor deletes characters
    // The cell holds what is being typed before the grid works on it.
    StringGrid1->commitEditor();
    cells::ClipboardIo clipboard;
    clipboard.read = [] { return fromQ(QGuiApplication::clipboard()->text()); };
    clipboard.write = [](const std::u16string &text) { QGuiApplication::clipboard()->setText(toQ(text)); };
    return cells::GridEditKeys(*m_model, m_data.FUndoCells, m_state.sgUndoCnt, sel, editKey, ctrl, clipboard);
}

bool AttrGridPage::writeCellNow(int col, int row)
{
    bool running = false;
    try {
        running = cad::IsCadRunning();
    } catch (const std::exception &) {}
    if (!running)
        return false;  // the cell stays changed until a write-back
    bool written = false;
    try {
        cad::Object doc = cad::AttachCad().get(u"ActiveDocument").toObject();
        written = WriteCellNow(doc, m_data, *m_model, col, row);
    } catch (const std::exception &) {
        if (const nAtt *rec = m_data.record(col, row))
            m_model->setCellText(col, row, rec->text);
    }
    m_model->recordsChanged();
    return written;
}

void AttrGridPage::enterKey()
{
    const QModelIndex current = StringGrid1->currentIndex();
    if (!current.isValid())
        return;
    const bool wasEditing = StringGrid1->editing();
    StringGrid1->commitEditor();
    const int col = AttrGridModel::cellCol(current), row = AttrGridModel::cellRow(current);
    if (CheckBox7->isChecked() && m_data.changed(col, row))
        writeCellNow(col, row);

    const int lastCol = m_data.cells.colCount() - 1, lastRow = m_data.cells.rowCount() - 1;
    if (!CheckBox2->isChecked()) {
        if (col < lastCol && m_data.cells.ref(col + 1, row) >= 1)
            moveCurrent(col + 1, row);
        else if (row < lastRow && m_data.cells.ref(1, row + 1) >= 1)
            moveCurrent(1, row + 1);
    } else if (wasEditing) {
        moveCurrent(col, row < lastRow ? row + 1 : 1);
    }

    // The grid's own Enter: close an open editor, or open one.
    if (wasEditing)
        StringGrid1->closeEditor();
    else if (StringGrid1->currentIndex().flags().testFlag(Qt::ItemIsEditable))
        StringGrid1->edit(StringGrid1->currentIndex());
}

void AttrGridPage::StringGrid1MouseDown(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint cell = StringGrid1->cellAt(event->position().toPoint());
    if (cell.x() >= 1 && cell.y() >= 1) {
        m_state.startCol = cell.x();
        m_state.startRow = cell.y();
    }
}

bool AttrGridPage::StringGrid1MouseMove(QMouseEvent *event)
{
    if (m_state.startCol < 0 || m_state.startRow < 0)
        return false;
    const QPoint cell = StringGrid1->cellAt(event->position().toPoint());
    if (cell.x() < 0 || (cell.x() == m_state.startCol && cell.y() == m_state.startRow)
        || (cell.x() == m_state.moveCol && cell.y() == m_state.moveRow))
        return true;
    // Over the fixed column or row the rectangle stops at the first data cell.
    const int col = std::max(cell.x(), 1), row = std::max(cell.y(), 1);
    const QModelIndex anchor = m_model->indexOfCell(m_state.startCol, m_state.startRow);
    const QModelIndex current = m_model->indexOfCell(col, row);
    if (anchor.isValid() && current.isValid()) {
        m_quietMove = true;
        auto reset = qScopeGuard([this] { m_quietMove = false; });
        QItemSelectionModel *sm = StringGrid1->selectionModel();
        sm->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        sm->select(QItemSelection(anchor, current), QItemSelectionModel::ClearAndSelect);
    }
    StringGrid1->viewport()->update();
    m_state.moveCol = cell.x();
    m_state.moveRow = cell.y();
    return true;
}

void AttrGridPage::StringGrid1MouseUp(QMouseEvent *)
{
    m_state.startCol = -1;
    m_state.startRow = -1;
    StringGrid1->viewport()->update();
}

void AttrGridPage::ClearGrid()
{
    m_model->beginRefill();
    ::ClearGrid(m_data.cells);
    m_model->endRefill();
}

void AttrGridPage::FitColWidths(int margin)
{
    const QFontMetrics fm(StringGrid1->font());
    const cells::CellMatrix &grid = m_data.cells;
    for (int col = 0; col < grid.colCount(); ++col) {
        int widest = 0;
        for (int row = 0; row < grid.rowCount(); ++row) {
            const std::u16string &text = grid.cell(col, row).text;
            if (!text.empty())
                widest = std::max(widest, fm.horizontalAdvance(toQ(text)));
        }
        if (widest <= 0)
            continue;
        if (col == 0)
            StringGrid1->verticalHeader()->setFixedWidth(widest + margin);
        else
            StringGrid1->setColumnWidth(col - 1, widest + margin);
    }
}

// --- PopupMenu2 ----------------------------------------------------------------------

void AttrGridPage::AG1Click()
{
    const QString path = tagSetPath();
    if (!QFileInfo::exists(path)) {
        ShowInformation(path + QChar(10) + QStringLiteral("ファイルが見つかりません．"), this);
        return;
    }
    if (openTextEditor)
        openTextEditor(path);
    else
        openInTextEditor(path);
}

void AttrGridPage::AG2Click()
{
    const QString path = tagSetPath();
    if (!QFileInfo::exists(path))
        return;
    const int index = ComboBox2->currentIndex();
    if (const auto file = readTextFile(path))
        fillPickList(ComboBox2, file->lines, index);
}

void AttrGridPage::N32Click()
{
    StringGrid1->closeEditor();
    attrgrid::FullWidthCells(*m_model, m_data.FUndoCells, m_state.sgUndoCnt, selection());
}

void AttrGridPage::N33Click()
{
    StringGrid1->closeEditor();
    attrgrid::HalfWidthCells(*m_model, m_data.FUndoCells, m_state.sgUndoCnt, selection());
}

void AttrGridPage::N35Click()
{
    StringGrid1->closeEditor();
    if (!dialogs.replace)
        return;  // no dialogs given (a page on its own)
    const cells::Selection sel = selection();
    const auto request = dialogs.replace(m_model->cellText(sel.left, sel.top));
    if (request)
        attrgrid::ReplaceCells(*m_model, m_data.FUndoCells, m_state.sgUndoCnt, sel, request->first, request->second);
}

void AttrGridPage::N36Click()
{
    StringGrid1->closeEditor();
    if (!dialogs.addition)
        return;
    if (const auto options = dialogs.addition())
        attrgrid::AddToCells(*m_model, m_data.FUndoCells, m_state.sgUndoCnt, selection(), *options);
}

void AttrGridPage::N31Click()
{
    StringGrid1->closeEditor();
    if (!dialogs.serial)
        return;
    const auto run = dialogs.serial();
    if (!run)
        return;
    const QModelIndex c = StringGrid1->currentIndex();
    const int col = c.isValid() ? AttrGridModel::cellCol(c) : 1, row = c.isValid() ? AttrGridModel::cellRow(c) : 1;
    const auto rows = attrgrid::serialRows(selection(), row, m_data.cells.rowCount() - 1);
    attrgrid::SerialIntoColumn(*m_model, m_data.FUndoCells, m_state.sgUndoCnt, col, rows, *run);
}
