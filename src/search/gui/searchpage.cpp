#include "search/gui/searchpage.h"

#include "search/gui/resultgridmodel.h"
#include "search/gui/resultgridview.h"
#include "search/resultrows.h"
#include "search/search.h"

#include "cad/connection.h"
#include "cells/grideditkeys.h"
#include "state/mainstate.h"
#include "ui/anchors.h"
#include "ui/fonts.h"
#include "ui/guard.h"
#include "ui/messages.h"
#include "ui/pagecontrols.h"
#include "ui/qstr.h"
#include "ui/statuspanels.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QScopeGuard>
#include <QTabWidget>
#include <QToolButton>

namespace {

const QString kSearchCaption = QStringLiteral("検索");
const QString kAbortCaption = QStringLiteral("中止");

QString pointText(double x, double y)
{
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(x, 'f', 3) + QStringLiteral(", ") + l.toString(y, 'f', 3);
}

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

cells::ClipboardIo systemClipboard()
{
    return {[] { return fromQ(QGuiApplication::clipboard()->text()); },
            [](const std::u16string &s) { QGuiApplication::clipboard()->setText(toQ(s)); }};
}

}  // namespace

SearchPage::SearchPage(MainState &state, QStatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
    , m_status(status)
{
    Label7 = makeLabel(this, QStringLiteral("Label7"), toQ(kIdlePatternLabel), 3, 2);
    Edit3 = makeEdit(this, QStringLiteral("Edit3"), 3, 22, 121, 24);
    Edit3->setToolTip(QStringLiteral("[Enter]で検索（ワイルドカード * ? が使えます)"));
    Label8 = makeLabel(this, QStringLiteral("Label8"), QStringLiteral("Enter=検索"), 130, 20);
    Label8->setFont(pixelFont(QStringLiteral("Tahoma"), 11));
    Label6 = makeLabel(this, QStringLiteral("Label6"), QString(), 130, 32);
    SpeedButton14 = makeButton(this, QStringLiteral("SpeedButton14"), kSearchCaption, 219, 24, 54, 41);
    SpeedButton15 = makeButton(this, QStringLiteral("SpeedButton15"), QStringLiteral("更新"), 279, 24, 34, 41, false);
    CheckBox3 = makeCheckBox(this, QStringLiteral("CheckBox3"), QStringLiteral("先頭一致"), 3, 48, 66, 17, false);
    CheckBox4 = makeCheckBox(this, QStringLiteral("CheckBox4"), QStringLiteral("a->A"), 78, 48, 46, 17, true);
    CheckBox8 = makeCheckBox(this, QStringLiteral("CheckBox8"), QStringLiteral("Enter=[↓]"), 3, 71, 86, 17, true);
    CheckBox5 = makeCheckBox(this, QStringLiteral("CheckBox5"), QStringLiteral("Enter=更新"), 95, 71, 93, 17, true);

    StringGrid2 = new ResultGridView(this);
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    StringGrid2->setFont(pixelFont(QStringLiteral("Tahoma"), 13));
    StringGrid2->setGeometry(0, 96, 316, 176);
    anchorToParent(StringGrid2, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    m_model = new ResultGridModel(m_cells, m_state.searchList, this);
    ClearResultGrid(m_cells);
    StringGrid2->setModel(m_model);
    wire();
}

SearchPage::~SearchPage()
{
    // The view and the model read m_cells, which goes before the children.
    m_cells.onTextChanged = nullptr;
    m_cells.onCurrentChanged = nullptr;
    delete StringGrid2;
    StringGrid2 = nullptr;
    delete m_model;
    m_model = nullptr;
}

void SearchPage::wire()
{
    guardedConnect(SpeedButton14, &QToolButton::clicked, this, &SearchPage::SpeedButton14Click);
    guardedConnect(SpeedButton15, &QToolButton::clicked, this, &SearchPage::SpeedButton15Click);
    guardedConnect(Edit3, &QLineEdit::returnPressed, this, &SearchPage::Edit3KeyPress);
    guardedConnect(CheckBox3, &QCheckBox::clicked, this, &SearchPage::CheckBox3Click);
    guardedConnect(CheckBox4, &QCheckBox::clicked, this, &SearchPage::CheckBox4Click);
    // Settings set CheckBox4 in code too; the case follows it either way.
    guardedConnect(CheckBox4, &QCheckBox::toggled, this, &SearchPage::setEdit3UpperCase);
    guardedConnect(Edit3, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!m_upperCase)
            return;
        const QString upper = text.toUpper();
        if (upper != text) {
            const int pos = Edit3->cursorPosition();
            Edit3->setText(upper);
            Edit3->setCursorPosition(pos);
        }
    });

    // The current cell lives in m_cells; the view follows it, and every
    // move of it (user, Enter, undo) runs the click handler once.
    m_cells.onCurrentChanged = [this] {
        syncViewToCells();
        if (!m_quiet)
            guarded([&] { StringGrid2Click(); });
    };
    guardedConnect(StringGrid2->selectionModel(), &QItemSelectionModel::currentChanged, this,
                   [this](const QModelIndex &current, const QModelIndex &) {
                       if (!current.isValid())
                           return;
                       m_cells.setCurrentCol(current.column());
                       m_cells.setCurrentRow(current.row());
                   });

    ResultGridDelegate *d = StringGrid2->gridDelegate();
    d->onEditStart = [this](int row) { guarded([&] { StringGrid2GetEditText(0, row); }); };
    auto enableUpdate = [this] {
        if (!SpeedButton15->isEnabled())
            SpeedButton15->setEnabled(true);
    };
    d->onChangedRowPainted = enableUpdate;
    guardedConnect(m_model, &ResultGridModel::rowBecameChanged, this, [enableUpdate] { enableUpdate(); });
    GridKeyFn key = [this](QKeyEvent *e, QWidget *editor) {
        bool taken = true;  // a failing key is not handed on
        guarded([&] { taken = StringGrid2KeyDown(e, editor); });
        return taken;
    };
    d->onKey = key;
    StringGrid2->onKey = key;
}

