#include "attrhost.h"

#include "attrgrid/gui/attrgridmodel.h"
#include "attrgrid/gui/attrgridpage.h"
#include "attrgrid/gui/attrgridview.h"

#include "state/mainstate.h"
#include "ui/fonts.h"
#include "ui/messages.h"
#include "ui/statuspanels.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {
QStringList g_messages;
void collect(const QString &, const QString &text)
{
    g_messages << text;
}
}  // namespace

class AttrGridPageTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<AttrHost> h;
    std::unique_ptr<MainState> state;
    std::unique_ptr<QStatusBar> status;
    std::unique_ptr<QMenu> menu;
    std::unique_ptr<AttrGridPage> page;
    std::vector<cadhost::EntityId> ids;

    AttrGridView *grid() const { return page->StringGrid1; }
    AttrGridModel *model() const { return page->model(); }
    QModelIndex at(int col, int row) const { return model()->indexOfCell(col, row); }
    QString text(int col, int row) const { return at(col, row).data().toString(); }
    int ref(int col, int row) const { return at(col, row).data(Qt::UserRole).toInt(); }

    // Three references of "EQ" and "EQN" from top to bottom, plus one of "XY" that
    // the set's pattern leaves out.
    void fetchThree(const QString &setLine = QStringLiteral("機器[EQ*],NAME,RATING"))
    {
        page->ComboBox2->clear();
        page->ComboBox2->addItem(setLine);
        h->host.scriptedPicker().queueIds(ids);
        page->SpeedButton10->click();
    }
    void select(int left, int top, int right, int bottom)
    {
        grid()->setCurrentIndex(at(left, top));
        grid()->selectionModel()->select(QItemSelection(at(left, top), at(right, bottom)),
                                         QItemSelectionModel::ClearAndSelect);
    }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        QWidget *target = grid()->cellDelegate()->openEditor();
        QTest::keyClick(target ? target : grid(), Qt::Key(k), m);
    }
    QString panel(int i) const { return statusPanel(status.get(), i); }

