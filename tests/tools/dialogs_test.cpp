#include "tools/gui/formkit.h"
#include "tools/gui/talvokasanform.h"
#include "tools/gui/talvorenbanform.h"
#include "tools/gui/talvotikanform.h"

#include "ui/captionfit.h"
#include "ui/messages.h"
#include "ui/ontop.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

QStringList g_messages;
void collect(const QString &, const QString &text)
{
    g_messages << text;
}

// Runs `during` inside the dialog's modal loop; the dialog must be closed
// by it or by what it clicks.
int runModal(const std::function<int()> &exec, const std::function<void()> &during)
{
    QTimer::singleShot(0, during);
    return exec();
}

QWidget *nextTabStop(QWidget *w)
{
    do
        w = w->nextInFocusChain();
    while (!(w->focusPolicy() & Qt::TabFocus));
    return w;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        g_messages.clear();
        setMessageSink(&collect);
    }
    void cleanup() { setMessageSink(nullptr); }

    void replaceDialogLayoutAndResult();
    void replaceDialogHandsTheStayOnTopStateBack();
    void additionRadixButtonsAndOptions();
    void serialPreviewFollowsEveryChange();
    void serialErrorsKeepTheDialogOpen();
    void serialPlacementAndGridCaption();
    void captionsShowWhole();
};

void DialogsTest::replaceDialogLayoutAndResult()
{
    TTalvoTikanForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("文字列置換"));
    QCOMPARE(form.size(), QSize(203, 128));
    QCOMPARE(form.Edit1->geometry(), QRect(74, 31, 121, 22));
    QCOMPARE(form.Button2->geometry(), QRect(104, 95, 75, 25));
    QVERIFY(form.Edit1->font().bold());
    QVERIFY(form.CheckBox1->isChecked());
    QVERIFY(form.Edit1->text().isEmpty());
    QCOMPARE(nextTabStop(form.Edit1), form.Edit2);
    QCOMPARE(nextTabStop(form.Edit2), form.Button1);
    QCOMPARE(nextTabStop(form.Button2), form.CheckBox1);

    form.Edit1->setText(QStringLiteral("abc"));
    form.Edit2->setText(QStringLiteral("X"));
    form.CheckBox1->setChecked(false);
    const int ok
        = runModal([&] { return form.execFor(nullptr); }, [&] { QTest::mouseClick(form.Button1, Qt::LeftButton); });
    QCOMPARE(ok, int(QDialog::Accepted));
    const tools::ReplaceOptions o = form.options();
    QVERIFY(o.search == u"abc" && o.replacement == u"X" && !o.ignoreCase);

    // Kept between uses; cancel reports itself.
    const int cancel
        = runModal([&] { return form.execFor(nullptr); }, [&] { QTest::mouseClick(form.Button2, Qt::LeftButton); });
    QCOMPARE(cancel, int(QDialog::Rejected));
    QCOMPARE(form.Edit1->text(), QStringLiteral("abc"));
    QVERIFY(!form.CheckBox1->isChecked());
}

void DialogsTest::replaceDialogHandsTheStayOnTopStateBack()
{
    QWidget main;
    main.show();
    setStaysOnTop(&main, true);
    TTalvoTikanForm form;
    bool mainOnTopWhileShown = true, dialogOnTopWhileShown = false;
    runModal([&] { return form.execFor(&main); },
             [&] {
                 mainOnTopWhileShown = staysOnTop(&main);
                 dialogOnTopWhileShown = staysOnTop(&form);
                 form.reject();
             });
    QVERIFY(!mainOnTopWhileShown);
    QVERIFY(dialogOnTopWhileShown);
    QVERIFY(staysOnTop(&main));
    QVERIFY(!staysOnTop(&form));
}