void SearchPage::setEdit3UpperCase(bool on)
{
    m_upperCase = on;
}

bool SearchPage::isActivePage() const
{
    for (QWidget *w = parentWidget(); w; w = w->parentWidget())
        if (auto *tabs = qobject_cast<QTabWidget *>(w))
            return tabs->currentWidget() == this;
    return isVisible();
}

void SearchPage::setStatus(int panel, const QString &text)
{
    if (m_status)
        setStatusPanel(m_status, panel, text);
}

void SearchPage::setCurrentRowQuietly(int row)
{
    m_quiet = true;
    auto back = qScopeGuard([this] { m_quiet = false; });
    m_cells.setCurrentCol(0);
    m_cells.setCurrentRow(row);
    syncViewToCells();
}

void SearchPage::syncViewToCells()
{
    const QModelIndex i = m_model->index(m_cells.currentRow(), m_cells.currentCol());
    if (i.isValid() && StringGrid2->currentIndex() != i)
        StringGrid2->setCurrentIndex(i);
}

void SearchPage::showEmptyGrid()
{
    m_model->reload([this] { ClearResultGrid(m_cells); });
    setCurrentRowQuietly(0);
    // The rows the entries named are gone.
    m_state.FUndoCells2.Clear();
    m_state.sgUndoCnt2 = 0;
}

void SearchPage::SpeedButton14Click()
{
    setStatus(0, QString());
    setStatus(1, QString());
    Edit3->setEnabled(false);
    if (SpeedButton14->text().contains(kAbortCaption)) {
        // The running search sees the cleared flag after its pump.
        m_state.runFlag = false;
        PumpMessages();
        SpeedButton14->setText(kSearchCaption);
        Label7->setText(toQ(kIdlePatternLabel));
        Edit3->setEnabled(true);
        return;
    }
    SpeedButton14->setText(kAbortCaption);
    auto idle = qScopeGuard([this] {
        SpeedButton14->setText(kSearchCaption);
        Edit3->setEnabled(true);
    });

    SearchUi ui;
    ui.label6 = [this](const std::u16string &s) { Label6->setText(toQ(s)); };
    ui.label7 = [this](const std::u16string &s) { Label7->setText(toQ(s)); };
    ui.pump = [] { PumpMessages(); };
    SearchEnd end = SearchEnd::Aborted;
    try {
        end = RunSearch(fromQ(Edit3->text()), CheckBox3->isChecked(), m_state.searchList, m_state.runFlag, ui);
    } catch (...) {
        // The list is empty now; the grid must not name its old records.
        showEmptyGrid();
        Label6->clear();
        Label7->setText(toQ(kIdlePatternLabel));
        throw;
    }
    if (end != SearchEnd::Completed) {
        showEmptyGrid();
        return;
    }
    m_model->reload([this] { FillResultGrid(m_cells, m_state.searchList); });
    if (m_state.searchList.empty())
        setStatus(0, QString());
    setCurrentRowQuietly(0);
    StringGrid2Click();
    m_state.FUndoCells2.Clear();
    m_state.sgUndoCnt2 = 0;
}

