#include "textedit/gui/editormenu.h"

#include "textedit/gui/lineeditor.h"
#include "textedit/gui/textedittab.h"
#include "tools/gui/formkit.h"
#include "tools/gui/talvokasanform.h"
#include "tools/gui/talvorenbanform.h"
#include "tools/gui/talvotikanform.h"

#include "ui/fonts.h"
#include "ui/statuspanels.h"
#include "state/mainstate.h"
#include "ui/messages.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

namespace {
QStringList g_messages;
void collect(const QString &, const QString &text)
{
    g_messages << text;
}

// Acts inside the next modal dialog's loop.
void during(const std::function<void()> &f)
{
    QTimer::singleShot(0, f);
}
void click(QAbstractButton *b)
{
    QTest::mouseClick(b, Qt::LeftButton);
}
}  // namespace

class EditorMenuTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<MainState> state;
    std::unique_ptr<QWidget> main;
    TextEditTab *tab = nullptr;
    LineEditor *ed = nullptr;
    QMenu *popup = nullptr;
    TTalvoTikanForm *tikan = nullptr;
    TTalvoKasanForm *kasan = nullptr;
    TTalvoRenbanForm *renban = nullptr;
    EditorMenu *menu = nullptr;

    void setLines(const QStringList &l) { ed->setLines(l); }
    QStringList lines() const { return ed->lines(); }
    // Selects lines [first, last] entirely, the break after the last one included.
    void selectWholeLines(int first, int last)
    {
        QTextCursor c(ed->document()->findBlockByNumber(first));
        c.setPosition(ed->document()->findBlockByNumber(last + 1).position(), QTextCursor::KeepAnchor);
        ed->setTextCursor(c);
    }
    void selectInLine(int line, int from, int to)
    {
        const int start = ed->document()->findBlockByNumber(line).position();
        QTextCursor c(ed->document());
        c.setPosition(start + from);
        c.setPosition(start + to, QTextCursor::KeepAnchor);
        ed->setTextCursor(c);
    }
    void openMenu()
    {
        popup->popup(QPoint(0, 0));
        popup->hide();
    }
    void replace(QAction *command, const QString &search, const QString &replacement, bool ignoreCase)
    {
        during([=, this] {
            tikan->Edit1->setText(search);
            tikan->Edit2->setText(replacement);
            tikan->CheckBox1->setChecked(ignoreCase);
            click(tikan->Button1);
        });
        command->trigger();
    }
    void add(QAction *command, QAbstractButton *radix, const QString &addend, bool fromEnd = true, int digits = 2)
    {
        during([=, this] {
            click(radix);
            (fromEnd ? kasan->RadioButton2 : kasan->RadioButton1)->setChecked(true);
            kasan->UpDown1->setPosition(digits);
            kasan->Edit1->setText(addend);
            click(kasan->Button1);
        });
        command->trigger();
    }

private slots:
    void initTestCase()
    {
        installFontSubstitutions();
        setMessageSink(collect);
    }
    void init()
    {
        g_messages.clear();
        state = std::make_unique<MainState>();
        main = std::make_unique<QWidget>();
        auto *bar = new QStatusBar(main.get());
        addStatusPanels(bar);
        tab = new TextEditTab(*state, bar, main.get());
        ed = tab->editor;
        popup = new QMenu(main.get());
        QAction *about = popup->addAction(QStringLiteral("バージョン情報"));
        about->setObjectName(QStringLiteral("N25"));
        tikan = new TTalvoTikanForm(main.get());
        kasan = new TTalvoKasanForm(main.get());
        renban = new TTalvoRenbanForm(main.get());
        menu = new EditorMenu(*tab, *state, popup, about, {tikan, kasan, renban}, main.get());
        main->resize(320, 400);
        tab->resize(316, 300);
        main->show();
    }
    void cleanup() { main.reset(); }

    void itemsInOrder();
    void enabledRules();
    void clipboardCommands();
    void wholeTextConversionAndUndo();
    void selectionConversionKeepsItsLineBreaks();
    void submenuConversionsWriteLinesInPlace();
    void abortMidConversion();
    void replaceAllAndSelection();
    void additionInThreeRadixes();
    void serialInsertAndAppend();
    void badInputLosesNothing();
};

