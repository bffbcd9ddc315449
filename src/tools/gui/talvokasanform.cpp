#include "tools/gui/talvokasanform.h"

#include "tools/gui/formkit.h"

#include "ui/captionfit.h"
#include "ui/guard.h"

#include "ui/ontop.h"
#include "ui/qstr.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

TTalvoKasanForm::TTalvoKasanForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TalvoKasanForm"));
    setWindowTitle(QStringLiteral("加算"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFont(formkit::tahoma(11));
    setFixedSize(214, 165);

    SpeedButton1 = formkit::radixButton(this, "SpeedButton1", QStringLiteral("10 進"), 8, 8);
    SpeedButton2 = formkit::radixButton(this, "SpeedButton2", QStringLiteral("16 進"), 54, 8);
    SpeedButton3 = formkit::radixButton(this, "SpeedButton3", QStringLiteral("8 進"), 100, 8);
    radixGroup = new QButtonGroup(this);
    radixGroup->setExclusive(true);
    radixGroup->addButton(SpeedButton1);
    radixGroup->addButton(SpeedButton2);
    radixGroup->addButton(SpeedButton3);
    SpeedButton1->setChecked(true);
    Label5 = formkit::label(this, "Label5", QStringLiteral("10 進"), 154, 6);
    Label5->setFont(formkit::tahoma(18, true));
    Label5->setFixedWidth(56);

    Label2 = formkit::label(this, "Label2", QStringLiteral("数値検出"), 8, 44);
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(62, 36, 144, 28);
    RadioButton1 = new QRadioButton(QStringLiteral("先頭から"), GroupBox1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(6, 5, 66, 18);
    RadioButton2 = new QRadioButton(QStringLiteral("末尾から"), GroupBox1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(74, 5, 66, 18);
    RadioButton2->setChecked(true);

    Label3 = formkit::label(this, "Label3", QStringLiteral("対象桁数"), 8, 76);
    Edit2 = formkit::edit(this, "Edit2", QStringLiteral("2"), 62, 72, 30, 22);
    formkit::numberField(Edit2, Qt::AlignRight | Qt::AlignVCenter);
    UpDown1 = new formkit::UpDown(this, Edit2, 1, 8, 2);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->move(92, 72);
    for (QWidget *w : std::initializer_list<QWidget *>{Label3, Edit2, UpDown1})
        w->setEnabled(false);

    Label1 = formkit::label(this, "Label1", QStringLiteral("加算数"), 8, 106);
    Edit1 = formkit::edit(this, "Edit1", QStringLiteral("1"), 62, 102, 70, 22);
    formkit::numberField(Edit1, Qt::AlignRight | Qt::AlignVCenter);
    Label4 = formkit::label(this, "Label4", QStringLiteral("(10進表記)"), 138, 106);

    Button1 = formkit::button(this, "Button1", QStringLiteral("実行"), 26, 134);
    Button2 = formkit::button(this, "Button2", QStringLiteral("取り消し"), 113, 134);
    Button1->setDefault(true);

    for (QToolButton *b : {SpeedButton1, SpeedButton2, SpeedButton3})
        guardedConnect(b, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    guardedConnect(Button1, &QPushButton::clicked, this, [this] { accept(); });
    guardedConnect(Button2, &QPushButton::clicked, this, [this] { reject(); });
    fitCaptions(this);
}

tools::Radix TTalvoKasanForm::radix() const
{
    if (SpeedButton2->isChecked())
        return tools::Radix::Hexadecimal;
    if (SpeedButton3->isChecked())
        return tools::Radix::Octal;
    return tools::Radix::Decimal;
}

void TTalvoKasanForm::SpeedButton1Click()
{
    // Every radix click, decimal included, resets the side to the end.
    RadioButton2->setChecked(true);
    const bool decimal = radix() == tools::Radix::Decimal;
    RadioButton1->setEnabled(decimal);
    RadioButton2->setEnabled(decimal);
    Label3->setEnabled(!decimal);
    Edit2->setEnabled(!decimal);
    UpDown1->setEnabled(!decimal);
    Label5->setText(toQ(tools::radixCaption(radix())));
}

tools::AdditionOptions TTalvoKasanForm::options() const
{
    tools::AdditionOptions o;
    o.radix = radix();
    o.fromEnd = RadioButton2->isChecked();
    o.digitCount = UpDown1->position();
    o.addend = tools::parseDecimal(fromQ(Edit1->text().trimmed())).value_or(0);
    return o;
}

int TTalvoKasanForm::execFor(QWidget *mainWindow)
{
    Edit1->setFocus();
    Edit1->selectAll();
    return execOnTop(this, mainWindow);
}

void TTalvoKasanForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    formkit::centreOnScreen(this);
}
