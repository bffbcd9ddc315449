#include "ui/ontop.h"
#include "cad/connection.h"
#include "ui/qstr.h"
#include "cad/qt/targetcadform.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// The list file as the dialog sees it: nothing (no file) or its lines,
// and every rewrite.
struct FakeFile {
    std::optional<QStringList> lines;
    QList<QStringList> writes;
};

const QString kA = QStringLiteral("A\tProgA.Application");
const QString kB = QStringLiteral("B\tProgB.Application");
const QString kC = QStringLiteral("C\tProgC.Application");

}  // namespace

class TargetCadTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void captionRule();
    void showSelectsCurrentProgId();
    void showWithoutFileKeepsWhatItHeld();
    void clickSplitsAtFirstTab();
    void addTakesSortedPlaceAndSelectsFirstEqual();
    void deleteSelectionRules_data();
    void deleteSelectionRules();
    void deleteWithNothingSelectedDoesNothing();
    void changeReplacesInPlaceOrAppends();
    void enterInAFieldRunsChange();
    void okAppliesFieldsCancelKeepsAll();
    void modalDialogTakesStayOnTop();

private:
    void makeForm(std::optional<QStringList> lines);
    QStringList items() const { return m_form->entries(); }
    int selected() const
    {
        const auto sel = m_form->ListBox1->selectedItems();
        return sel.isEmpty() ? -1 : m_form->ListBox1->row(sel.first());
    }

    FakeFile m_file;
    std::unique_ptr<TTargetCADForm> m_form;
    std::unique_ptr<QWidget> m_main;
};

void TargetCadTest::init()
{
    cad::TargetProgID = cad::kDefaultProgID;
    m_form.reset();
    m_main = std::make_unique<QWidget>();
    m_main->setWindowTitle(QStringLiteral("TalvoEdit"));
}

void TargetCadTest::makeForm(std::optional<QStringList> lines)
{
    m_file = FakeFile{std::move(lines), {}};
    m_form = std::make_unique<TTargetCADForm>([this] { return m_file.lines; },
                                              [this](const QStringList &l) { m_file.writes.append(l); });
    m_form->setMainWindow(m_main.get());
}

void TargetCadTest::captionRule()
{
    const QStringList lines = {kA, QStringLiteral("B\tProgB.Application.22")};
    QCOMPARE(TTargetCADForm::captionFor(lines, QStringLiteral("ProgB.Application.22")),
             std::optional<QString>(QStringLiteral("TalvoEditZ [ B ]")));
    // A leading part of a longer ProgID matches it.
    QCOMPARE(TTargetCADForm::captionFor(lines, QStringLiteral("ProgB.App")),
             std::optional<QString>(QStringLiteral("TalvoEditZ [ B ]")));
    // The tab is part of the match: "Prog" alone inside a name does not count.
    QCOMPARE(TTargetCADForm::captionFor({QStringLiteral("xProgA\tZ")}, QStringLiteral("ProgA")), std::nullopt);
    QCOMPARE(TTargetCADForm::captionFor(lines, QStringLiteral("Nothing")), std::nullopt);
    QCOMPARE(TTargetCADForm::captionFor({}, QStringLiteral("ProgA")), std::nullopt);
}

void TargetCadTest::showSelectsCurrentProgId()
{
    makeForm(QStringList{kB, kA});
    cad::TargetProgID = u"ProgB.Application";
    m_form->FormShow();
    QCOMPARE(items(), (QStringList{kA, kB}));
    QCOMPARE(selected(), 1);
    QCOMPARE(m_form->Edit1->text(), QStringLiteral("B"));
    QCOMPARE(m_form->Edit2->text(), QStringLiteral("ProgB.Application"));
    QVERIFY(m_file.writes.isEmpty());
}

