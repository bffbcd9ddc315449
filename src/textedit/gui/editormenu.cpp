#include "textedit/gui/editormenu.h"

#include "textedit/gui/lineeditor.h"
#include "textedit/gui/textedittab.h"

#include "tools/gui/talvokasanform.h"
#include "tools/gui/talvorenbanform.h"
#include "tools/gui/talvotikanform.h"

#include "state/mainstate.h"
#include "ui/messages.h"
#include "ui/guard.h"
#include "ui/qstr.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QScopeGuard>
#include <QTextDocument>
#include <QToolButton>

namespace {

tools::Lines toLines(const QStringList &list)
{
    tools::Lines lines;
    lines.reserve(size_t(list.size()));
    for (const QString &s : list)
        lines.push_back(fromQ(s));
    return lines;
}

QStringList toList(const tools::Lines &lines)
{
    QStringList list;
    list.reserve(qsizetype(lines.size()));
    for (const std::u16string &s : lines)
        list << toQ(s);
    return list;
}

}  // namespace

// One long command: the abort flag set and "中止" enabled, the tab busy
// (editor read-only, fetch and write-back off) so nothing done during the
// pumps is overwritten, and the menu refusing a second command until it
// ends. Take the snapshot before: the tab restores the Undo button's
// state when it leaves the busy state.
class EditorMenu::Run {
public:
    explicit Run(EditorMenu &m) : pacer(PumpMessages, m.m_clock), m_menu(m)
    {
        m.m_running = true;
        m.m_tab.setBusy(true);
        m.m_state.runFlag = true;
        m.m_tab.SpeedButton5->setEnabled(true);
    }
    ~Run()
    {
        m_menu.m_state.runFlag = false;
        m_menu.m_tab.SpeedButton5->setEnabled(false);
        m_menu.m_tab.setBusy(false);
        m_menu.m_running = false;
    }
    Run(const Run &) = delete;
    Run &operator=(const Run &) = delete;

    tools::MessagePacer pacer;

private:
    EditorMenu &m_menu;
};

EditorMenu::EditorMenu(TextEditTab &tab, MainState &state, QMenu *menu, QAction *about, Dialogs dialogs,
                       QWidget *mainWindow)
    : QObject(&tab)
    , PopupMenu1(menu)
    , m_tab(tab)
    , m_editor(tab.editor)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_mainWindow(mainWindow)
{
    build(about);
    guardedConnect(PopupMenu1, &QMenu::aboutToShow, this, &EditorMenu::PopupMenu1Popup);
    guardedConnect(m_editor, &LineEditor::copyRequested, this, &EditorMenu::N11Click);
    guardedConnect(m_editor, &LineEditor::cutRequested, this, &EditorMenu::N10Click);
    m_editor->setContextMenu(PopupMenu1);
}

QAction *EditorMenu::item(const char *name, const QString &caption, void (EditorMenu::*handler)(), QAction *before)
{
    auto *a = new QAction(caption, PopupMenu1);
    a->setObjectName(QString::fromLatin1(name));
    PopupMenu1->insertAction(before, a);
    if (handler)
        guardedConnect(a, &QAction::triggered, this, handler);
    return a;
}

QAction *EditorMenu::separator(const char *name, QAction *before)
{
    auto *a = new QAction(PopupMenu1);
    a->setSeparator(true);
    a->setObjectName(QString::fromLatin1(name));
    PopupMenu1->insertAction(before, a);
    return a;
}