void DialogsTest::additionRadixButtonsAndOptions()
{
    TTalvoKasanForm form;
    QCOMPARE(form.size(), QSize(214, 165));
    QCOMPARE(form.Label5->text(), QStringLiteral("10 進"));
    QVERIFY(form.SpeedButton1->isChecked());
    QVERIFY(form.RadioButton2->isChecked());
    QVERIFY(!form.Edit2->isEnabled() && !form.UpDown1->isEnabled() && !form.Label3->isEnabled());
    QCOMPARE(form.Edit1->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    form.RadioButton1->setChecked(true);
    QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    QVERIFY(form.SpeedButton2->isChecked() && !form.SpeedButton1->isChecked());
    QCOMPARE(form.Label5->text(), QStringLiteral("16進"));
    QVERIFY(form.RadioButton2->isChecked());  // reset to the end
    QVERIFY(!form.RadioButton1->isEnabled() && !form.RadioButton2->isEnabled());
    QVERIFY(form.Edit2->isEnabled() && form.UpDown1->isEnabled());

    // The up-down steps the buddy within 1..8.
    for (int i = 0; i < 10; ++i)
        QTest::mouseClick(form.UpDown1->rightArrow(), Qt::LeftButton);
    QCOMPARE(form.Edit2->text(), QStringLiteral("8"));
    form.Edit2->setText(QStringLiteral("3"));
    QTest::mouseClick(form.UpDown1->leftArrow(), Qt::LeftButton);
    QCOMPARE(form.UpDown1->position(), 2);

    QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
    QCOMPARE(form.Label5->text(), QStringLiteral(" 8進"));
    form.Edit1->setText(QStringLiteral("-3"));
    tools::AdditionOptions o = form.options();
    QCOMPARE(o.radix, tools::Radix::Octal);
    QCOMPARE(o.digitCount, 2);
    QCOMPARE(o.addend, -3);

    // Decimal again, first run; an addend that is no number reads as 0.
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    QVERIFY(form.RadioButton1->isEnabled() && !form.Edit2->isEnabled());
    form.RadioButton1->setChecked(true);
    for (const char *bad : {"abc", "", "99999999999", "1.5"}) {
        form.Edit1->setText(QString::fromLatin1(bad));
        QCOMPARE(form.options().addend, 0);
    }
    QVERIFY(!form.options().fromEnd);
}

void DialogsTest::serialPreviewFollowsEveryChange()
{
    TTalvoRenbanForm form;
    QCOMPARE(form.StaticText1->text(), QStringLiteral("[ 00 ] ～ [ 15 ]"));
    QTest::keyClicks(form.Edit1, QStringLiteral("sw-"));
    QCOMPARE(form.StaticText1->text(), QStringLiteral("[ SW-00 ] ～ [ SW-15 ]"));
    form.Edit2->setText(QStringLiteral("0e"));
    QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    QCOMPARE(form.Label5->text(), QStringLiteral("16進"));
    QCOMPARE(form.StaticText1->text(), QStringLiteral("[ SW-0E ] ～ [ SW-1D ]"));
    form.Edit4->setText(QStringLiteral("3"));
    QCOMPARE(form.StaticText1->text(), QStringLiteral("[ SW-0E ] ～ [ SW-10 ]"));
    form.Edit5->setText(QStringLiteral("-1"));
    QCOMPARE(form.StaticText1->text(), QStringLiteral("[ SW-0E ] ～ [ SW-0C ]"));

    // Without a start: the fixed text, step disabled, radix label kept.
    form.Edit1->setText(QStringLiteral("abc"));
    form.Edit2->clear();
    QCOMPARE(form.StaticText1->text(), QStringLiteral("[ ABC ] x 3"));
    QVERIFY(!form.Edit5->isEnabled() && !form.Label6->isEnabled());
    QCOMPARE(form.Label5->text(), QStringLiteral("16進"));

    // The count takes digits only.
    form.Edit4->clear();
    QTest::keyClicks(form.Edit4, QStringLiteral("1x2"));
    QCOMPARE(form.Edit4->text(), QStringLiteral("12"));
    QVERIFY(g_messages.isEmpty());
}

void DialogsTest::serialErrorsKeepTheDialogOpen()
{
    TTalvoRenbanForm form;
    QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
    QCOMPARE(form.Label5->text(), QStringLiteral(" 8進"));
    // Octal accepts 8 and 9 as OctToInt weighs them, quietly.
    form.Edit2->setText(QStringLiteral("9"));
    QVERIFY(g_messages.isEmpty());
    // While typing: the error box, the preview keeps its last text.
    const QString before = form.StaticText1->text();
    form.Edit2->setText(QStringLiteral("A"));
    QCOMPARE(g_messages, QStringList{QStringLiteral("'A' は整数ではありません")});
    QCOMPARE(form.StaticText1->text(), before);

    struct Case {
        QString start, count, message;
    };
    const Case cases[] = {
        {QStringLiteral("A"), QStringLiteral("3"), QStringLiteral("'A' は整数ではありません")},
        {QString(), QString(), QStringLiteral("'' は整数ではありません")},
        {QStringLiteral("1"), QStringLiteral("2000000000"),
         QStringLiteral("作成数 2000000000 は多すぎます。100000 以下にしてください")},
    };
    for (const Case &c : cases) {
        form.Edit2->setText(c.start);
        form.Edit4->setText(c.count);
        g_messages.clear();
        QSignalSpy finished(&form, &QDialog::finished);
        bool stillOpen = false;
        runModal([&] { return form.execFor(nullptr, TTalvoRenbanForm::Target::Editor); },
                 [&] {
                     QTest::mouseClick(form.Button1, Qt::LeftButton);
                     stillOpen = form.isVisible();
                     form.reject();
                 });
        QVERIFY(stillOpen);
        QCOMPARE(g_messages, QStringList{c.message});
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Rejected));
    }

    // A count of 0 closes with OK and nothing to produce.
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    form.Edit2->setText(QStringLiteral("1"));
    form.Edit4->setText(QStringLiteral("0"));
    const int result = runModal([&] { return form.execFor(nullptr, TTalvoRenbanForm::Target::Editor); },
                                [&] { QTest::mouseClick(form.Button1, Qt::LeftButton); });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(form.run().count, 0);
}