private slots:
    void initTestCase()
    {
        installFontSubstitutions();
        setMessageSink(collect);
    }

    void init()
    {
        g_messages.clear();
        h = std::make_unique<AttrHost>();
        h->block(u"EQ", {{u"NAME", u"名称"}, {u"RATING", u"仕様"}});
        h->block(u"EQN", {{u"NAME", u"名"}});
        h->block(u"XY", {{u"NAME", u""}});
        ids = {h->insert(u"EQ", 0, 30, {{u"NAME", u"P-1"}, {u"RATING", u"1kW"}}),
               h->insert(u"EQN", 0, 20, {{u"NAME", u"P-2"}}), h->insert(u"XY", 0, 15, {{u"NAME", u"xy"}}),
               h->insert(u"EQ", 0, 10, {{u"NAME", u"P-3"}, {u"RATING", u"3kW"}})};
        state = std::make_unique<MainState>();
        status = std::make_unique<QStatusBar>();
        addStatusPanels(status.get());
        menu = std::make_unique<QMenu>();
        page = std::make_unique<AttrGridPage>(*state, status.get(), menu.get());
        page->resize(316, 272);
        page->show();
    }

    void cleanup()
    {
        page.reset();
        h.reset();
    }

    void modelKeepsItsContract()
    {
        QAbstractItemModelTester tester(model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        fetchThree();
        QVERIFY(model()->setData(at(1, 2), QStringLiteral("edited")));
        model()->setCellText(2, 0, u"head");
        page->ClearGrid();
        QCOMPARE(model()->rowCount(QModelIndex()), 3);
    }

    void fetchFillsTheGridByTheSetAndItsPattern()
    {
        state->sgUndoCnt = 3;
        fetchThree();
        QCOMPARE(page->Label5->text(), QStringLiteral("ATTR = 3 / 3"));
        QCOMPARE(model()->columnCount(QModelIndex()), 2);
        QCOMPARE(model()->rowCount(QModelIndex()), 3);
        QCOMPARE(model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("名称"));
        QCOMPARE(model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("仕様"));
        QCOMPARE(model()->headerData(2, Qt::Vertical).toString(), QStringLiteral("3"));
        QCOMPARE(text(1, 1), QStringLiteral("P-1"));
        QCOMPARE(text(2, 3), QStringLiteral("3kW"));
        QCOMPARE(ref(2, 2), 0);  // P-2 has no RATING
        QVERIFY(ref(1, 3) >= 1);
        QVERIFY(!at(2, 2).flags().testFlag(Qt::ItemIsEditable));
        QVERIFY(at(1, 2).flags().testFlag(Qt::ItemIsEditable));
        QVERIFY(page->SpeedButton11->isEnabled());
        QVERIFY(!page->SpeedButton12->isEnabled());
        QVERIFY(state->ATTmode);
        QVERIFY(!state->runFlag);
        QCOMPARE(state->sgUndoCnt, 0);
        QCOMPARE(page->ProgressBar1->value(), 0);
        // Widths fit the texts.
        QVERIFY(grid()->columnWidth(0) > 10);
    }

    void aFetchRefusesOtherCommandsUntilItEnds()
    {
        fetchThree();
        model()->setCellText(1, 1, u"kept?");
        const int picks = h->host.scriptedPicker().selectOnScreenCount();
        bool tried = false;
        QTimer::singleShot(0, page.get(), [&] {
            tried = true;
            QVERIFY(page->fetching());
            h->host.scriptedPicker().queueIds(ids);
            page->SpeedButton10->click();  // a second fetch
            page->SpeedButton11->click();  // a write-back
            page->SpeedButton13->click();  // UNDO
            page->SpeedButton12->click();  // 中止 acts
        });
        h->host.scriptedPicker().queueIds(ids);
        page->SpeedButton10->click();
        QVERIFY(tried);
        QCOMPARE(h->host.scriptedPicker().selectOnScreenCount(), picks + 1);
        QCOMPARE(h->host.callCount(u"StartUndoMark"), 0);
        // Aborted in phase 1: two rows, nothing in them.
        QCOMPARE(model()->rowCount(QModelIndex()), 1);
        QCOMPARE(text(1, 1), QString());
        QVERIFY(state->attr.blkList.empty());
        QVERIFY(!page->fetching());
        QVERIFY(grid()->isEnabled());
    }

    void enterWritesAtOnceWhileTheCadRuns()
    {
        fetchThree();
        page->CheckBox2->setChecked(false);
        grid()->setFocus();
        grid()->setCurrentIndex(at(1, 1));
        model()->setCellText(1, 1, u"P-1a");
        key(Qt::Key_Return);
        QCOMPARE(h->attribute(ids[0], 0).text, u"P-1a");
        QVERIFY(!at(1, 1).data(AttrGridModel::kChangedRole).toBool());
        QCOMPARE(grid()->currentIndex(), at(2, 1));  // moved right onto an attribute
        QVERIFY(grid()->editing());                  // the grid opened its editor
        QCOMPARE(state->sgUndoCnt, 1);

        // Stopped CAD: the cell stays changed, nothing written.
        grid()->closeEditor();
        model()->setCellText(2, 1, u"2kW");
        h->host.stop();
        grid()->setCurrentIndex(at(2, 1));
        key(Qt::Key_Return);
        QCOMPARE(text(2, 1), QStringLiteral("2kW"));
        QVERIFY(at(2, 1).data(AttrGridModel::kChangedRole).toBool());
        // From the last column: column 1 of the next row.
        QCOMPARE(grid()->currentIndex(), at(1, 2));
    }

    void enterDownModeTypesAndMovesDown()
    {
        fetchThree();
        page->CheckBox7->setChecked(true);
        page->CheckBox2->setChecked(true);
        grid()->setFocus();
        grid()->setCurrentIndex(at(1, 3));
        key(Qt::Key_Return);  // opens the editor, does not move
        QVERIFY(grid()->editing());
        QCOMPARE(grid()->currentIndex(), at(1, 3));
        auto *edit = qobject_cast<QLineEdit *>(grid()->cellDelegate()->openEditor());
        QVERIFY(edit);
        edit->setText(QStringLiteral("P-3b"));
        key(Qt::Key_Return);  // writes, moves down from the last row to row 1
        QCOMPARE(h->attribute(ids[3], 0).text, u"P-3b");
        QCOMPARE(grid()->currentIndex(), at(1, 1));
        QVERIFY(!grid()->editing());
        QCOMPARE(text(1, 3), QStringLiteral("P-3b"));
    }

    void pasteUndoCountersAndDelete()
    {
        fetchThree();
        grid()->setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\r\nc\td\r\ne\tf\r\n"));
        select(1, 1, 1, 1);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(state->sgUndoCnt, 6);
        QCOMPARE(text(2, 3), QStringLiteral("f"));
        key(Qt::Key_Z, Qt::ControlModifier);  // the whole paste
        QCOMPARE(state->sgUndoCnt, 0);
        QCOMPARE(text(1, 1), QStringLiteral("P-1"));
        QCOMPARE(text(2, 3), QStringLiteral("3kW"));

        // "UNDO" twice takes back the last operation's count each time.
        select(1, 1, 2, 1);
        key(Qt::Key_Delete);
        select(1, 2, 2, 3);
        key(Qt::Key_Delete);
        QCOMPARE(state->sgUndoCnt, 4);
        QCOMPARE(text(1, 1), QString());
        page->SpeedButton13->click();
        QCOMPARE(text(1, 3), QStringLiteral("P-3"));
        QCOMPARE(text(1, 1), QString());
        QCOMPARE(state->sgUndoCnt, 4);
        page->SpeedButton13->click();
        QCOMPARE(text(1, 1), QStringLiteral("P-1"));

        // Delete on one cell is the editor's.
        select(1, 2, 1, 2);
        key(Qt::Key_Delete);
        QCOMPARE(text(1, 2), QStringLiteral("P-2"));
    }

    void headerClicksSelectColumnsRowsOrAll()
    {
        fetchThree();
        grid()->horizontalHeader()->sectionClicked(1);
        QCOMPARE(page->selection().left, 2);
        QCOMPARE(page->selection().top, 1);
        QCOMPARE(page->selection().bottom, 3);
        QCOMPARE(grid()->currentIndex(), at(2, 3));
        grid()->verticalHeader()->sectionClicked(1);
        QCOMPARE(page->selection().left, 1);
        QCOMPARE(page->selection().right, 2);
        QCOMPARE(page->selection().top, 2);
        grid()->selectAll();
        const cells::Selection all = page->selection();
        QCOMPARE(QRect(all.left, all.top, all.columns(), all.rows()), QRect(1, 1, 2, 3));
    }

    void dragSelectsFromTheStartCell()
    {
        fetchThree();
        QWidget *vp = grid()->viewport();
        auto centre = [&](int col, int row) { return grid()->visualRect(at(col, row)).center(); };
        QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, centre(1, 1));
        QCOMPARE(state->startCol, 1);
        QTest::mouseMove(vp, centre(2, 3));
        cells::Selection s = page->selection();
        QCOMPARE(QRect(s.left, s.top, s.columns(), s.rows()), QRect(1, 1, 2, 3));
        QCOMPARE(grid()->currentIndex(), at(2, 3));
        QTest::mouseMove(vp, centre(1, 1));  // back on the start cell: the rectangle stays
        s = page->selection();
        QCOMPARE(QRect(s.left, s.top, s.columns(), s.rows()), QRect(1, 1, 2, 3));
        QTest::mouseMove(vp, QPoint(-5, centre(1, 2).y()));  // over the row headers
        s = page->selection();
        QCOMPARE(QRect(s.left, s.top, s.columns(), s.rows()), QRect(1, 1, 1, 2));
        QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, centre(1, 2));
        QCOMPARE(state->startCol, -1);

        // A new drag whose first move reaches the last move's cell does nothing.
        QTest::mouseMove(vp, centre(2, 3));
        QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, centre(2, 3));
        QTest::mousePress(vp, Qt::LeftButton, Qt::NoModifier, centre(2, 1));
        state->moveCol = 2;
        state->moveRow = 3;
        QTest::mouseMove(vp, centre(2, 3));
        QVERIFY(page->selection().single());
        QTest::mouseMove(vp, centre(2, 2));
        QCOMPARE(page->selection().bottom, 2);
        QTest::mouseRelease(vp, Qt::LeftButton, Qt::NoModifier, centre(2, 2));
    }

    void selectingACellShowsItsHandle()
    {
        fetchThree();
        grid()->setCurrentIndex(at(1, 2));
        QCOMPARE(panel(0), QString::fromStdU16String(h->attribute(ids[1], 0).handle));
        page->CheckBox6->setChecked(true);
        grid()->setCurrentIndex(at(1, 3));
        QCOMPARE(panel(1), QStringLiteral("P-3"));
        grid()->setCurrentIndex(at(2, 2));  // grey: no attribute
        QCOMPARE(panel(0), QString());
        QCOMPARE(panel(1), QString());
    }

    void writeBackAndUndoAfterIt()
    {
        fetchThree();
        model()->setCellText(2, 1, u"5kW");
        page->SpeedButton11->click();
        QCOMPARE(h->attribute(ids[0], 1).text, u"5kW");
        QVERIFY(!at(2, 1).data(AttrGridModel::kChangedRole).toBool());
        QCOMPARE(h->host.callCount(u"StartUndoMark"), 1);
        QCOMPARE(h->host.callCount(u"EndUndoMark"), 1);
    }

    void toolsEachUndoneByOneCtrlZ()
    {
        fetchThree();
        grid()->setFocus();
        select(1, 1, 2, 1);
        page->N32->trigger();
        QCOMPARE(text(1, 1), QStringLiteral("Ｐ－１"));
        QCOMPARE(state->sgUndoCnt, 2);
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(1, 1), QStringLiteral("P-1"));
        QCOMPARE(text(2, 1), QStringLiteral("1kW"));

        page->dialogs.replace = [](const std::u16string &search) {
            return std::optional(std::pair(search.substr(0, 1), std::u16string(u"Q")));
        };
        page->N35->trigger();
        QCOMPARE(text(1, 1), QStringLiteral("Q-1"));
        QCOMPARE(text(2, 1), QStringLiteral("1kW"));
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(1, 1), QStringLiteral("P-1"));

        page->dialogs.addition = [] {
            tools::AdditionOptions o;
            o.addend = 5;
            return std::optional(o);
        };
        select(1, 1, 2, 1);  // undo left the current cell alone selected
        page->N36->trigger();
        QCOMPARE(text(1, 1), QStringLiteral("P-6"));
        QCOMPARE(text(2, 1), QStringLiteral("6kW"));
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(2, 1), QStringLiteral("1kW"));

        page->dialogs.serial = [] { return std::optional(tools::readSerialFields({}, tools::SerialUse::Generation)); };
        select(2, 2, 2, 2);
        page->N31->trigger();  // rows 2 to 3 of the current column
        QCOMPARE(text(2, 2), QStringLiteral("00"));
        QCOMPARE(text(2, 3), QStringLiteral("01"));
        QCOMPARE(state->sgUndoCnt, 2);
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(2, 3), QStringLiteral("3kW"));
    }

    void tagSetFileCommands()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("TalvoEdit2ATagList.txt"));
        page->tagSetFilePath = [path] { return path; };
        QString opened;
        page->openTextEditor = [&](const QString &p) { opened = p; };
        page->ComboBox2->clear();
        page->ComboBox2->addItems({"a,X", "b,X", "c,X"});
        page->ComboBox2->setCurrentIndex(2);

        page->AG1->trigger();
        QCOMPARE(g_messages, QStringList{path + QChar(10) + QStringLiteral("ファイルが見つかりません．")});
        QVERIFY(opened.isEmpty());
        page->AG2->trigger();
        QCOMPARE(page->ComboBox2->count(), 3);

        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("z,T\r\ny,T\r\n");
        f.close();
        page->AG1->trigger();
        QCOMPARE(opened, path);
        page->AG2->trigger();
        QCOMPARE(page->ComboBox2->count(), 2);
        QCOMPARE(page->ComboBox2->currentIndex(), 0);
        QCOMPARE(page->ComboBox2->currentText(), QStringLiteral("y,T"));
        QCOMPARE(menu->actions().size(), 10);
    }
};

QTEST_MAIN(AttrGridPageTest)
#include "attrgridpage_test.moc"