void EditorMenu::build(QAction *about)
{
    N25 = about;
    // Everything before "バージョン情報", in display order.
    N20 = item("N20", QStringLiteral("クリア"), &EditorMenu::N20Click, about);
    N10 = item("N10", QStringLiteral("カット"), &EditorMenu::N10Click, about);
    N11 = item("N11", QStringLiteral("コピー"), &EditorMenu::N11Click, about);
    N12 = item("N12", QStringLiteral("ペースト"), &EditorMenu::N12Click, about);
    N9 = separator("N9", about);
    N1 = item("N1", QStringLiteral("すべて全角に"), &EditorMenu::N1Click, about);
    N2 = item("N2", QStringLiteral("選択範囲を全角に"), &EditorMenu::N2Click, about);
    N3 = separator("N3", about);
    N4 = item("N4", QStringLiteral("すべて半角に"), &EditorMenu::N4Click, about);
    N5 = item("N5", QStringLiteral("選択範囲を半角に"), &EditorMenu::N5Click, about);
    N22 = separator("N22", about);
    N28 = item("N28", QStringLiteral("すべての半角 ( ) を全角に "), &EditorMenu::N28Click, about);
    N29 = separator("N29", about);

    N21 = new QMenu(QStringLiteral("その他のすべてを変換"), PopupMenu1);
    N21->setObjectName(QStringLiteral("N21"));
    PopupMenu1->insertMenu(about, N21);
    const struct {
        QAction **action;
        const char *name;
        const char16_t *caption;
        tools::Conversion conversion;
    } submenu[] = {
        {&N23, "N23", u"半角カタカナを全角に", tools::Conversion::HanKanaToZen},
        {&N24, "N24", u"全角カタカナを半角に", tools::Conversion::ZenKanaToHan},
        {&N091, "N091", u"半角数字(0..9)を全角に", tools::Conversion::HanDigitToZen},
        {&N092, "N092", u"全角数字(0..9)を半角に", tools::Conversion::ZenDigitToHan},
        {&N094, "N094", u"半角数値(0..9+-.,)を全角に", tools::Conversion::HanNumToZen},
        {&N093, "N093", u"全角数値(0..9+-.,)を半角に", tools::Conversion::ZenNumToHan},
        {&AZ1, "AZ1", u"半角アルファベット(A..Z)を全角に", tools::Conversion::HanAlphaToZen},
        {&AZ2, "AZ2", u"全角アルファベット(A..Z)を半角に", tools::Conversion::ZenAlphaToHan},
        {&N27, "N27", u"半角記号を全角に", tools::Conversion::HanSymbolToZen},
        {&N26, "N26", u"全角記号を半角に", tools::Conversion::ZenSymbolToHan},
    };
    for (const auto &s : submenu) {
        QAction *a = N21->addAction(QString::fromUtf16(s.caption));
        a->setObjectName(QString::fromLatin1(s.name));
        *s.action = a;
        m_conversions[a] = s.conversion;
        guardedConnect(a, &QAction::triggered, this, [this, a] { N23Click(a); });
    }

    N6 = separator("N6", about);
    N7 = item("N7", QStringLiteral("すべて置換"), &EditorMenu::N7Click, about);
    N8 = item("N8", QStringLiteral("選択範囲を置換"), &EditorMenu::N8Click, about);
    N13 = separator("N13", about);
    N14 = item("N14", QStringLiteral("すべて加算"), &EditorMenu::N14Click, about);
    N15 = item("N15", QStringLiteral("選択範囲を加算"), &EditorMenu::N15Click, about);
    N16 = separator("N16", about);
    N17 = item("N17", QStringLiteral("連番作成"), &EditorMenu::N17Click, about);
    N18 = separator("N18", about);
    // After it: a separator and "取り消し", which only closes the menu.
    PopupMenu1->removeAction(about);
    PopupMenu1->addAction(about);
    N30 = separator("N30", nullptr);
    PopupMenu1->addAction(N30);
    N19 = item("N19", QStringLiteral("取り消し"), nullptr, nullptr);
}

bool EditorMenu::busy() const
{
    return m_running || m_tab.isBusy();
}