void EditorMenuTest::itemsInOrder()
{
    QStringList names;
    for (QAction *a : popup->actions())
        names << (a->menu() ? a->menu()->objectName() : a->objectName()) + (a->isSeparator() ? "-" : "");
    QCOMPARE(names.join(u' '), QStringLiteral("N20 N10 N11 N12 N9- N1 N2 N3- N4 N5 N22- N28 N29- N21 N6- N7 N8 "
                                              "N13- N14 N15 N16- N17 N18- N25 N30- N19"));
    QStringList sub;
    for (QAction *a : menu->N21->actions())
        sub << a->objectName();
    QCOMPARE(sub.join(u' '), QStringLiteral("N23 N24 N091 N092 N094 N093 AZ1 AZ2 N27 N26"));
    QCOMPARE(menu->N28->text(), QStringLiteral("すべての半角 ( ) を全角に "));
    QCOMPARE(menu->N21->title(), QStringLiteral("その他のすべてを変換"));
    QCOMPARE(menu->AZ2->text(), QStringLiteral("全角アルファベット(A..Z)を半角に"));
}

void EditorMenuTest::enabledRules()
{
    openMenu();
    for (QAction *a :
         {menu->N1, menu->N4, menu->N7, menu->N14, menu->N2, menu->N5, menu->N8, menu->N10, menu->N11, menu->N15})
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    for (QAction *a : {menu->N28, menu->N12, menu->N20, menu->N17, menu->N21->menuAction()})
        QVERIFY2(a->isEnabled(), qPrintable(a->objectName()));

    setLines({QStringLiteral("ab"), QStringLiteral("cd")});
    openMenu();
    for (QAction *a : {menu->N1, menu->N4, menu->N7, menu->N14})
        QVERIFY(a->isEnabled());
    QVERIFY(!menu->N2->isEnabled());
    selectInLine(0, 0, 1);
    openMenu();
    for (QAction *a : {menu->N2, menu->N5, menu->N8, menu->N10, menu->N11, menu->N15})
        QVERIFY(a->isEnabled());
}

void EditorMenuTest::clipboardCommands()
{
    setLines({QStringLiteral("abc"), QStringLiteral("def")});
    QApplication::clipboard()->setText(QStringLiteral("keep"));
    ed->setFocus();
    QTest::keyClick(ed, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString());  // nothing selected
    QApplication::clipboard()->setText(QStringLiteral("keep"));
    QTest::keyClick(ed, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString());
    QCOMPARE(lines(), (QStringList{QStringLiteral("abc"), QStringLiteral("def")}));

    selectInLine(0, 1, 3);
    QTest::keyClick(ed, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("bc"));
    QCOMPARE(lines().first(), QStringLiteral("a"));
    QVERIFY(!state->undoFlag);  // cut takes no snapshot

    selectInLine(1, 0, 2);
    menu->N11->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("de"));
    menu->N12->trigger();  // paste over the selection, after a snapshot
    QVERIFY(state->undoFlag);
    QCOMPARE(lines(), (QStringList{QStringLiteral("a"), QStringLiteral("def")}));
    menu->N20->trigger();
    QCOMPARE(ed->lineCount(), 0);
    click(tab->SpeedButton4);
    QCOMPARE(lines(), (QStringList{QStringLiteral("a"), QStringLiteral("def")}));
}

void EditorMenuTest::wholeTextConversionAndUndo()
{
    setLines({QStringLiteral("ab1"), QStringLiteral("f(x)+(y)")});
    menu->N1->trigger();
    QCOMPARE(lines(), (QStringList{QStringLiteral("ａｂ１"), QStringLiteral("ｆ（ｘ）＋（ｙ）")}));
    QVERIFY(!ed->canUndo());  // the control's history was emptied
    QVERIFY(tab->SpeedButton4->isEnabled());
    QVERIFY(!state->runFlag && !tab->SpeedButton5->isEnabled());
    click(tab->SpeedButton4);
    QCOMPARE(lines(), (QStringList{QStringLiteral("ab1"), QStringLiteral("f(x)+(y)")}));
    QVERIFY(!tab->SpeedButton4->isEnabled());

    menu->N28->trigger();
    QCOMPARE(lines().at(1), QStringLiteral("f（x）+（y）"));
    menu->N4->trigger();
    QCOMPARE(lines().at(1), QStringLiteral("f(x)+(y)"));
}

