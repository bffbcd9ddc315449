#include "searchfixture.h"

#include "search/gui/resultgridmodel.h"
#include "search/gui/resultgridview.h"
#include "search/gui/searchpage.h"

#include "state/mainstate.h"
#include "ui/fonts.h"
#include "ui/messages.h"
#include "ui/qstr.h"
#include "ui/statuspanels.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
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

class SearchPageTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<SearchHost> sh;
    std::unique_ptr<MainState> state;
    std::unique_ptr<QTabWidget> tabs;
    QStatusBar *bar = nullptr;
    SearchPage *page = nullptr;

    ResultGridView *grid() const { return page->StringGrid2; }
    QAbstractItemModel *model() const { return grid()->model(); }
    int rows() const { return model()->rowCount(); }
    QString cell(int row) const { return model()->index(row, 0).data().toString(); }
    int recordNumber(int row) const { return model()->index(row, 0).data(ResultGridModel::RecordNumberRole).toInt(); }
    int rowOf(const QString &text) const
    {
        for (int r = 0; r < rows(); ++r)
            if (cell(r) == text)
                return r;
        return -1;
    }
    void setCell(int row, const QString &text) { model()->setData(model()->index(row, 0), text); }
    void searchFor(const QString &field)
    {
        page->Edit3->setText(field);
        QTest::keyClick(page->Edit3, Qt::Key_Return);
    }
    void select(int row) { grid()->setCurrentIndex(model()->index(row, 0)); }
    // Types into the current cell the way a user does: the first key opens
    // the in-place editor.
    void typeInto(int row, const QString &text)
    {
        select(row);
        QTest::keyClick(grid(), Qt::Key_F2);
        QWidget *editor = grid()->openEditor();
        QVERIFY(editor);
        auto *line = qobject_cast<QLineEdit *>(editor);
        QVERIFY(line);
        line->selectAll();
        QTest::keyClicks(line, text);
    }
    void pressEnter()
    {
        QWidget *editor = grid()->openEditor();
        QTest::keyClick(editor ? editor : grid(), Qt::Key_Return);
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
        sh = std::make_unique<SearchHost>();
        state = std::make_unique<MainState>();
        tabs = std::make_unique<QTabWidget>();
        tabs->addTab(new QWidget, QStringLiteral("1"));
        tabs->addTab(new QWidget, QStringLiteral("2"));
        bar = new QStatusBar(tabs.get());
        addStatusPanels(bar);
        page = new SearchPage(*state, bar);
        tabs->addTab(page, QStringLiteral("TEXT 検索・編集"));
        tabs->setCurrentIndex(2);
        tabs->resize(320, 300);
        tabs->show();
        page->setEdit3UpperCase(page->CheckBox4->isChecked());
    }

    void cleanup()
    {
        tabs.reset();
        sh.reset();
    }

    void typedLettersTurnUpperCaseWhileTheBoxIsChecked()
    {
        QTest::keyClicks(page->Edit3, QStringLiteral("ab"));
        QCOMPARE(page->Edit3->text(), QStringLiteral("AB"));
        page->CheckBox4->click();  // off; with text in the field it searches
        QCOMPARE(page->Label7->text(), QStringLiteral("[*AB*] (部分一致)"));
        QTest::keyClicks(page->Edit3, QStringLiteral("c"));
        QCOMPARE(page->Edit3->text(), QStringLiteral("ABc"));
    }

    void enterSearchesAndListsSortedRowsWithRecordNumbers()
    {
        sh->text(u"b", 1, 2);
        sh->text(u"A");
        sh->text(u"a");
        sh->text(u"AB");
        searchFor(QString());
        QCOMPARE(page->Label7->text(), QStringLiteral("[*] (部分一致)"));
        QCOMPARE(rows(), 4);
        QStringList texts;
        for (int r = 0; r < rows(); ++r) {
            texts << cell(r);
            QCOMPARE(recordNumber(r), r + 1);
        }
        QCOMPARE(texts, (QStringList{"A", "AB", "a", "b"}));
        QCOMPARE(grid()->currentIndex().row(), 0);
        QCOMPARE(statusPanel(bar, 0), toQ(state->searchList[0].sHnd));
        QCOMPARE(page->Label6->text(), QStringLiteral("1 / 4"));
        QCOMPARE(page->SpeedButton14->text(), QStringLiteral("検索"));
        QVERIFY(page->Edit3->isEnabled());

        sh->host.resetCallCounts();
        select(3);
        QCOMPARE(statusPanel(bar, 0), toQ(state->searchList[3].sHnd));
        QCOMPARE(statusPanel(bar, 1), QStringLiteral("1.000, 2.000"));
        QCOMPARE(page->Label6->text(), QStringLiteral("4 / 4"));
        QVERIFY(sh->host.callCount(u"ZoomCenter") > 0);  // the view was centred on it
    }

    void noResultLeavesOneEmptyRowThatClearsTheStatus()
    {
        sh->text(u"abc");
        searchFor(QStringLiteral("ZZZ"));
        QCOMPARE(rows(), 1);
        QCOMPARE(recordNumber(0), 0);
        QCOMPARE(cell(0), QString());
        QCOMPARE(page->Label6->text(), QString());
        QCOMPARE(statusPanel(bar, 0), QString());
        sh->host.resetCallCounts();
        page->StringGrid2Click();
        QCOMPARE(sh->host.callCount(u"ZoomCenter"), 0);
    }

    void headMatchToggleSearchesOnlyWithAPattern()
    {
        sh->text(u"AB1");
        sh->text(u"XAB");
        page->CheckBox3->click();  // empty field: no search
        QCOMPARE(page->Label7->text(), QStringLiteral("検索 (部分一致)"));
        QCOMPARE(recordNumber(0), 0);

        page->Edit3->setText(QStringLiteral("AB"));
        page->CheckBox3->click();  // off again, searches at once
        QCOMPARE(page->Label7->text(), QStringLiteral("[*AB*] (部分一致)"));
        QCOMPARE(rows(), 2);
        page->CheckBox3->click();
        QCOMPARE(page->Label7->text(), QStringLiteral("[AB*] (部分一致)"));
        QCOMPARE(rows(), 1);
        QCOMPARE(cell(0), QStringLiteral("AB1"));

        // Another page in front: no search.
        tabs->setCurrentIndex(0);
        page->CheckBox3->click();
        QCOMPARE(page->Label7->text(), QStringLiteral("[AB*] (部分一致)"));
    }

    void abortDuringTheFetchEmptiesListAndGrid()
    {
        for (int i = 0; i < 300; ++i)
            sh->text(u"T");
        searchFor(QString());
        QCOMPARE(rows(), 300);
        // The button is pressed again while the fetch lets messages run.
        QTimer::singleShot(0, page, [this] {
            QCOMPARE(page->SpeedButton14->text(), QStringLiteral("中止"));
            QVERIFY(!page->Edit3->isEnabled());
            page->SpeedButton14->click();
        });
        searchFor(QString());
        QVERIFY(state->searchList.empty());
        QCOMPARE(rows(), 1);
        QCOMPARE(recordNumber(0), 0);
        QCOMPARE(page->Label7->text(), QStringLiteral("検索 (部分一致)"));
        QCOMPARE(page->SpeedButton14->text(), QStringLiteral("検索"));
        QVERIFY(page->Edit3->isEnabled());
        QVERIFY(sh->d.selectionSets().sets().empty());
    }

    void cadErrorMidSearchEmptiesBothAndRestoresTheControls()
    {
        for (int i = 0; i < 30; ++i)
            sh->text(u"T");
        searchFor(QString());
        QCOMPARE(rows(), 30);
        int pumps = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, page, [&] {
            if (++pumps == 3)
                sh->host.faults().failMember(u"TextString");
        });
        timer.start(0);
        searchFor(QString());
        timer.stop();
        sh->host.faults().clear();
        QCOMPARE(g_messages.size(), 1);
        QCOMPARE(g_messages.first(), toQ(cadhost::kInjectedFault));
        QVERIFY(state->searchList.empty());
        QCOMPARE(rows(), 1);
        QCOMPARE(recordNumber(0), 0);
        QCOMPARE(page->SpeedButton14->text(), QStringLiteral("検索"));
        QVERIFY(page->Edit3->isEnabled());
        QVERIFY(sh->d.selectionSets().sets().empty());
    }

    void noCadClearsTheListAsAnAbortDoes()
    {
        sh->text(u"T");
        searchFor(QString());
        QCOMPARE(rows(), 1);
        QCOMPARE(recordNumber(0), 1);
        sh->host.stop();
        searchFor(QString());
        QVERIFY(state->searchList.empty());
        QCOMPARE(recordNumber(0), 0);
        QVERIFY(g_messages.isEmpty());
    }

    void changedRowsAreRedLockedSilverEmptiedRestored()
    {
        sh->d.addLayer(u"L", 7, true);
        sh->text(u"ABC");
        sh->text(u"K", 0, 0, u"L");
        searchFor(QString());
        const int r = rowOf("ABC");
        QVERIFY(!page->SpeedButton15->isEnabled());
        setCell(r, QStringLiteral("ABD"));
        QCOMPARE(model()->index(r, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QVERIFY(page->SpeedButton15->isEnabled());
        setCell(r, QStringLiteral("ABC"));
        QVERIFY(!model()->index(r, 0).data(Qt::ForegroundRole).isValid());
        QCOMPARE(model()->index(rowOf("K"), 0).data(Qt::BackgroundRole).value<QColor>(), QColor(192, 192, 192));

        // Delete on both rows: they show their fetched texts again.
        grid()->selectAll();
        QTest::keyClick(grid(), Qt::Key_Delete);
        QCOMPARE(cell(0), QStringLiteral("ABC"));
        QCOMPARE(cell(1), QStringLiteral("K"));
        QCOMPARE(state->sgUndoCnt2, 2);
    }

    void enterWritesAChangedRowAndMovesDown()
    {
        auto a = sh->text(u"ABC", 5, 6);
        sh->text(u"XYZ", 7, 8);
        searchFor(QString());
        typeInto(rowOf("ABC"), QStringLiteral("ABD"));
        pressEnter();
        QCOMPARE(sh->stringOf(a), u"ABD");
        QCOMPARE(state->searchList[0].text, u"ABD");
        QVERIFY(!model()->index(0, 0).data(ResultGridModel::ChangedRole).toBool());
        QCOMPARE(grid()->currentIndex().row(), 1);  // "Enter=[↓]"
        QVERIFY(!grid()->openEditor());
        QCOMPARE(page->Label6->text(), QStringLiteral("2 / 2"));

        // Enter on the closed editor of an unchanged row: no write, the
        // editor opens (and records the cell).
        sh->host.resetCallCounts();
        pressEnter();
        QCOMPARE(sh->host.callCount(u"HandleToObject"), 0);
        QVERIFY(grid()->openEditor());
        QCOMPARE(grid()->currentIndex().row(), 1);
        pressEnter();  // closes, moves down past the last row to row 0
        QCOMPARE(grid()->currentIndex().row(), 0);
    }

    void enterOnALockedRowPutsTheFetchedTextBack()
    {
        sh->d.addLayer(u"L", 7, true);
        auto k = sh->text(u"KEEP", 0, 0, u"L");
        searchFor(QString());
        typeInto(0, QStringLiteral("NEW"));
        pressEnter();
        QCOMPARE(cell(0), QStringLiteral("KEEP"));
        QCOMPARE(sh->stringOf(k), u"KEEP");
    }

    void updateReportsWrittenAndLockedRows()
    {
        sh->d.addLayer(u"L", 7, true);
        auto a = sh->text(u"A1");
        sh->text(u"B1");
        sh->text(u"L1", 0, 0, u"L");
        sh->text(u"L2", 0, 0, u"L");
        searchFor(QString());
        setCell(rowOf("A1"), QStringLiteral("A2"));
        setCell(rowOf("B1"), QStringLiteral("B2"));
        setCell(rowOf("L1"), QStringLiteral("L9"));
        page->SpeedButton15->click();
        QCOMPARE(g_messages.last(),
                 QStringLiteral("2 / 2 個の TEXT を更新しました．\nロック画層の TEXT 1 個は更新されません．"));
        QCOMPARE(sh->stringOf(a), u"A2");

        setCell(rowOf("L2"), QStringLiteral("L8"));
        page->SpeedButton15->click();
        QCOMPARE(g_messages.last(),
                 QStringLiteral("更新対象の TEXT はありません．\nロック画層の TEXT 2 個は更新されません．"));
    }

    void ctrlZUndoesAnEditAndAWholePaste()
    {
        for (auto s : {u"1", u"2", u"3", u"4", u"5", u"6"})
            sh->text(s);
        searchFor(QString());
        typeInto(2, QStringLiteral("X"));
        pressEnter();
        QCOMPARE(cell(2), QStringLiteral("X"));
        QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(cell(2), QStringLiteral("3"));
        QCOMPARE(grid()->currentIndex().row(), 2);

        QGuiApplication::clipboard()->setText(QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\n"));
        select(1);
        QTest::keyClick(grid(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(cell(1), QStringLiteral("a"));
        QCOMPARE(cell(5), QStringLiteral("e"));
        QCOMPARE(state->sgUndoCnt2, 5);
        QTest::keyClick(grid(), Qt::Key_Z, Qt::ControlModifier);
        for (int r = 0; r < 6; ++r)
            QCOMPARE(cell(r), QString::number(r + 1));
        QCOMPARE(state->sgUndoCnt2, 0);
    }

    void closingWithAnOpenEditorIsSafe()
    {
        sh->text(u"A");
        searchFor(QString());
        typeInto(0, QStringLiteral("B"));
        QVERIFY(grid()->openEditor());
        tabs.reset();  // the page goes with its editor open
        page = nullptr;
    }
};

QTEST_MAIN(SearchPageTest)
#include "searchpage_test.moc"