void TargetCadTest::showWithoutFileKeepsWhatItHeld()
{
    makeForm(QStringList{kA});
    m_form->FormShow();
    m_form->Edit1->setText(QStringLiteral("kept"));
    m_file.lines.reset();
    m_form->FormShow();
    QCOMPARE(items(), QStringList{kA});
    QCOMPARE(m_form->Edit1->text(), QStringLiteral("kept"));
}

void TargetCadTest::clickSplitsAtFirstTab()
{
    makeForm(QStringList{QStringLiteral("N\tP\tQ"), QStringLiteral("NoTab")});
    m_form->FormShow();
    m_form->ListBox1->setCurrentRow(0);
    m_form->ListBox1Click();
    QCOMPARE(m_form->Edit1->text(), QStringLiteral("N"));
    QCOMPARE(m_form->Edit2->text(), QStringLiteral("P\tQ"));
    m_form->ListBox1->setCurrentRow(1);
    m_form->ListBox1Click();
    QCOMPARE(m_form->Edit1->text(), QString());
    QCOMPARE(m_form->Edit2->text(), QStringLiteral("NoTab"));
}

void TargetCadTest::addTakesSortedPlaceAndSelectsFirstEqual()
{
    makeForm(QStringList{kA, kC});
    m_form->FormShow();
    m_form->Edit1->setText(QStringLiteral("B"));
    m_form->Edit2->setText(QStringLiteral("ProgB.Application"));
    QTest::mouseClick(m_form->SpeedButton1, Qt::LeftButton);
    QCOMPARE(items(), (QStringList{kA, kB, kC}));
    QCOMPARE(selected(), 1);
    QCOMPARE(m_file.writes, QList<QStringList>{items()});
    // Equal entries may repeat; the first of them is selected.
    m_form->SpeedButton1Click();
    QCOMPARE(items(), (QStringList{kA, kB, kB, kC}));
    QCOMPARE(selected(), 1);
}

void TargetCadTest::deleteSelectionRules_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("remove");
    QTest::addColumn<int>("selectedAfter");
    QTest::addColumn<QString>("edit1After");
    const QString d = QStringLiteral("D\tProgD");
    QTest::newRow("middle of three: the former first") << QStringList{kA, kB, kC} << 1 << 0 << "A";
    QTest::newRow("first of three: the new first") << QStringList{kA, kB, kC} << 0 << 0 << "B";
    QTest::newRow("last of three: the one before") << QStringList{kA, kB, kC} << 2 << 1 << "B";
    QTest::newRow("second-to-last of four: the one before") << QStringList{kA, kB, kC, d} << 2 << 1 << "B";
    QTest::newRow("second of four: the follower") << QStringList{kA, kB, kC, d} << 1 << 1 << "C";
    QTest::newRow("only entry: nothing") << QStringList{kA} << 0 << -1 << "";
}

void TargetCadTest::deleteSelectionRules()
{
    QFETCH(QStringList, entries);
    QFETCH(int, remove);
    QFETCH(int, selectedAfter);
    QFETCH(QString, edit1After);
    makeForm(entries);
    m_form->FormShow();
    m_form->ListBox1->setCurrentRow(remove);
    m_form->ListBox1Click();
    QTest::mouseClick(m_form->SpeedButton2, Qt::LeftButton);
    QCOMPARE(items().size(), entries.size() - 1);
    QVERIFY(!items().contains(entries[remove]));
    QCOMPARE(selected(), selectedAfter);
    QCOMPARE(m_form->Edit1->text(), edit1After);
    if (selectedAfter < 0)
        QCOMPARE(m_form->Edit2->text(), QString());
    QCOMPARE(m_file.writes, QList<QStringList>{items()});
}

void TargetCadTest::deleteWithNothingSelectedDoesNothing()
{
    makeForm(QStringList{kA, kB});
    m_form->FormShow();
    m_form->SpeedButton2Click();
    QCOMPARE(items().size(), 2);
    QVERIFY(m_file.writes.isEmpty());
}