void EditorMenu::PopupMenu1Popup()
{
    for (QAction *a : PopupMenu1->actions())
        a->setEnabled(true);
    const bool hasLines = m_editor->lineCount() >= 1;
    const bool hasSelection = m_editor->selLength() > 0;
    for (QAction *a : {N1, N4, N7, N14})
        a->setEnabled(hasLines);
    for (QAction *a : {N2, N5, N8, N10, N11, N15})
        a->setEnabled(hasSelection);
    // While a command runs only copying is safe; the rest waits for it.
    if (busy()) {
        for (QAction *a : PopupMenu1->actions())
            if (a != N11 && a != N19 && !a->isSeparator())
                a->setEnabled(false);
    }
}

// --- Clipboard and clear ---------------------------------------------------

void EditorMenu::N20Click()
{
    if (busy())
        return;
    m_tab.UndoMark(true);
    m_editor->clearLines();
}

void EditorMenu::N10Click()
{
    QApplication::clipboard()->setText(m_editor->selectedText());
    if (busy())
        return;  // the text stays; nothing may change under a running command
    m_editor->replaceSelection(QString());
}

void EditorMenu::N11Click()
{
    QApplication::clipboard()->setText(m_editor->selectedText());
}

void EditorMenu::N12Click()
{
    if (busy())
        return;
    m_tab.UndoMark(true);
    m_editor->pasteFromClipboard();
}

// --- Conversions -----------------------------------------------------------

void EditorMenu::putSelection(const QTextCursor &selection, const tools::LineSplit &split)
{
    // Back to the selection the command started with (pumps may have
    // moved the caret), then one replacement in the control's history.
    m_editor->setTextCursor(selection);
    m_editor->replaceSelection(toQ(tools::joinLines(split)));
}

void EditorMenu::changeAllLines(const LinesCommand &command)
{
    m_tab.UndoMark(true);
    Run run(*this);
    tools::Lines lines = toLines(m_editor->lines());
    command(lines, run.pacer);
    m_editor->setLines(toList(lines));  // one update; empties the control's history
}

void EditorMenu::changeSelection(const QTextCursor &selection, const QString &selected, const LinesCommand &command)
{
    m_tab.UndoMark(true);
    Run run(*this);
    tools::LineSplit split = tools::splitLines(fromQ(selected));
    command(split.lines, run.pacer);
    putSelection(selection, split);
}

void EditorMenu::convertAll(tools::Conversion conversion)
{
    if (busy())
        return;
    changeAllLines([&](tools::Lines &lines, tools::MessagePacer &pacer) {
        tools::convertLines(lines, conversion, pacer, m_state.runFlag);
    });
}

void EditorMenu::convertSelection(tools::Conversion conversion)
{
    if (busy())
        return;
    if (m_editor->selLength() == 0)
        return;
    changeSelection(m_editor->textCursor(), m_editor->selectedText(),
                    [&](tools::Lines &lines, tools::MessagePacer &pacer) {
                        tools::convertLines(lines, conversion, pacer, m_state.runFlag);
                    });
}

void EditorMenu::N1Click()
{
    convertAll(tools::Conversion::AllToZen);
}
void EditorMenu::N4Click()
{
    convertAll(tools::Conversion::AllToHan);
}
void EditorMenu::N28Click()
{
    convertAll(tools::Conversion::Parentheses);
}
void EditorMenu::N2Click()
{
    convertSelection(tools::Conversion::AllToZen);
}
void EditorMenu::N5Click()
{
    convertSelection(tools::Conversion::AllToHan);
}

void EditorMenu::N23Click(QAction *sender)
{
    const auto found = m_conversions.find(sender);
    if (found == m_conversions.end() || busy())
        return;
    m_tab.UndoMark(true);
    Run run(*this);
    // Lines are written back in place, each only when it changed: the
    // control's history and caret stay as they were.
    const tools::Lines before = toLines(m_editor->lines());
    tools::Lines lines = before;
    const std::size_t visited = tools::convertLines(lines, found->second, run.pacer, m_state.runFlag);
    m_editor->beginUpdate();
    const auto end = qScopeGuard([this] { m_editor->endUpdate(); });
    for (std::size_t i = 0; i < visited; ++i)
        if (lines[i] != before[i])
            m_editor->putLine(int(i), toQ(lines[i]));
}

