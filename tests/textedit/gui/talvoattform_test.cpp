#include "textedit/gui/talvoattform.h"

#include "support/hostfixture.h"

#include "ui/ontop.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TalvoAttFormTest : public QObject {
    Q_OBJECT
private slots:
    void openingCopiesTheComboAndOkPutsItBack();
    void listRules();
    void referenceFillsTagAndPrompt();

private:
    static QStringList rows(const TTalvoAttForm &f) { return f.entries(); }
};

void TalvoAttFormTest::openingCopiesTheComboAndOkPutsItBack()
{
    QWidget main;
    QComboBox combo(&main);
    combo.setEditable(true);
    combo.addItems({QStringLiteral("A:1"), QStringLiteral("B:2")});
    combo.setEditText(QStringLiteral("typed"));
    TTalvoAttForm form;
    form.Edit1->setText(QStringLiteral("kept"));

    QTimer::singleShot(0, &form, [&] {
        QCOMPARE(rows(form), (QStringList{QStringLiteral("A:1"), QStringLiteral("B:2")}));
        QCOMPARE(form.Edit1->text(), QStringLiteral("kept"));
        form.Edit1->setText(QStringLiteral("C"));
        form.Edit2->setText(QStringLiteral("3"));
        QTest::mouseClick(form.Button2, Qt::LeftButton);
        QTest::mouseClick(form.Button4, Qt::LeftButton);
    });
    QCOMPARE(form.execFor(&main, &combo), int(QDialog::Accepted));
    QCOMPARE(combo.count(), 3);
    QCOMPARE(combo.itemText(2), QStringLiteral("C:3"));
    QCOMPARE(combo.currentText(), QStringLiteral("typed"));

    // Cancel: the combo stays; the next opening copies it again.
    QTimer::singleShot(0, &form, [&] {
        QTest::mouseClick(form.Button3, Qt::LeftButton);
        QTest::mouseClick(form.Button5, Qt::LeftButton);
    });
    QCOMPARE(form.execFor(&main, &combo), int(QDialog::Rejected));
    QCOMPARE(combo.count(), 3);

    // OK after removing every entry leaves the combo without items.
    QTimer::singleShot(0, &form, [&] {
        for (int i = 0; i < 3; ++i) {
            form.ListBox1->setCurrentRow(0);
            QTest::mouseClick(form.Button3, Qt::LeftButton);
        }
        QTest::mouseClick(form.Button4, Qt::LeftButton);
    });
    form.execFor(&main, &combo);
    QCOMPARE(combo.count(), 0);
    QCOMPARE(form.Edit1->text(), QString());
}

void TalvoAttFormTest::listRules()
{
    TTalvoAttForm form;
    form.setEntries({QStringLiteral("D:4"), QStringLiteral("B:2"), QStringLiteral("A:1"), QStringLiteral("C:3")});
    QCOMPARE(rows(form).join(u' '), QStringLiteral("A:1 B:2 C:3 D:4"));

    // A click splits the entry into the fields; no colon: empty prompt.
    QTest::mouseClick(form.ListBox1->viewport(), Qt::LeftButton, {},
                      form.ListBox1->visualItemRect(form.ListBox1->item(1)).center());
    QCOMPARE(form.Edit1->text(), QStringLiteral("B"));
    QCOMPARE(form.Edit2->text(), QStringLiteral("2"));

    // 更新 in place, even out of order, and the entry stays selected.
    form.Edit1->setText(QStringLiteral("Z"));
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QCOMPARE(rows(form).join(u' '), QStringLiteral("A:1 Z:2 C:3 D:4"));
    QCOMPARE(form.ListBox1->currentRow(), 1);

    // 追加 at the sorted place; selection and fields stay.
    form.Edit1->setText(QStringLiteral("AA"));
    form.Edit2->setText(QStringLiteral("x"));
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    QCOMPARE(rows(form).join(u' '), QStringLiteral("A:1 AA:x Z:2 C:3 D:4"));
    QCOMPARE(form.ListBox1->currentItem()->text(), QStringLiteral("Z:2"));
    QCOMPARE(form.Edit1->text(), QStringLiteral("AA"));

    // 削除 from the middle: the first entry is selected and shown.
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    QCOMPARE(rows(form).join(u' '), QStringLiteral("A:1 AA:x C:3 D:4"));
    QCOMPARE(form.ListBox1->currentRow(), 0);
    QCOMPARE(form.Edit1->text(), QStringLiteral("A"));
    // 削除 of the last: the new last is selected and shown.
    form.ListBox1->setCurrentRow(3);
    QTest::mouseClick(form.Button3, Qt::LeftButton);
    QCOMPARE(form.ListBox1->currentRow(), 2);
    QCOMPARE(form.Edit1->text(), QStringLiteral("C"));

    // Nothing selected: 更新 appends at the end.
    form.setEntries({QStringLiteral("NOCOLON")});
    form.Edit1->setText(QStringLiteral("B"));
    form.Edit2->setText(QStringLiteral("b"));
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QCOMPARE(rows(form).join(u' '), QStringLiteral("NOCOLON B:b"));
    form.ListBox1->setCurrentRow(0);
    QCOMPARE(form.Edit1->text(), QStringLiteral("NOCOLON"));
    QCOMPARE(form.Edit2->text(), QString());
}

void TalvoAttFormTest::referenceFillsTagAndPrompt()
{
    HostBench bench;
    cadhost::Drawing &d = bench.d;
    d.addBlock({.name = u"PUMP",
                .lines = {{{0, 0, 0}, {10, 0, 0}}},
                .attributes = {{.tag = u"NO", .prompt = u"番号", .defaultValue = u"-", .point = {0, 0, 0}},
                               {.tag = u"NAME", .prompt = u"機器名", .defaultValue = u"-", .point = {0, 5, 0}}}});
    const cadhost::EntityId insert = d.addInsert(
        {.block = u"PUMP", .insertionPoint = {0, 0, 0}, .attributes = {{u"NO", u"P-1"}, {u"NAME", u"給水"}}});
    const cadhost::EntityId text = bench.text(u"T", 0, 0);
    const std::u16string nameAttr = bench.handle(bench.entity(insert).attributes[1]);

    TTalvoAttForm form;
    form.setEntries({QStringLiteral("A:1")});
    bench.host.scriptedPicker().queueSubEntity(nameAttr);
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    QCOMPARE(form.Edit1->text(), QStringLiteral("NAME"));
    QCOMPARE(form.Edit2->text(), QStringLiteral("機器名"));
    // The dialog comes back to the front after an Escape to the CAD.
    QCOMPARE(bench.win.foregroundWindow, cad::WindowHandle(form.winId()));
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    QCOMPARE(rows(form).join(u' '), QStringLiteral("A:1 NAME:機器名"));

    // A TEXT and a cancelled pick leave both fields as they were.
    bench.host.scriptedPicker().queueSubEntity(bench.handle(text));
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    bench.host.scriptedPicker().queueSubEntityCancel();
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    QCOMPARE(form.Edit1->text(), QStringLiteral("NAME"));
    QCOMPARE(form.Edit2->text(), QStringLiteral("機器名"));
    QCOMPARE(bench.win.foregroundWindow, cad::WindowHandle(form.winId()));

    // CAD not running: nothing at all.
    bench.host.stop();
    form.Edit1->setText(QStringLiteral("x"));
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    QCOMPARE(form.Edit1->text(), QStringLiteral("x"));
}

QTEST_MAIN(TalvoAttFormTest)
#include "talvoattform_test.moc"
