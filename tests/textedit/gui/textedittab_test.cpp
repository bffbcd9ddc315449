#include "support/hostfixture.h"

#include "ui/fonts.h"
#include "textedit/gui/lineeditor.h"
#include "textedit/gui/textedittab.h"

#include "ui/messages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {
QStringList g_messages;
void collect(const QString &, const QString &text)
{
    g_messages << text;
}
constexpr cad::WindowHandle kMainWindow = 77;
} // namespace

class TextEditTabTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<HostBench> hb;
    std::unique_ptr<MainState> state;
    std::unique_ptr<QLabel> panel0, panel1;
    std::unique_ptr<TextEditTab> tab;

    void pickTexts(std::vector<cadhost::EntityId> ids)
    {
        hb->host.scriptedPicker().queueIds(std::move(ids));
        tab->SpeedButton1->click();
    }
    QStringList lines() const { return tab->editor->lines(); }

private slots:
    void initTestCase()
    {
        installFontSubstitutions();
        setMessageSink(collect);
        cad::setMainWindowHandle(kMainWindow);
    }

    void init()
    {
        g_messages.clear();
        textList.clear();
        hb = std::make_unique<HostBench>();
        state = std::make_unique<MainState>();
        panel0 = std::make_unique<QLabel>();
        panel1 = std::make_unique<QLabel>();
        tab = std::make_unique<TextEditTab>(*state, panel0.get(), panel1.get());
    }

    void cleanup()
    {
        tab.reset();
        hb.reset();
    }

    void startsWithTheSpecifiedControls()
    {
        QCOMPARE(tab->findChild<QToolButton *>("SpeedButton2")->text(), QStringLiteral("更新(Ctrl+Enter)"));
        QVERIFY(!tab->SpeedButton2->isEnabled());
        QVERIFY(!tab->SpeedButton6->isEnabled());
        QVERIFY(!tab->SpeedButton5->isEnabled());
        QVERIFY(!tab->SpeedButton4->isEnabled());
        QVERIFY(tab->CheckBox1->isChecked());
        QCOMPARE(tab->findChild<LineEditor *>("editor"), tab->editor);
        QCOMPARE(tab->editor->geometry(), QRect(0, 98, 316, 174));
        QVERIFY(!tab->Edit1->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(tab->SpeedButton3->geometry(), QRect(139, 70, 74, 22));
    }

    void textFetchExcludesLockedLayersAndProposesTheStep()
    {
        hb->d.addLayer(u"LOCK", 7, true);
        pickTexts({hb->text(u"a", 0, 50), hb->text(u"b", 0, 40, u"LOCK"), hb->text(u"c", 0, 30),
                   hb->text(u"d", 0, 20, u"LOCK"), hb->text(u"e", 0, 10)});
        QCOMPARE(lines(), (QStringList{"a", "c", "e"}));
        QCOMPARE(g_messages, QStringList{QStringLiteral("ロック画層のTEXT 2 個を除外しました.")});
        QCOMPARE(tab->Edit1->text(), QStringLiteral("0.00"));
        QCOMPARE(tab->Edit2->text(), QStringLiteral("-20.00"));
        QCOMPARE(tab->Edit1->palette().color(QPalette::Text), QColor(Qt::black));
        QVERIFY(tab->SpeedButton2->isEnabled());
        QVERIFY(tab->SpeedButton6->isEnabled());
        QVERIFY(!state->ATTmode);
        // The main window went down for the pick and came back.
        auto &log = hb->win.log;
        QVERIFY(std::find(log.begin(), log.end(), "minimise 77") != log.end());
        QVERIFY(std::find(log.begin(), log.end(), "normal 77") != log.end());
    }

    void zeroStepIsRedWithItsMessage_data()
    {
        QTest::addColumn<double>("secondX");
        QTest::newRow("one text") << -1.0;
        QTest::newRow("0.004 apart") << 0.004;
    }

    void zeroStepIsRedWithItsMessage()
    {
        QFETCH(double, secondX);
        std::vector<cadhost::EntityId> ids = {hb->text(u"a", 0, 0)};
        if (secondX >= 0)
            ids.push_back(hb->text(u"b", secondX, 0));
        tab->CheckBox1->setChecked(false);
        pickTexts(ids);
        QCOMPARE(tab->Edit1->text(), QStringLiteral("0.00"));
        QCOMPARE(tab->Edit2->text(), QStringLiteral("0.00"));
        QCOMPARE(tab->Edit2->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(g_messages.size(), 1);
        QVERIFY(g_messages[0].startsWith(QStringLiteral("dX, dY が 0 です．")));
        QCOMPARE(tab->SpeedButton6->isEnabled(), secondX >= 0);
    }

    void textWithTheCadClosedOnlyClearsTheFeedback()
    {
        tab->editor->setLines({"kept"});
        tab->Label1->setText("x");
        panel0->setText("p");
        state->ATTmode = true;
        hb->host.stop();
        tab->SpeedButton1->click();
        QVERIFY(!state->ATTmode);
        QVERIFY(tab->Label1->text().isEmpty());
        QVERIFY(panel0->text().isEmpty());
        QCOMPARE(lines(), QStringList{"kept"});
        QVERIFY(g_messages.isEmpty());
    }

    void aFailedFetchStillRestoresTheMainWindow()
    {
        tab->editor->setLines({"kept"});
        hb->host.faults().failMember(u"Layers");
        tab->SpeedButton1->click();
        QCOMPARE(g_messages.size(), 1);  // the default error report
        QCOMPARE(lines(), QStringList{"kept"});
        auto &log = hb->win.log;
        QCOMPARE(log.back(), std::string("top 77"));
        QVERIFY(std::find(log.begin(), log.end(), "normal 77") != log.end());
    }

    void attributeFetchWithoutTheTag()
    {
        cadhost::BlockSpec blk;
        blk.name = u"B";
        blk.attributes = {{.tag = u"NO", .prompt = u"", .defaultValue = u"", .point = {0, 0, 0}}};
        hb->d.addBlock(blk);
        std::vector<cadhost::EntityId> ids;
        for (int i = 0; i < 4; ++i)
            ids.push_back(hb->d.addInsert({.block = u"B", .insertionPoint = {double(i), 0, 0}}));
        tab->editor->setLines({"old"});
        tab->SpeedButton2->setEnabled(true);
        tab->ComboBox1->setEditText(QStringLiteral("SENBAN:線番"));
        hb->host.scriptedPicker().queueIds(ids);
        tab->SpeedButton8->click();
        QVERIFY(state->ATTmode);
        QCOMPARE(tab->editor->lineCount(), 0);
        QCOMPARE(tab->Label2->text(), QStringLiteral("SENBAN = 0 / 4"));
        QVERIFY(!tab->SpeedButton2->isEnabled());
        QCOMPARE(tab->Edit1->text(), QStringLiteral("0.00"));
        QCOMPARE(tab->Edit1->palette().color(QPalette::Text), QColor(255, 0, 0));
        QVERIFY(g_messages.isEmpty());
    }

    void ctrlEnterWritesBackTypedJapaneseEvenWithTheButtonDisabled()
    {
        auto a = hb->text(u"a", 0, 10), b = hb->text(u"b", 0, 0);
        pickTexts({a, b});
        tab->SpeedButton2->setEnabled(false);
        tab->editor->moveCursor(QTextCursor::End);
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("日本"));
        QApplication::sendEvent(tab->editor, &commit);
        QTest::keyClick(tab->editor, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(hb->entity(b).text, u"b日本");
        QCOMPARE(hb->entity(a).text, u"a");
        QCOMPARE(tab->editor->lineCount(), 2);  // no line break typed
        QVERIFY(!state->runFlag);
        QVERIFY(!tab->SpeedButton5->isEnabled());
        QVERIFY(tab->Label2->isHidden());
        QVERIFY(!tab->SpeedButton3->isHidden());
        QCOMPARE(hb->d.history().steps().size(), std::size_t(1));
    }

    void whileWritingOnlyAbortActs()
    {
        pickTexts({hb->text(u"a", 0, 0)});
        tab->Edit2->setText("-10");
        tab->editor->setLines({"a", "b", "c", "d", "e"});
        bool readOnly = false, fetchEnabled = true, abortEnabled = false;
        QTimer::singleShot(0, tab.get(), [&] {
            readOnly = tab->editor->isReadOnly();
            fetchEnabled = tab->SpeedButton1->isEnabled();
            abortEnabled = tab->SpeedButton5->isEnabled();
            tab->SpeedButton1->click();  // ignored while busy
            tab->SpeedButton5->click();
        });
        tab->SpeedButton2->click();
        QVERIFY(readOnly);
        QVERIFY(!fetchEnabled);
        QVERIFY(abortEnabled);
        QVERIFY(hb->texts().size() < 5);
        QVERIFY(!tab->editor->isReadOnly());
        QVERIFY(tab->SpeedButton1->isEnabled());
        QVERIFY(!state->runFlag);
    }

    void failedWriteBackLeavesAbortEnabled()
    {
        pickTexts({hb->text(u"a", 0, 0), hb->text(u"b", 0, -5)});
        tab->editor->setLines({"a", "b", "c"});
        hb->host.faults().failMember(u"Copy");
        tab->SpeedButton2->click();
        QCOMPARE(g_messages.last(), QStringLiteral("エラーのため、更新を中止しました．"));
        QVERIFY(!hb->d.history().groupOpen());
        QVERIFY(state->runFlag);
        QVERIFY(tab->SpeedButton5->isEnabled());
        QCOMPARE(int(textList.size()), 3);
        tab->SpeedButton5->click();
        QVERIFY(!state->runFlag);
        QVERIFY(!tab->SpeedButton5->isEnabled());
    }

    void enterInTheStepFieldsAligns()
    {
        tab->show();
        QVERIFY(QTest::qWaitForWindowActive(tab.get()));
        auto a = hb->text(u"a", 0, 5), b = hb->text(u"b", 7, 5), c = hb->text(u"c", 30, 5);
        pickTexts({a, b, c});
        tab->Edit1->setFocus();
        tab->Edit1->setText("10");
        QTest::keyClick(tab->Edit1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), tab->Edit2);
        tab->Edit2->setText("0");
        QTest::keyClick(tab->Edit2, Qt::Key_Return);
        QCOMPARE(hb->entity(b).insertionPoint, (cad::Point{10, 5, 0}));
        QCOMPARE(hb->entity(c).insertionPoint, (cad::Point{20, 5, 0}));
        QCOMPARE(QApplication::focusWidget(), tab->Edit2);
        QVERIFY(!state->runFlag);
        QVERIFY(hb->d.undo());
        QCOMPARE(hb->entity(c).insertionPoint, (cad::Point{30, 5, 0}));
    }

    void undoButtonUsesTheControlThenTheSnapshot()
    {
        tab->editor->setLines({"before"});
        tab->UndoMark(true);
        tab->editor->setText(QStringLiteral("converted"));  // a whole-text tool empties the history
        QVERIFY(tab->SpeedButton4->isEnabled());
        tab->SpeedButton4->click();
        QCOMPARE(lines(), QStringList{"before"});
        QVERIFY(!tab->SpeedButton4->isEnabled());
        QVERIFY(!state->undoFlag);

        tab->UndoMark(true);
        tab->editor->selectAll();
        tab->editor->replaceSelection(QStringLiteral("sel"));
        tab->SpeedButton4->click();  // undone through the control
        QCOMPARE(lines(), QStringList{"before"});
        QVERIFY(state->undoFlag);
    }

    void statusLineCountsDataLinesAndSelectedRows()
    {
        QStringList twelve;
        for (int i = 0; i < 10; ++i)
            twelve << QString::number(i);
        twelve << "" << " ";
        tab->editor->setLines(twelve);
        tab->timerTick();
        QCOMPARE(tab->Label1->text(), QStringLiteral("取得データ数 = 10"));
        QCOMPARE(panel0->text(), QStringLiteral("Row = 1 / 10 Col= 1"));
        QCOMPARE(panel1->text(), QStringLiteral("selRows = 0"));
        QCOMPARE(state->iLineLast, 10);

        tab->editor->setLines({"a", QStringLiteral("\u3000")});
        tab->timerTick();
        QCOMPARE(state->iLineLast, 2);

        tab->editor->setLines({"abcdef", "ghijkl", "mnopqr"});
        auto select = [&](int from, int to) {
            QTextCursor c(tab->editor->document());
            c.setPosition(from);
            c.setPosition(to, QTextCursor::KeepAnchor);
            tab->editor->setTextCursor(c);
            tab->timerTick();
            return panel1->text();
        };
        QCOMPARE(select(1, 4), QStringLiteral("selRows = 1"));
        QCOMPARE(select(0, 14), QStringLiteral("selRows = 2"));
        QCOMPARE(select(3, 17), QStringLiteral("selRows = 3"));
    }

    void statusColourShowsLinesWithoutRecords()
    {
        textList.assign(4, Talvo{});
        tab->editor->setLines({"1", "2", "3", "4", "5"});
        const QColor window = tab->editor->backgroundColour();
        auto colourOnLine = [&](int line, bool attMode) {
            state->ATTmode = attMode;
            QTextCursor c(tab->editor->document()->findBlockByNumber(line - 1));
            tab->editor->setTextCursor(c);
            tab->timerTick();
            return tab->editor->backgroundColour();
        };
        QCOMPARE(colourOnLine(5, true), QColor(255, 255, 0));
        QCOMPARE(colourOnLine(5, false), QColor(221, 255, 253));
        QCOMPARE(colourOnLine(4, true), window);
        QCOMPARE(colourOnLine(4, false), window);
        // ATTR mode counts the records, not the lines.
        state->ATTmode = true;
        tab->timerTick();
        QCOMPARE(state->iLineLast, 4);
        // The Undo button follows the control's history or a held snapshot.
        QTest::keyClicks(tab->editor, "x");
        tab->timerTick();
        QVERIFY(tab->SpeedButton4->isEnabled());
        tab->editor->setLines({"1"});
        tab->timerTick();
        QVERIFY(!tab->SpeedButton4->isEnabled());
    }
};

QTEST_MAIN(TextEditTabTest)
#include "textedittab_test.moc"