void EditorMenuTest::selectionConversionKeepsItsLineBreaks()
{
    setLines({QStringLiteral(" ab"), QStringLiteral("cd"), QStringLiteral("ef")});
    selectWholeLines(0, 1);
    QCOMPARE(ed->selectedText(), QStringLiteral(" ab\r\ncd\r\n"));
    menu->N2->trigger();
    // The final break and the blanks stay (converted, not trimmed): lines
    // still pair with their texts.
    QCOMPARE(lines(), (QStringList{QStringLiteral("\u3000ａｂ"), QStringLiteral("ｃｄ"), QStringLiteral("ef")}));
    QVERIFY(state->undoFlag);
    // Undo goes through the control first, then to the snapshot.
    QVERIFY(ed->canUndo());
    click(tab->SpeedButton4);
    QCOMPARE(lines(), (QStringList{QStringLiteral(" ab"), QStringLiteral("cd"), QStringLiteral("ef")}));
    QVERIFY(state->undoFlag);
    ed->setLines({QStringLiteral("other")});
    click(tab->SpeedButton4);
    QCOMPARE(lines(), (QStringList{QStringLiteral(" ab"), QStringLiteral("cd"), QStringLiteral("ef")}));

    selectInLine(2, 0, 1);
    menu->N5->trigger();
    QCOMPARE(lines().at(2), QStringLiteral("ef"));
    selectWholeLines(0, 0);
    menu->N2->trigger();
    menu->N5->trigger();  // the selection was replaced: nothing selected now
    QCOMPARE(lines(), (QStringList{QStringLiteral("\u3000ａｂ"), QStringLiteral("cd"), QStringLiteral("ef")}));
}

void EditorMenuTest::submenuConversionsWriteLinesInPlace()
{
    setLines({QStringLiteral("ｱｲ"), QStringLiteral("12"), QStringLiteral("x")});
    ed->setTextCursor(QTextCursor(ed->document()->findBlockByNumber(2)));
    menu->N23->trigger();
    QCOMPARE(lines().at(0), QStringLiteral("アイ"));
    QCOMPARE(ed->caretLine(), 3);  // written in place: the caret stays
    menu->N091->trigger();
    QCOMPARE(lines().at(1), QStringLiteral("１２"));
    menu->AZ1->trigger();
    QCOMPARE(lines().at(2), QStringLiteral("ｘ"));
    QVERIFY(state->undoFlag);
    menu->N26->trigger();  // no symbols: nothing changes
    QCOMPARE(lines(), (QStringList{QStringLiteral("アイ"), QStringLiteral("１２"), QStringLiteral("ｘ")}));
}

void EditorMenuTest::abortMidConversion()
{
    QStringList many;
    for (int i = 0; i < 10; ++i)
        many << QStringLiteral("a");
    setLines(many);
    // 20 ms per clock read: the first pump comes after the second line;
    // it runs the pending click on "中止".
    std::chrono::steady_clock::time_point t{};
    menu->setPacerClock([&t] { return t += std::chrono::milliseconds(20); });
    bool abortEnabled = false;
    bool commandsWhileRunning = true;
    QTimer::singleShot(0, tab, [&] {
        abortEnabled = tab->SpeedButton5->isEnabled();
        // No second command and no fetch from inside the pumps.
        openMenu();
        commandsWhileRunning = menu->N7->isEnabled() || menu->N25->isEnabled() || tab->SpeedButton1->isEnabled();
        click(tab->SpeedButton5);
    });
    int changes = 0;
    connect(ed->document(), &QTextDocument::contentsChange, this, [&] { ++changes; });
    setLines(many);
    const int oneReplacement = changes;
    changes = 0;
    menu->N1->trigger();
    QVERIFY(abortEnabled);
    QVERIFY(!commandsWhileRunning);
    openMenu();
    QVERIFY(menu->N7->isEnabled() && menu->N25->isEnabled() && tab->SpeedButton1->isEnabled());
    QStringList expected = many;
    expected[0] = expected[1] = QStringLiteral("ａ");
    QCOMPARE(lines(), expected);
    QCOMPARE(changes, oneReplacement);
    QVERIFY(!state->runFlag && !tab->SpeedButton5->isEnabled());
    QVERIFY(!ed->isReadOnly());
}