void SearchPage::Edit3KeyPress()
{
    SpeedButton14Click();
}

void SearchPage::CheckBox3Click()
{
    if (isActivePage() && !Edit3->text().isEmpty())
        SpeedButton14Click();
}

void SearchPage::CheckBox4Click()
{
    setEdit3UpperCase(CheckBox4->isChecked());
    CheckBox3Click();
}

void SearchPage::StringGrid2Click()
{
    const RowStatus s = DescribeRow(m_state.searchList, m_cells, m_cells.currentRow());
    if (!s.usable) {
        setStatus(0, QString());
        Label6->clear();
        return;
    }
    Label6->setText(toQ(s.label6));
    setStatus(0, toQ(s.handle));
    setStatus(1, pointText(s.x, s.y));
    if (cad::IsCadRunning())
        cad::ZoomToPoint(cad::AttachCad(), s.insPt, 3, false, 0.05);
}

void SearchPage::StringGrid2GetEditText(int col, int row)
{
    cells::RecordEditStart(m_cells, m_state.FUndoCells2, m_state.sgUndoCnt2, col, row);
}

bool SearchPage::StringGrid2KeyDown(QKeyEvent *event, QWidget *editor)
{
    const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
    const int key = event->key();
    if (key == Qt::Key_Z && ctrl) {
        if (editor)
            StringGrid2->commitAndClose(editor);
        cells::UndoLastOperation(m_cells, m_state.FUndoCells2, m_state.sgUndoCnt2);
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // What the grid does with Enter: an open editor closes, a closed
        // one opens on the current cell.
        const bool editing = editor != nullptr;
        if (editor)
            StringGrid2->commitAndClose(editor);
        if (CheckBox5->isChecked())
            enterWrite();
        if (CheckBox8->isChecked() && editing)
            enterNavigate();
        if (!editing)
            StringGrid2->editCurrent();
        return true;
    }
    const cells::EditKey k = editKeyOf(key);
    if (k == cells::EditKey::Other)
        return false;
    cells::Selection sel{m_cells.currentCol(), m_cells.currentRow(), m_cells.currentCol(), m_cells.currentRow()};
    const QItemSelection ranges = StringGrid2->selectionModel()->selection();
    if (!ranges.isEmpty()) {
        const QItemSelectionRange &r = ranges.first();
        sel = {r.left(), r.top(), r.right(), r.bottom()};
        for (const QItemSelectionRange &more : ranges) {
            sel.left = std::min(sel.left, more.left());
            sel.top = std::min(sel.top, more.top());
            sel.right = std::max(sel.right, more.right());
            sel.bottom = std::max(sel.bottom, more.bottom());
        }
    }
    const bool handles = k == cells::EditKey::Delete ? !sel.single() : ctrl;
    if (!handles)
        return false;
    if (editor)
        StringGrid2->commitAndClose(editor);
    return cells::GridEditKeys(m_cells, m_state.FUndoCells2, m_state.sgUndoCnt2, sel, k, ctrl, systemClipboard());
}

void SearchPage::enterWrite()
{
    const int row = m_cells.currentRow();
    const RowWrite w = WriteRowOnEnter(m_state.searchList, m_cells, row);
    if (w == RowWrite::Skipped)
        return;
    m_model->recordsChanged(row, row);
    StringGrid2Click();
}

void SearchPage::enterNavigate()
{
    const int rows = m_cells.rowCount();
    if (rows == 0)
        return;
    const int next = m_cells.currentRow() + 1 < rows ? m_cells.currentRow() + 1 : 0;
    m_cells.setCurrentRow(next);
}

void SearchPage::SpeedButton15Click()
{
    auto repaint = qScopeGuard([this] { m_model->recordsChanged(0, m_model->rowCount() - 1); });
    const UpdateRun run = RunUpdate(m_state.searchList, m_cells);
    if (run.wrote)
        SpeedButton15->setEnabled(false);
    m_model->recordsChanged(0, m_model->rowCount() - 1);
    ShowInformation(toQ(UpdateMessage(run.count)), this);
}