void DialogsTest::serialPlacementAndGridCaption()
{
    TTalvoRenbanForm form;
    form.Edit1->setText(QStringLiteral("p"));
    form.Edit4->setText(QStringLiteral("3"));
    QCOMPARE(runModal([&] { return form.execFor(nullptr, TTalvoRenbanForm::Target::Editor); },
                      [&] { QTest::mouseClick(form.Button3, Qt::LeftButton); }),
             int(QDialog::Accepted));
    QCOMPARE(form.placement(), TTalvoRenbanForm::Placement::Insert);
    QCOMPARE(tools::serialString(form.run(), 2), std::u16string(u"P02"));

    QString captionWhileShown;
    bool insertEnabledWhileShown = true;
    QCOMPARE(runModal([&] { return form.execFor(nullptr, TTalvoRenbanForm::Target::Grid); },
                      [&] {
                          captionWhileShown = form.Button1->text();
                          insertEnabledWhileShown = form.Button3->isEnabled();
                          QTest::mouseClick(form.Button1, Qt::LeftButton);
                      }),
             int(QDialog::Accepted));
    QCOMPARE(captionWhileShown, QStringLiteral("上書き"));
    QVERIFY(!insertEnabledWhileShown);
    QCOMPARE(form.placement(), TTalvoRenbanForm::Placement::Overwrite);
    QCOMPARE(form.Button1->text(), QStringLiteral("追加"));
    QVERIFY(form.Button3->isEnabled());

    QCOMPARE(runModal([&] { return form.execFor(nullptr, TTalvoRenbanForm::Target::Editor); },
                      [&] { QTest::mouseClick(form.Button1, Qt::LeftButton); }),
             int(QDialog::Accepted));
    QCOMPARE(form.placement(), TTalvoRenbanForm::Placement::Append);
    // Fields persist between openings.
    QCOMPARE(form.Edit1->text(), QStringLiteral("p"));
}

void DialogsTest::captionsShowWhole()
{
    TTalvoTikanForm tikan;
    TTalvoKasanForm kasan;
    TTalvoRenbanForm renban;
    QCOMPARE(clippedCaptions(&tikan), QStringList());
    QCOMPARE(clippedCaptions(&kasan), QStringList());
    QCOMPARE(clippedCaptions(&renban), QStringList());
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