void EditorMenuTest::replaceAllAndSelection()
{
    setLines({QStringLiteral("ABC abc"), QStringLiteral("Ґ ґ")});
    replace(menu->N7, QStringLiteral("abc"), QStringLiteral("X"), true);
    QCOMPARE(lines().at(0), QStringLiteral("X X"));
    replace(menu->N7, QStringLiteral("ґ"), QStringLiteral("-"), true);
    QCOMPARE(lines().at(1), QStringLiteral("- -"));
    replace(menu->N7, QStringLiteral("x"), QStringLiteral("y"), false);
    QCOMPARE(lines().at(0), QStringLiteral("X X"));

    // The dialog opens with the first line; the selection's first line
    // for the selection command, which matches case exactly.
    setLines({QStringLiteral("ABC abc"), QStringLiteral("abc")});
    QString prefilled;
    during([&] {
        prefilled = tikan->Edit1->text();
        tikan->reject();
    });
    menu->N7->trigger();
    QCOMPARE(prefilled, QStringLiteral("ABC abc"));
    selectWholeLines(0, 0);
    during([&] {
        prefilled = tikan->Edit1->text();
        tikan->Edit1->setText(QStringLiteral("abc"));
        tikan->Edit2->setText(QStringLiteral("X"));
        tikan->CheckBox1->setChecked(true);
        click(tikan->Button1);
    });
    menu->N8->trigger();
    QCOMPARE(prefilled, QStringLiteral("ABC abc"));
    QCOMPARE(lines(), (QStringList{QStringLiteral("ABC X"), QStringLiteral("abc")}));
    QVERIFY(tikan->CheckBox1->isChecked());  // kept for the next use
}

void EditorMenuTest::additionInThreeRadixes()
{
    setLines({QStringLiteral("SW-009"), QString(), QStringLiteral("  P7  "), QStringLiteral("A1B2"),
              QStringLiteral("１２")});
    add(menu->N14, kasan->SpeedButton1, QStringLiteral("1"));
    QCOMPARE(lines(), (QStringList{QStringLiteral("SW-010"), QString(), QStringLiteral("P8"), QStringLiteral("A1B3"),
                                   QStringLiteral("１２")}));
    add(menu->N14, kasan->SpeedButton1, QStringLiteral("1"), false);
    QCOMPARE(lines().at(3), QStringLiteral("A2B3"));

    setLines({QStringLiteral("X0a"), QStringLiteral("FF"), QStringLiteral("G1"), QStringLiteral("A")});
    add(menu->N14, kasan->SpeedButton2, QStringLiteral("1"));
    QCOMPARE(lines(),
             (QStringList{QStringLiteral("X0B"), QStringLiteral("100"), QStringLiteral("G1"), QStringLiteral("0B")}));
    setLines({QStringLiteral("R07"), QStringLiteral("R08")});
    add(menu->N14, kasan->SpeedButton3, QStringLiteral("1"));
    QCOMPARE(lines(), (QStringList{QStringLiteral("R10"), QStringLiteral("R08")}));

    // Negative sums keep the sign in front; a run beyond 32 bits stays.
    setLines({QStringLiteral("R02"), QStringLiteral("003"), QStringLiteral("N99999999999")});
    selectWholeLines(0, 0);
    add(menu->N15, kasan->SpeedButton3, QStringLiteral("-3"));
    QCOMPARE(lines().at(0), QStringLiteral("R-01"));
    QCOMPARE(ed->lineCount(), 3);
    add(menu->N14, kasan->SpeedButton1, QStringLiteral("-5"));
    QCOMPARE(lines().mid(1), (QStringList{QStringLiteral("-002"), QStringLiteral("N99999999999")}));
}

