#include "tools/gui/talvorenbanform.h"

#include "tools/gui/formkit.h"
#include "tools/tool_error.h"

#include "ui/captionfit.h"
#include "ui/guard.h"
#include "ui/messages.h"
#include "ui/ontop.h"
#include "ui/qstr.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QToolButton>

#include <initializer_list>

TTalvoRenbanForm::TTalvoRenbanForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TalvoRenbanForm"));
    setWindowTitle(QStringLiteral("連番作成"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFont(formkit::tahoma(11));
    setFixedSize(270, 254);

    SpeedButton1 = formkit::radixButton(this, "SpeedButton1", QStringLiteral("10 進"), 8, 8);
    SpeedButton2 = formkit::radixButton(this, "SpeedButton2", QStringLiteral("16 進"), 54, 8);
    SpeedButton3 = formkit::radixButton(this, "SpeedButton3", QStringLiteral("8 進"), 100, 8);
    radixGroup = new QButtonGroup(this);
    radixGroup->setExclusive(true);
    for (QToolButton *b : {SpeedButton1, SpeedButton2, SpeedButton3})
        radixGroup->addButton(b);
    SpeedButton1->setChecked(true);
    Label5 = formkit::label(this, "Label5", QStringLiteral("10進"), 170, 6);
    Label5->setFont(formkit::tahoma(18, true));
    Label5->setFixedWidth(80);

    Label1 = formkit::label(this, "Label1", QStringLiteral("前固定"), 8, 44);
    Edit1 = formkit::edit(this, "Edit1", {}, 70, 40, 130, 22);
    Label2 = formkit::label(this, "Label2", QStringLiteral("開始数"), 8, 70);
    Edit2 = formkit::edit(this, "Edit2", QStringLiteral("00"), 70, 66, 130, 22);
    Label3 = formkit::label(this, "Label3", QStringLiteral("後固定"), 8, 96);
    Edit3 = formkit::edit(this, "Edit3", {}, 70, 92, 130, 22);
    Label6 = formkit::label(this, "Label6", QStringLiteral("アップ数"), 8, 122);
    Edit5 = formkit::edit(this, "Edit5", QStringLiteral("1"), 70, 118, 70, 22);
    Label8 = formkit::label(this, "Label8", QStringLiteral("(10進)"), 146, 122);
    Label4 = formkit::label(this, "Label4", QStringLiteral("作成数"), 8, 148);
    Edit4 = formkit::edit(this, "Edit4", QStringLiteral("16"), 70, 144, 70, 22);
    Label9 = formkit::label(this, "Label9", QStringLiteral("(10進)"), 146, 148);
    // Only digits can be typed into the count.
    Edit4->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), Edit4));
    for (QLineEdit *e : {Edit1, Edit2, Edit3, Edit5, Edit4})
        formkit::numberField(e, Qt::AlignCenter);
    Label7 = formkit::label(this, "Label7", QStringLiteral("( 開始数なしで固定文字作成 )"), 8, 172);

    StaticText1 = new QLabel(this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setGeometry(8, 190, 254, 22);
    StaticText1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StaticText1->setAlignment(Qt::AlignCenter);

    Button3 = formkit::button(this, "Button3", QStringLiteral("挿入"), 14, 221);
    Button1 = formkit::button(this, "Button1", QStringLiteral("追加"), 97, 221);
    Button2 = formkit::button(this, "Button2", QStringLiteral("取り消し"), 180, 221);

    for (QLineEdit *e : {Edit1, Edit2, Edit3, Edit5, Edit4})
        guardedConnect(e, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    for (QToolButton *b : {SpeedButton1, SpeedButton2, SpeedButton3})
        guardedConnect(b, &QToolButton::clicked, this, [this] { Edit1Change(); });
    guardedConnect(Button1, &QPushButton::clicked, this, [this] { Button1Click(Button1); });
    guardedConnect(Button3, &QPushButton::clicked, this, [this] { Button1Click(Button3); });
    guardedConnect(Button2, &QPushButton::clicked, this, [this] { reject(); });
    FormCreate();
    fitCaptions(this);
}

void TTalvoRenbanForm::FormCreate()
{
    guarded([this] { Edit1Change(); });
}

tools::Radix TTalvoRenbanForm::radix() const
{
    if (SpeedButton2->isChecked())
        return tools::Radix::Hexadecimal;
    if (SpeedButton3->isChecked())
        return tools::Radix::Octal;
    return tools::Radix::Decimal;
}

tools::SerialFields TTalvoRenbanForm::fields() const
{
    return tools::SerialFields{fromQ(Edit1->text()), fromQ(Edit2->text()), fromQ(Edit3->text()),
                               fromQ(Edit5->text()), fromQ(Edit4->text()), radix()};
}

void TTalvoRenbanForm::Edit1Change()
{
    const tools::SerialFields f = fields();
    const bool fixedText = f.start.empty();
    Label6->setEnabled(!fixedText);
    Edit5->setEnabled(!fixedText);
    if (!fixedText)
        Label5->setText(toQ(tools::radixCaption(f.radix)));
    // An octal start that is no number: the error box of the guard, and
    // the preview keeps its last text.
    StaticText1->setText(toQ(tools::serialPreview(f)));
}

void TTalvoRenbanForm::Button1Click(QAbstractButton *sender)
{
    // Throws for the field errors: the guard shows them and the dialog
    // stays open with nothing produced.
    m_run = tools::readSerialFields(fields(), tools::SerialUse::Generation);
    if (sender == Button3)
        m_placement = Placement::Insert;
    else
        m_placement = m_target == Target::Grid ? Placement::Overwrite : Placement::Append;
    accept();
}

int TTalvoRenbanForm::execFor(QWidget *mainWindow, Target target)
{
    m_target = target;
    const bool grid = target == Target::Grid;
    Button3->setEnabled(!grid);
    Button1->setText(grid ? QStringLiteral("上書き") : QStringLiteral("追加"));
    const auto restore = qScopeGuard([this] {
        Button3->setEnabled(true);
        Button1->setText(QStringLiteral("追加"));
        m_target = Target::Editor;
    });
    return execOnTop(this, mainWindow);
}

void TTalvoRenbanForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    formkit::centreOnScreen(this);
}
