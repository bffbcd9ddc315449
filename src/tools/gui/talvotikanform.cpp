#include "tools/gui/talvotikanform.h"

#include "tools/gui/formkit.h"

#include "ui/captionfit.h"
#include "ui/guard.h"

#include "ui/ontop.h"
#include "ui/qstr.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TTalvoTikanForm::TTalvoTikanForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TalvoTikanForm"));
    setWindowTitle(QStringLiteral("文字列置換"));
    // Tool window: small caption bar, no minimise or maximise box.
    setWindowFlags(Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(formkit::tahoma(11));
    setFixedSize(203, 128);

    CheckBox1 = new QCheckBox(QStringLiteral("大文字/小文字を無視"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(74, 8, 137, 17);
    CheckBox1->setChecked(true);
    Label1 = formkit::label(this, "Label1", QStringLiteral("検索文字列"), 8, 34);
    Edit1 = formkit::edit(this, "Edit1", {}, 74, 31, 121, 22);
    Label2 = formkit::label(this, "Label2", QStringLiteral("置換文字列"), 8, 61);
    Edit2 = formkit::edit(this, "Edit2", {}, 74, 58, 121, 22);
    for (QLineEdit *e : {Edit1, Edit2})
        e->setFont(formkit::tahomaPoints(9, true));
    Button1 = formkit::button(this, "Button1", QStringLiteral("実行"), 23, 95);
    Button2 = formkit::button(this, "Button2", QStringLiteral("取り消し"), 104, 95);
    Button1->setDefault(true);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Button1);
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, CheckBox1);

    guardedConnect(Button1, &QPushButton::clicked, this, [this] { accept(); });
    guardedConnect(Button2, &QPushButton::clicked, this, [this] { reject(); });
    FormCreate();
    fitCaptions(this);
}

void TTalvoTikanForm::FormCreate()
{
    Edit1->clear();
    Edit2->clear();
}

int TTalvoTikanForm::execFor(QWidget *mainWindow)
{
    Edit1->setFocus();
    return execOnTop(this, mainWindow);
}

tools::ReplaceOptions TTalvoTikanForm::options() const
{
    return tools::ReplaceOptions{fromQ(Edit1->text()), fromQ(Edit2->text()), CheckBox1->isChecked()};
}

void TTalvoTikanForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    formkit::centreOnScreen(this);
}