void EditorMenuTest::serialInsertAndAppend()
{
    setLines({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")});
    ed->setTextCursor(QTextCursor(ed->document()->findBlockByNumber(2)));
    QString preview;
    during([&] {
        renban->Edit1->setText(QStringLiteral("sw-"));
        renban->Edit2->setText(QStringLiteral("01"));
        renban->Edit3->setText(QStringLiteral("a"));
        renban->Edit4->setText(QStringLiteral("3"));
        preview = renban->StaticText1->text();
        click(renban->Button3);
    });
    menu->N17->trigger();
    QCOMPARE(preview, QStringLiteral("[ SW-01A ] ～ [ SW-03A ]"));
    QCOMPARE(lines().join(u' '), QStringLiteral("1 2 SW-01A SW-02A SW-03A 3 4 5"));
    QVERIFY(state->undoFlag);

    during([&] {
        click(renban->SpeedButton3);
        renban->Edit1->clear();
        renban->Edit2->setText(QStringLiteral("06"));
        renban->Edit3->clear();
        click(renban->Button1);
    });
    menu->N17->trigger();
    QCOMPARE(lines().mid(8).join(u' '), QStringLiteral("06 07 10"));

    ed->clearLines();
    during([&] {
        renban->Edit1->setText(QStringLiteral("abc"));
        renban->Edit2->clear();
        preview = renban->StaticText1->text();
        click(renban->Button1);
    });
    menu->N17->trigger();
    QCOMPARE(preview, QStringLiteral("[ ABC ] x 3"));
    QCOMPARE(lines().join(u' '), QStringLiteral("ABC ABC ABC"));
    click(tab->SpeedButton4);  // one undo step of the control
    QVERIFY(ed->toPlainText().isEmpty());
}

void EditorMenuTest::badInputLosesNothing()
{
    const QStringList text{QStringLiteral("a1"), QStringLiteral("b2")};
    setLines(text);
    // Empty search, cancel, non-number addend: nothing, quietly.
    replace(menu->N7, QString(), QStringLiteral("x"), true);
    during([&] { tikan->reject(); });
    menu->N7->trigger();
    add(menu->N14, kasan->SpeedButton1, QStringLiteral("abc"));
    add(menu->N14, kasan->SpeedButton1, QString());
    QCOMPARE(lines(), text);
    QVERIFY(!state->undoFlag);
    QVERIFY(g_messages.isEmpty());

    // The serial dialog's errors keep it open, and the editor unchanged.
    struct Case {
        QAbstractButton *radix;
        QString start, count, message;
    };
    const Case cases[] = {
        {renban->SpeedButton3, QStringLiteral("1A"), QStringLiteral("3"), QStringLiteral("'A' は整数ではありません")},
        {renban->SpeedButton1, QString(), QString(), QStringLiteral("'' は整数ではありません")},
        {renban->SpeedButton1, QStringLiteral("1"), QStringLiteral("2000000000"),
         QStringLiteral("作成数 2000000000 は多すぎます。100000 以下にしてください")},
    };
    for (const Case &c : cases) {
        bool stayedOpen = false;
        during([&] {
            click(c.radix);
            renban->Edit2->setText(c.start);
            renban->Edit4->setText(c.count);
            g_messages.clear();
            click(renban->Button1);
            stayedOpen = renban->isVisible();
            renban->reject();
        });
        menu->N17->trigger();
        QVERIFY(stayedOpen);
        QCOMPARE(g_messages.value(0), c.message);
        QCOMPARE(lines(), text);
    }

    // A count of 0 generates nothing and closes the dialog.
    during([&] {
        renban->Edit2->setText(QStringLiteral("1"));
        renban->Edit4->setText(QStringLiteral("0"));
        click(renban->Button1);
    });
    menu->N17->trigger();
    QVERIFY(!renban->isVisible());
    QCOMPARE(lines(), text);
}

QTEST_MAIN(EditorMenuTest)
#include "editormenu_test.moc"
