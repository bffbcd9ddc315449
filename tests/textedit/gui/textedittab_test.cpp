#include "support/hostfixture.h"

#include "ui/fonts.h"
#include "textedit/gui/lineeditor.h"
#include "textedit/gui/textedittab.h"

#include "ui/messages.h"
#include "ui/statuspanels.h"
#include "ui/qstr.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>

namespace {
QStringList g_messages;
std::function<void()> g_atMessage;  // looks at the state while a message shows
void collect(const QString &, const QString &text)
{
    g_messages << text;
    if (g_atMessage)
        g_atMessage();
}
constexpr cad::WindowHandle kMainWindow = 77;

// A pick during which the user clicks around the tab, as the host's own
// pick loop lets them.
class ClickingPicker : public cadhost::Picker {
public:
    ClickingPicker(cadhost::Picker &inner, std::function<void()> clicks) : m_inner(inner), m_clicks(std::move(clicks))
    {}
    std::optional<std::vector<cadhost::EntityId>> selectOnScreen(const cadhost::SelectionFilter &filter) override
    {
        if (++picks == 1 && m_clicks)
            m_clicks();
        return m_inner.selectOnScreen(filter);
    }
    std::optional<cadhost::SubEntityPick> getSubEntity(const std::u16string &prompt) override
    {
        return m_inner.getSubEntity(prompt);
    }
    int picks = 0;

private:
    cadhost::Picker &m_inner;
    std::function<void()> m_clicks;
};
}  // namespace

class TextEditTabTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<HostBench> hb;
    std::unique_ptr<MainState> state;
    std::unique_ptr<QStatusBar> bar;
    std::unique_ptr<TextEditTab> tab;

    void pickTexts(std::vector<cadhost::EntityId> ids)
    {
        hb->host.scriptedPicker().queueIds(std::move(ids));
        tab->SpeedButton1->click();
    }
    QStringList lines() const { return tab->editor->lines(); }
    void ctrlEnter() { QTest::keyClick(tab->editor, Qt::Key_Return, Qt::ControlModifier); }

    // Blocks "B" with one attribute "SENBAN", one reference per value.
    std::vector<cadhost::EntityId> senbanBlocks(const std::vector<std::u16string> &values)
    {
        cadhost::BlockSpec blk;
        blk.name = u"B";
        blk.attributes = {{.tag = u"SENBAN", .prompt = u"", .defaultValue = u"", .point = {0, 0, 0}}};
        hb->d.addBlock(blk);
        std::vector<cadhost::EntityId> ids;
        for (std::size_t i = 0; i < values.size(); ++i)
            ids.push_back(hb->d.addInsert(
                {.block = u"B", .insertionPoint = {0, -10.0 * double(i), 0}, .attributes = {{u"SENBAN", values[i]}}}));
        return ids;
    }
    void pickAttributes(std::vector<cadhost::EntityId> ids)
    {
        tab->ComboBox1->setEditText(QStringLiteral("SENBAN:線番"));
        if (ids.empty())
            hb->host.scriptedPicker().queueCancel();
        else
            hb->host.scriptedPicker().queueIds(std::move(ids));
        tab->SpeedButton8->click();
    }
    std::u16string attributeOf(cadhost::EntityId insert) const
    {
        return hb->entity(hb->entity(insert).attributes.at(0)).text;
    }

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
        hb = std::make_unique<HostBench>();
        state = std::make_unique<MainState>();
        bar = std::make_unique<QStatusBar>();
        addStatusPanels(bar.get());
        tab = std::make_unique<TextEditTab>(*state, bar.get());
    }

    void cleanup()
    {
        g_atMessage = nullptr;
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
        // At its place; wider only where this font needs it for the caption.
        QCOMPARE(tab->SpeedButton3->pos(), QPoint(139, 70));
        QVERIFY(tab->SpeedButton3->width() >= 74);
    }

    void textFetchExcludesLockedLayersAndProposesTheStep()
    {
        hb->d.addLayer(u"LOCK", 7, true);
        tab->editor->setLines({"old"});
        QStringList shownAtMessage;
        g_atMessage = [&] { shownAtMessage = lines(); };
        pickTexts({hb->text(u"a", 0, 50), hb->text(u"b", 0, 40, u"LOCK"), hb->text(u"c", 0, 30),
                   hb->text(u"d", 0, 20, u"LOCK"), hb->text(u"e", 0, 10)});
        QCOMPARE(lines(), (QStringList{"a", "c", "e"}));
        QCOMPARE(g_messages, QStringList{QStringLiteral("ロック画層のTEXT 2 個を除外しました.")});
        QCOMPARE(shownAtMessage, QStringList{"old"});  // told before the editor is filled
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
        setStatusPanel(bar.get(), 0, QStringLiteral("p"));
        state->ATTmode = true;
        hb->host.stop();
        tab->SpeedButton1->click();
        QVERIFY(!state->ATTmode);
        QVERIFY(tab->Label1->text().isEmpty());
        QVERIFY(statusPanel(bar.get(), 0).isEmpty());
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
        twelve << ""
               << " ";
        tab->editor->setLines(twelve);
        tab->timerTick();
        QCOMPARE(tab->Label1->text(), QStringLiteral("取得データ数 = 10"));
        QCOMPARE(statusPanel(bar.get(), 0), QStringLiteral("Row = 1 / 10 Col= 1"));
        QCOMPARE(statusPanel(bar.get(), 1), QStringLiteral("selRows = 0"));
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
            return statusPanel(bar.get(), 1);
        };
        QCOMPARE(select(1, 4), QStringLiteral("selRows = 1"));
        QCOMPARE(select(0, 14), QStringLiteral("selRows = 2"));
        QCOMPARE(select(3, 17), QStringLiteral("selRows = 3"));
    }

    void statusColourShowsLinesWithoutRecords()
    {
        state->textList.assign(4, Talvo{});
        tab->editor->setLines({"1", "2", "3", "4", "5"});
        const QColor window = tab->editor->backgroundColour();
        auto colourOnLine = [&](int line, bool attMode) {
            state->textListATTmode = attMode;
            QTextCursor c(tab->editor->document()->findBlockByNumber(line - 1));
            tab->editor->setTextCursor(c);
            tab->timerTick();
            return tab->editor->backgroundColour();
        };
        QCOMPARE(colourOnLine(5, true), QColor(255, 255, 0));
        QCOMPARE(colourOnLine(5, false), QColor(221, 255, 253));
        QCOMPARE(colourOnLine(4, true), window);
        QCOMPARE(colourOnLine(4, false), window);
        // Attribute records count themselves, not the lines.
        state->textListATTmode = true;
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

    // --- Undo button ---------------------------------------------------------

    void undoButtonRestoresOnlyAHeldSnapshot()
    {
        pickTexts({hb->text(u"a", 0, 10), hb->text(u"b", 0, 0)});
        tab->editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(tab->editor, "x");
        tab->timerTick();
        QVERIFY(tab->SpeedButton4->isEnabled());
        tab->SpeedButton4->click();
        QCOMPARE(lines(), (QStringList{"a", "b"}));
        // The timer has not caught up yet: no snapshot, so nothing to restore.
        tab->SpeedButton4->click();
        QCOMPARE(lines(), (QStringList{"a", "b"}));
        ctrlEnter();
        QCOMPARE(hb->texts(), (std::vector<std::u16string>{u"a", u"b"}));
        QCOMPARE(int(state->textList.size()), 2);
    }

    // --- Mode after a cancelled or failed fetch ------------------------------

    void cancelledTextPickKeepsAttributeRecordsInAttributeMode()
    {
        auto blocks = senbanBlocks({u"1", u"2"});
        pickAttributes(blocks);
        QCOMPARE(lines(), (QStringList{"1", "2"}));
        hb->host.scriptedPicker().queueCancel();
        tab->SpeedButton1->click();
        QVERIFY(!state->ATTmode);  // as the command shows it
        QCOMPARE(lines(), (QStringList{"1", "2"}));
        g_messages.clear();
        tab->editor->setLines({"X", "2", "3"});
        ctrlEnter();
        QVERIFY(g_messages.isEmpty());
        QCOMPARE(attributeOf(blocks[0]), u"X");
        QCOMPARE(attributeOf(blocks[1]), u"2");
        QVERIFY(hb->texts().empty());
        QCOMPARE(int(state->textList.size()), 2);
        QVERIFY(!state->runFlag);
        QVERIFY(!tab->SpeedButton5->isEnabled());
        // The line without a record shows the colour of attribute records.
        QTextCursor c(tab->editor->document()->findBlockByNumber(2));
        tab->editor->setTextCursor(c);
        tab->timerTick();
        QCOMPARE(tab->editor->backgroundColour(), QColor(255, 255, 0));
    }

    void failedAttributeFetchKeepsTextRecordsInTextMode()
    {
        auto a = hb->text(u"a", 0, 10), b = hb->text(u"b", 0, 0);
        pickTexts({a, b});
        auto blocks = senbanBlocks({u"1"});
        hb->host.faults().failMember(u"HasAttributes");
        g_messages.clear();
        pickAttributes(blocks);
        QCOMPARE(g_messages.size(), 1);  // the error report
        hb->host.faults().clear();
        QVERIFY(state->ATTmode);
        QCOMPARE(lines(), (QStringList{"a", "b"}));
        tab->editor->setLines({"a", "b", "c"});
        ctrlEnter();
        QCOMPARE(hb->texts(), (std::vector<std::u16string>{u"a", u"b", u"c"}));
        QCOMPARE(int(state->textList.size()), 3);
        QCOMPARE(cad::toPoint(state->textList[2].insPt), (cad::Point{0, -10, 0}));
    }

    // --- One-line editor ---------------------------------------------------------

    void oneEmptyLineIsALine()
    {
        pickAttributes(senbanBlocks({u""}));
        QCOMPARE(tab->editor->lineCount(), 1);
        QCOMPARE(tab->Label2->text(), QStringLiteral("SENBAN = 1 / 1"));

        pickTexts({hb->text(u"t", 0, 0)});
        tab->editor->selectAll();
        QTest::keyClick(tab->editor, Qt::Key_Delete);
        QCOMPARE(tab->editor->lineCount(), 1);
        ctrlEnter();
        QVERIFY(hb->texts().empty());
        QVERIFY(state->textList.empty());
    }

    // --- Tag combo ---------------------------------------------------------------

    void enterInTheTagComboAddsNoItem()
    {
        tab->ComboBox1->addItems({QStringLiteral("NAME:機器名"), QStringLiteral("SENBAN:線番")});
        QLineEdit *edit = tab->ComboBox1->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, "TYPED");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(tab->ComboBox1->count(), 2);
        QCOMPARE(tab->ComboBox1->findText(QStringLiteral("TYPED")), -1);
        QCOMPARE(tab->ComboBox1->currentText(), QStringLiteral("TYPED"));
    }

    // --- Abort mid-pass ------------------------------------------------------------

    void abortInTheFirstPassKeepsEveryTextPairedWithItsLine()
    {
        std::vector<cadhost::EntityId> ids;
        const std::u16string names[] = {u"a", u"b", u"c", u"d", u"e"};
        for (int i = 0; i < 5; ++i)
            ids.push_back(hb->text(names[i], 0, 40 - 10.0 * i));
        pickTexts(ids);
        tab->editor->setLines({"A", "B"});
        QTimer::singleShot(0, tab.get(), [&] { tab->SpeedButton5->click(); });  // after the first record
        ctrlEnter();
        // Every record still names its own text: the one written, the ones
        // the pass never came to.
        const std::vector<std::u16string> expected = {u"A", u"b", u"c", u"d", u"e"};
        QCOMPARE(state->textList.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const cadhost::Entity *e = hb->byHandle(state->textList[i].sHnd);
            QVERIFY(e);
            QCOMPARE(e->id, ids[i]);
            QCOMPARE(e->text, expected[i]);
        }
        // So a later write-back can still erase them.
        ctrlEnter();
        QCOMPARE(hb->texts(), (std::vector<std::u16string>{u"A", u"B"}));
        QCOMPARE(state->textList.size(), std::size_t(2));
        for (std::size_t i = 0; i < 2; ++i)
            QCOMPARE(toQ(hb->byHandle(state->textList[i].sHnd)->text), lines()[qsizetype(i)]);
    }

    // --- Re-entrant picks -------------------------------------------------------------

    void noCommandStartsInsideAPick()
    {
        pickTexts({hb->text(u"a", 0, 10), hb->text(u"b", 0, 0)});
        QVERIFY(tab->SpeedButton2->isEnabled());
        const std::size_t steps = hb->d.history().steps().size();
        auto blocks = senbanBlocks({u"1"});
        ClickingPicker picker(hb->host.scriptedPicker(), [&] {
            tab->SpeedButton1->click();
            tab->SpeedButton8->click();
            tab->SpeedButton2->click();
            tab->SpeedButton6->click();
            ctrlEnter();
        });
        hb->host.setPicker(&picker);
        g_messages.clear();
        pickAttributes(blocks);
        hb->host.setPicker(nullptr);
        QCOMPARE(picker.picks, 1);
        QVERIFY(g_messages.isEmpty());
        QCOMPARE(hb->d.history().steps().size(), steps);
        QCOMPARE(lines(), QStringList{"1"});
        QVERIFY(isAttributeRecord(state->textList.at(0)));
        QVERIFY(tab->SpeedButton1->isEnabled());
        QVERIFY(!tab->isBusy());
    }

    // --- Error path -------------------------------------------------------------------

    void writeBackMessagesShowBeforeClosing()
    {
        pickTexts({hb->text(u"a", 0, 0)});  // one text: dX = dY = 0
        tab->editor->setLines({"a", "b"});
        bool groupOpen = false, running = false;
        std::size_t records = 0;
        g_atMessage = [&] {
            groupOpen = hb->d.history().groupOpen();
            running = state->runFlag;
            records = state->textList.size();
        };
        g_messages.clear();
        ctrlEnter();
        QCOMPARE(g_messages, QStringList{QStringLiteral("dX, dY が 0 のため、追加を中止しました．")});
        QVERIFY(groupOpen);
        QVERIFY(running);
        QCOMPARE(records, std::size_t(1));
        QCOMPARE(state->textList.size(), std::size_t(2));
        QVERIFY(!state->runFlag);
    }

    void errorsEndTheRunAndDisableAbort()
    {
        pickTexts({hb->text(u"a", 0, 0), hb->text(u"b", 0, -5)});
        tab->editor->setLines({"a", "b", "c"});
        bool groupOpen = false;
        std::size_t records = 0;
        g_atMessage = [&] {
            groupOpen = hb->d.history().groupOpen();
            records = state->textList.size();
        };
        hb->host.faults().failMember(u"Copy");
        g_messages.clear();
        ctrlEnter();
        QCOMPARE(g_messages, QStringList{QStringLiteral("エラーのため、更新を中止しました．")});
        QVERIFY(!state->runFlag);
        QVERIFY(!tab->SpeedButton5->isEnabled());
        QVERIFY(groupOpen);  // shown before Closing
        QCOMPARE(records, std::size_t(2));
        QVERIFY(!hb->d.history().groupOpen());
        QVERIFY(tab->Label2->isHidden());
        QCOMPARE(int(state->textList.size()), 3);

        // Align failing the same way.
        g_atMessage = nullptr;
        g_messages.clear();
        tab->editor->setLines({"a", "b", "c", "d"});
        tab->SpeedButton6->click();
        QCOMPARE(g_messages, QStringList{QStringLiteral("エラーのため、更新処理を中止しました．")});
        QVERIFY(!state->runFlag);
        QVERIFY(!tab->SpeedButton5->isEnabled());
        hb->host.faults().clear();

        // An error that escapes the command goes to the error report.
        hb->host.faults().failMember(u"Regen");
        g_messages.clear();
        ctrlEnter();
        QCOMPARE(g_messages.size(), 1);
        QVERIFY(!state->runFlag);
        QVERIFY(!tab->SpeedButton5->isEnabled());
        QVERIFY(tab->SpeedButton1->isEnabled());
    }
};

QTEST_MAIN(TextEditTabTest)
#include "textedittab_test.moc"