// --- Replace ---------------------------------------------------------------

void EditorMenu::N7Click()
{
    if (busy())
        return;
    TTalvoTikanForm &dialog = *m_dialogs.tikan;
    if (m_editor->lineCount() >= 1) {
        dialog.Edit1->setText(m_editor->line(0));
        dialog.Edit2->setText(m_editor->line(0));
    }
    if (dialog.execFor(m_mainWindow) != QDialog::Accepted || dialog.Edit1->text().isEmpty())
        return;
    const tools::ReplaceOptions options = dialog.options();
    changeAllLines([&](tools::Lines &lines, tools::MessagePacer &pacer) {
        tools::replaceLines(lines, options, pacer, m_state.runFlag);
    });
}

void EditorMenu::N8Click()
{
    if (busy())
        return;
    TTalvoTikanForm &dialog = *m_dialogs.tikan;
    const QString selected = m_editor->selectedText();
    if (m_editor->lineCount() >= 1) {
        const QString first = selected.section(u'\r', 0, 0);
        dialog.Edit1->setText(first);
        dialog.Edit2->setText(first);
    }
    const QTextCursor selection = m_editor->textCursor();
    if (dialog.execFor(m_mainWindow) != QDialog::Accepted || dialog.Edit1->text().isEmpty())
        return;
    // The selection command always matches case exactly.
    tools::ReplaceOptions options = dialog.options();
    options.ignoreCase = false;
    changeSelection(selection, selected, [&](tools::Lines &lines, tools::MessagePacer &pacer) {
        tools::replaceLines(lines, options, pacer, m_state.runFlag);
    });
}

// --- Number addition -------------------------------------------------------

void EditorMenu::N14Click()
{
    if (busy())
        return;
    TTalvoKasanForm &dialog = *m_dialogs.kasan;
    if (dialog.execFor(m_mainWindow) != QDialog::Accepted)
        return;
    const tools::AdditionOptions options = dialog.options();
    if (options.addend == 0)
        return;
    changeAllLines([&](tools::Lines &lines, tools::MessagePacer &pacer) {
        tools::addToLines(lines, options, pacer, m_state.runFlag);
    });
}

void EditorMenu::N15Click()
{
    if (busy())
        return;
    TTalvoKasanForm &dialog = *m_dialogs.kasan;
    const QTextCursor selection = m_editor->textCursor();
    if (dialog.execFor(m_mainWindow) != QDialog::Accepted)
        return;
    const tools::AdditionOptions options = dialog.options();
    if (options.addend == 0)
        return;
    changeSelection(selection, m_editor->selectedText(), [&](tools::Lines &lines, tools::MessagePacer &pacer) {
        tools::addToLines(lines, options, pacer, m_state.runFlag);
    });
}

// --- Serial numbers --------------------------------------------------------

void EditorMenu::N17Click()
{
    if (busy())
        return;
    TTalvoRenbanForm &dialog = *m_dialogs.renban;
    // The line that holds the start of the selection (the caret's line
    // when nothing is selected).
    const QTextCursor caret = m_editor->textCursor();
    const int insertAt = m_editor->document()->findBlock(caret.selectionStart()).blockNumber();
    if (dialog.execFor(m_mainWindow, TTalvoRenbanForm::Target::Editor) != QDialog::Accepted)
        return;
    m_tab.UndoMark(true);
    const QStringList strings = toList(tools::serialStrings(dialog.run()));
    if (strings.isEmpty())
        return;
    if (dialog.placement() == TTalvoRenbanForm::Placement::Insert)
        m_editor->insertLines(insertAt, strings);
    else
        m_editor->insertLines(m_editor->lineCount(), strings);
}
