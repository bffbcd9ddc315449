#include "textedit/gui/textedittab.h"

#include "textedit/align.h"
#include "textedit/fetch.h"
#include "textedit/gui/lineeditor.h"
#include "textedit/talvo.h"
#include "textedit/textrules.h"
#include "textedit/writeback.h"

#include "base/strings.h"
#include "cad/connection.h"
#include "ui/anchors.h"
#include "ui/captionfit.h"
#include "ui/cellcolors.h"
#include "ui/guard.h"
#include "ui/messages.h"
#include "ui/pagecontrols.h"
#include "ui/qstr.h"
#include "ui/statuspanels.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QStatusBar>
#include <QToolButton>

namespace {

QLineEdit *stepField(QWidget *parent, const QString &name, int left, int top)
{
    QLineEdit *e = makeEdit(parent, name, left, top, 71, 22);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setAttribute(Qt::WA_InputMethodEnabled, false);  // numbers only, no IME
    e->setFocusPolicy(Qt::ClickFocus);                  // not a tab stop
    return e;
}

QLocale numberLocale()
{
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l;
}

double readNumber(const QLineEdit *e)
{
    bool ok = false;
    double v = numberLocale().toDouble(e->text().trimmed(), &ok);
    return ok ? v : 0.0;
}

void setTextColour(QLineEdit *e, const QColor &c)
{
    QPalette p = e->palette();
    if (p.color(QPalette::Text) == c)
        return;
    p.setColor(QPalette::Text, c);
    e->setPalette(p);
}

void mainWindowToFront()
{
    if (cad::WindowHandle w = cad::mainWindowHandle())
        cad::BringWindowToFront(w);
}

QString decimal(long long n)
{
    return QString::number(n);
}

Lines editorLines(const LineEditor *editor)
{
    Lines out;
    const QStringList ls = editor->lines();
    out.reserve(std::size_t(ls.size()));
    for (const QString &l : ls)
        out.push_back(fromQ(l));
    return out;
}

QStringList recordTexts(const std::vector<Talvo> &list)
{
    QStringList out;
    out.reserve(qsizetype(list.size()));
    for (const Talvo &t : list)
        out << toQ(t.text);
    return out;
}

// Brings the main window back after a pick, whatever way the fetch ends.
struct MainWindowRestorer {
    ~MainWindowRestorer() { cad::RestoreMainWindow(); }
};

// Disables the page's commands and makes the editor read-only while a
// command lets messages run.
class BusyScope {
public:
    explicit BusyScope(TextEditTab *tab, void (TextEditTab::*set)(bool)) : m_tab(tab), m_set(set)
    {
        (m_tab->*m_set)(true);
    }
    ~BusyScope() { (m_tab->*m_set)(false); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    TextEditTab *m_tab;
    void (TextEditTab::*m_set)(bool);
};

}  // namespace

TextEditTab::TextEditTab(MainState &state, QStatusBar *status, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
    , m_status(status)
{
    SpeedButton1 = makeButton(this, QStringLiteral("SpeedButton1"), QStringLiteral("TEXT"), 6, 2, 49, 22);
    SpeedButton2
        = makeButton(this, QStringLiteral("SpeedButton2"), QStringLiteral("更新(Ctrl+Enter)"), 58, 2, 105, 22, false);
    SpeedButton6 = makeButton(this, QStringLiteral("SpeedButton6"), QStringLiteral("整列"), 163, 2, 44, 22, false);
    Label3 = makeLabel(this, QStringLiteral("Label3"), QStringLiteral("dX :"), 213, 5);
    Edit1 = stepField(this, QStringLiteral("Edit1"), 240, 2);
    SpeedButton8 = makeButton(this, QStringLiteral("SpeedButton8"), QStringLiteral("ATTR"), 6, 23, 49, 22);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    // Typed text never becomes an item: the tag list dialog adds tags, and
    // every item is written to the tag list file at close.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(16);
    // A chosen entry shows from its start: the tag before the colon counts.
    connect(ComboBox1, &QComboBox::activated, ComboBox1, [this] { ComboBox1->lineEdit()->setCursorPosition(0); });
    ComboBox1->setGeometry(58, 22, 126, 22);
    // SpeedButton9 sits right of it: a long entry takes a smaller font.
    fitComboFont(ComboBox1, ComboBox1->font().pixelSize() > 0 ? ComboBox1->font().pixelSize() : 12);
    SpeedButton9 = makeButton(this, QStringLiteral("SpeedButton9"), QStringLiteral("..."), 184, 23, 23, 22);
    Label4 = makeLabel(this, QStringLiteral("Label4"), QStringLiteral("dY :"), 213, 25);
    Edit2 = stepField(this, QStringLiteral("Edit2"), 240, 23);
    Label1 = makeLabel(this, QStringLiteral("Label1"), QString(), 9, 51);
    Label2 = makeLabel(this, QStringLiteral("Label2"), QString(), 128, 50);
    SpeedButton7 = makeButton(this, QStringLiteral("SpeedButton7"), QStringLiteral("CAD"), 5, 70, 36, 22);
    CheckBox1 = makeCheckBox(this, QStringLiteral("CheckBox1"), QStringLiteral("座標順取得"), 50, 71, 83, 21, true);
    SpeedButton3 = makeButton(this, QStringLiteral("SpeedButton3"), QStringLiteral("すべて選択"), 139, 70, 74, 22);
    SpeedButton5 = makeButton(this, QStringLiteral("SpeedButton5"), QStringLiteral("中止"), 215, 71, 52, 22, false);
    SpeedButton4 = makeButton(this, QStringLiteral("SpeedButton4"), QStringLiteral("Undo"), 270, 71, 45, 22, false);
    editor = new LineEditor(this);
    editor->setObjectName(QStringLiteral("editor"));
    editor->setGeometry(0, 98, kPageDesignWidth, kPageDesignHeight - 98);
    anchorToParent(editor, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    m_windowColour = editor->backgroundColour();
    resize(kPageDesignWidth, kPageDesignHeight);
    wire();
}

void TextEditTab::wire()
{
    auto on = [this](auto *sender, auto signal, void (TextEditTab::*handler)()) {
        guardedConnect(sender, signal, this, handler);
    };
    on(SpeedButton1, &QToolButton::clicked, &TextEditTab::SpeedButton1Click);
    on(SpeedButton8, &QToolButton::clicked, &TextEditTab::SpeedButton8Click);
    on(SpeedButton2, &QToolButton::clicked, &TextEditTab::SpeedButton2Click);
    on(SpeedButton6, &QToolButton::clicked, &TextEditTab::SpeedButton6Click);
    on(SpeedButton3, &QToolButton::clicked, &TextEditTab::SpeedButton3Click);
    on(SpeedButton4, &QToolButton::clicked, &TextEditTab::SpeedButton4Click);
    on(SpeedButton5, &QToolButton::clicked, &TextEditTab::SpeedButton5Click);
    on(Edit1, &QLineEdit::returnPressed, &TextEditTab::Edit1KeyPress);
    on(Edit2, &QLineEdit::returnPressed, &TextEditTab::Edit2KeyPress);
    on(editor, &LineEditor::writeBackRequested, &TextEditTab::editorCtrlEnter);
    connect(SpeedButton7, &QToolButton::clicked, this, &TextEditTab::targetCadRequested);
    connect(SpeedButton9, &QToolButton::clicked, this, &TextEditTab::tagListRequested);
    // Ctrl+C and Ctrl+X are swallowed until the context menu routes them.
}

double TextEditTab::dX() const
{
    return readNumber(Edit1);
}

double TextEditTab::dY() const
{
    return readNumber(Edit2);
}

void TextEditTab::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy) {
        m_savedEnabled.clear();
        for (QWidget *w : std::initializer_list<QWidget *>{SpeedButton1, SpeedButton2, SpeedButton6, SpeedButton8,
                                                           SpeedButton9, SpeedButton7, SpeedButton3, SpeedButton4,
                                                           Edit1, Edit2, ComboBox1, CheckBox1}) {
            m_savedEnabled.emplace_back(w, w->isEnabled());
            w->setEnabled(false);
        }
        editor->setReadOnly(true);
    } else {
        for (auto &[w, enabled] : m_savedEnabled)
            w->setEnabled(enabled);
        m_savedEnabled.clear();
        editor->setReadOnly(false);
    }
}

void TextEditTab::clearFeedback()
{
    Label1->clear();
    Label2->clear();
    setStatusPanel(m_status, 0, QString());
    setStatusPanel(m_status, 1, QString());
}

void TextEditTab::showProgress(int current, int total)
{
    Label2->setText(decimal(current) + QStringLiteral(" / ") + decimal(total));
}

void TextEditTab::proposeStep(bool withMessage)
{
    Step s = ::proposeStep(m_state.textList);
    QLocale l = numberLocale();
    Edit1->setText(l.toString(s.dX, 'f', 2));
    Edit2->setText(l.toString(s.dY, 'f', 2));
    if (dX() == 0 && dY() == 0) {
        setTextColour(Edit1, cellcolors::changed);
        setTextColour(Edit2, cellcolors::changed);
        if (withMessage)
            ShowMessage(QStringLiteral("dX, dY が 0 です．\n"
                                       "dX, dY の値を設定するか、[取得]で複数の TEXT を選択してください．"),
                        this);
    } else {
        setTextColour(Edit1, Qt::black);
        setTextColour(Edit2, Qt::black);
    }
}

// TEXT: pick TEXT entities, one line each.
void TextEditTab::SpeedButton1Click()
{
    if (m_busy)
        return;
    clearFeedback();
    m_state.ATTmode = false;
    MainWindowRestorer restorer;
    if (!cad::IsCadRunning())
        return;
    TextFetch f;
    {
        cad::Object doc = cad::AttachActiveDocument(true, true);
        BusyScope busy(this, &TextEditTab::setBusy);
        f = FetchTexts(doc, CheckBox1->isChecked(), PumpMessages);
    }
    if (f.total <= 0)
        return;
    const int excluded = f.excluded();
    m_state.textList = std::move(f.records);
    m_state.textListATTmode = false;
    if (excluded > 0)
        ShowMessage(QStringLiteral("ロック画層のTEXT ") + decimal(excluded) + QStringLiteral(" 個を除外しました."),
                    this);
    m_state.undoFlag = false;
    SpeedButton4->setEnabled(false);
    editor->setLines(recordTexts(m_state.textList));
    if (!m_state.textList.empty()) {
        proposeStep(true);
        SpeedButton2->setEnabled(true);
        SpeedButton6->setEnabled(m_state.textList.size() >= 2);
    }
}

// ATTR: pick block references, one line per attribute of the chosen tag.
void TextEditTab::SpeedButton8Click()
{
    if (m_busy)
        return;
    clearFeedback();
    m_state.ATTmode = true;
    MainWindowRestorer restorer;
    if (!cad::IsCadRunning())
        return;
    AttrFetch f;
    {
        cad::Object doc = cad::AttachActiveDocument(true, true);
        Label2->show();
        BusyScope busy(this, &TextEditTab::setBusy);
        f = FetchAttributes(doc, fromQ(ComboBox1->currentText()), CheckBox1->isChecked(),
                            [this](const std::u16string &s) {
                                Label2->setText(toQ(s));
                                Label2->repaint();
                            });
    }
    if (f.blocks <= 0)
        return;
    m_state.textList = std::move(f.records);
    m_state.textListATTmode = true;
    m_state.undoFlag = false;
    SpeedButton4->setEnabled(false);
    editor->setLines(recordTexts(m_state.textList));
    Label2->setText(toQ(f.tag) + QStringLiteral(" = ") + decimal(editor->lineCount()) + QStringLiteral(" / ")
                    + decimal(f.blocks));
    proposeStep(false);
    SpeedButton2->setEnabled(!m_state.textList.empty());
    SpeedButton6->setEnabled(false);
}

// Write-back of the lines as one CAD undo step.
void TextEditTab::SpeedButton2Click()
{
    if (m_busy || editor->lineCount() == 0)
        return;
    if (!cad::IsCadRunning())
        return;
    cad::Object doc = cad::AttachActiveDocument(false, false);
    m_state.AcadRunFlag = true;
    auto closing = startRun();
    BusyScope busy(this, &TextEditTab::setBusy);
    // The records decide the mode: a fetch that filled nothing left them
    // as they were, whatever ATTmode it set.
    WriteBack(
        doc, m_state.textList, editorLines(editor), m_state.textListATTmode, dX(), dY(), PumpMessages, m_state.runFlag,
        [this](int c, int t) { showProgress(c, t); },
        [this](WriteBackMessage m) {
            ShowMessage(m == WriteBackMessage::ZeroStep ? QStringLiteral("dX, dY が 0 のため、追加を中止しました．")
                                                        : QStringLiteral("エラーのため、更新を中止しました．"),
                        this);
        });
}

// Align: re-space the texts at record 0's point plus i·(dX, dY).
void TextEditTab::SpeedButton6Click()
{
    // Align moves, erases and copies texts; attribute records are never
    // its to touch.
    if (m_busy || m_state.textListATTmode)
        return;
    if (!cad::IsCadRunning())
        return;
    cad::Object doc = cad::AttachActiveDocument(false, true);
    m_state.AcadRunFlag = true;
    auto closing = startRun();
    AlignResult r;
    {
        BusyScope busy(this, &TextEditTab::setBusy);
        r = Align(doc, m_state.textList, editorLines(editor), dX(), dY(), [this](int c, int t) { showProgress(c, t); });
    }
    Label2->hide();
    SpeedButton3->show();
    if (r.failed)
        ShowMessage(QStringLiteral("エラーのため、更新処理を中止しました．"), this);
}

// Start of a long command: runFlag set, "中止" enabled, progress shown. The
// returned guard ends the run on every path, errors included, so nothing
// but the abort button is left to clear it.
auto TextEditTab::startRun() -> RunGuard
{
    m_state.runFlag = true;
    SpeedButton5->setEnabled(true);
    Label2->show();
    SpeedButton3->hide();
    return RunGuard([this] {
        Label2->hide();
        SpeedButton3->show();
        m_state.runFlag = false;
        SpeedButton5->setEnabled(false);
    });
}

void TextEditTab::SpeedButton3Click()
{
    editor->selectAll();
}

void TextEditTab::SpeedButton4Click()
{
    if (m_busy)
        return;
    if (editor->canUndo())
        editor->undo();
    else if (m_state.undoFlag)  // the button may still be enabled without one
        UndoMark(false);
}

void TextEditTab::SpeedButton5Click()
{
    m_state.runFlag = false;
    PumpMessages();
    SpeedButton5->setEnabled(false);
}

void TextEditTab::Edit1KeyPress()
{
    Edit2->setFocus();
}

void TextEditTab::Edit2KeyPress()
{
    if (!SpeedButton6->isEnabled() || m_busy)
        return;
    SpeedButton6Click();
    Edit2->setFocus();
    mainWindowToFront();
}

void TextEditTab::editorCtrlEnter()
{
    if (m_busy)
        return;
    SpeedButton2Click();
    mainWindowToFront();
}

void TextEditTab::UndoMark(bool flag)
{
    if (flag)
        m_state.undoText = fromQ(editor->text());
    else
        editor->setText(toQ(m_state.undoText));
    SpeedButton4->setEnabled(flag);
    m_state.undoFlag = flag;
}

void TextEditTab::timerTick()
{
    const int row = editor->caretLine();
    int last = editor->lineCount();
    // Counted and coloured by the kind of the records the lines belong to.
    const bool attributes = m_state.textListATTmode;
    if (attributes) {
        last = int(m_state.textList.size());
    } else {
        while (last > 0 && base::isBlank(fromQ(editor->line(last - 1))))
            --last;
    }
    m_state.iLineLast = last;
    Label1->setText(QStringLiteral("取得データ数 = ") + decimal(last));

    const int records = int(m_state.textList.size());
    QColor colour
        = row > records ? (attributes ? cellcolors::beyondAttributes : cellcolors::beyondTexts) : m_windowColour;
    if (editor->backgroundColour() != colour)
        editor->setBackgroundColour(colour);

    if (!m_busy) {
        bool undo = editor->canUndo() || m_state.undoFlag;
        if (SpeedButton4->isEnabled() != undo)
            SpeedButton4->setEnabled(undo);
    }

    const QString sel = editor->selectedText();
    int rows = 0;
    if (!sel.isEmpty()) {
        rows = int(sel.count(u'\n'));
        if (sel.lastIndexOf(u'\n') + 1 < sel.size())
            ++rows;
    }
    const QString p1 = QStringLiteral("selRows = ") + decimal(rows);
    if (statusPanel(m_status, 1) != p1)
        setStatusPanel(m_status, 1, p1);
    const QString p0 = QStringLiteral("Row = ") + decimal(row) + QStringLiteral(" / ") + decimal(last)
                       + QStringLiteral(" Col= ") + decimal(editor->caretColumn());
    if (statusPanel(m_status, 0) != p0)
        setStatusPanel(m_status, 0, p0);
}