void TargetCadTest::changeReplacesInPlaceOrAppends()
{
    makeForm(QStringList{kA, kB, kC});
    m_form->FormShow();
    m_form->ListBox1->setCurrentRow(0);
    m_form->Edit1->setText(QStringLiteral("Z"));
    m_form->Edit2->setText(QStringLiteral("ProgZ"));
    QTest::mouseClick(m_form->SpeedButton3, Qt::LeftButton);
    // Out of order, but in place and still selected.
    QCOMPARE(items(), (QStringList{QStringLiteral("Z\tProgZ"), kB, kC}));
    QCOMPARE(selected(), 0);
    m_form->ListBox1->clearSelection();
    m_form->Edit1->setText(QStringLiteral("0"));
    m_form->SpeedButton3Click();
    QCOMPARE(items().last(), QStringLiteral("0\tProgZ"));  // at the end, not sorted
    QCOMPARE(m_file.writes.size(), 2);
    QCOMPARE(m_file.writes.last(), items());
}

void TargetCadTest::enterInAFieldRunsChange()
{
    makeForm(QStringList{kB});
    m_form->FormShow();
    m_form->show();
    m_form->Edit1->setText(QStringLiteral("New"));
    m_form->Edit2->setText(QStringLiteral("New.App"));
    QTest::keyClick(m_form->Edit2, Qt::Key_Return);
    QCOMPARE(items(), (QStringList{kB, QStringLiteral("New\tNew.App")}));
    QCOMPARE(m_file.writes.size(), 1);
    QVERIFY(m_form->isVisible());  // Enter does not close the dialog
    QTest::keyClick(m_form->Edit1, Qt::Key_Enter);
    QCOMPARE(items().size(), 3);
    QCOMPARE(m_form->Edit2->text(), QStringLiteral("New.App"));
    m_form->hide();
}

void TargetCadTest::okAppliesFieldsCancelKeepsAll()
{
    makeForm(QStringList{kA});
    m_form->show();
    m_form->Edit1->setText(QStringLiteral("Typed"));
    m_form->Edit2->setText(QStringLiteral("Typed.App"));
    QTest::mouseClick(m_form->Button2, Qt::LeftButton);  // 取り消し
    QCOMPARE(m_main->windowTitle(), QStringLiteral("TalvoEdit"));
    QCOMPARE(toQ(cad::TargetProgID), QString::fromStdU16String(cad::kDefaultProgID));
    QVERIFY(!m_form->isVisible());

    m_form->show();
    m_form->ListBox1->setCurrentRow(0);  // the fields decide, not the selection
    m_form->Edit1->setText(QStringLiteral("Typed"));
    m_form->Edit2->setText(QStringLiteral("Typed.App"));
    QTest::mouseClick(m_form->Button1, Qt::LeftButton);
    QCOMPARE(m_main->windowTitle(), QStringLiteral("TalvoEditZ [ Typed ]"));
    QCOMPARE(toQ(cad::TargetProgID), QStringLiteral("Typed.App"));
    QCOMPARE(m_form->result(), int(QDialog::Accepted));
    QVERIFY(m_file.writes.isEmpty());  // the list file stays as it was
}

void TargetCadTest::modalDialogTakesStayOnTop()
{
    makeForm(QStringList{kA});
    m_main->setWindowFlag(Qt::WindowStaysOnTopHint);
    m_main->show();
    bool mainOnTopDuring = true, dialogOnTopDuring = false;
    QTimer::singleShot(0, m_form.get(), [&] {
        mainOnTopDuring = staysOnTop(m_main.get());
        dialogOnTopDuring = staysOnTop(m_form.get());
        m_form->reject();
    });
    execOnTop(m_form.get(), m_main.get());
    QVERIFY(!mainOnTopDuring);
    QVERIFY(dialogOnTopDuring);
    QVERIFY(staysOnTop(m_main.get()));
    QVERIFY(!staysOnTop(m_form.get()));
}

QTEST_MAIN(TargetCadTest)
#include "targetcad_test.moc"
