#include "cad/qt/targetcadform.h"

#include "cad/connection.h"
#include "ui/captionfit.h"
#include "ui/fonts.h"
#include "ui/guard.h"
#include "ui/picklist.h"
#include "ui/qstr.h"

#include <QFont>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("TalvoEditZ");

QFont pixels(int size)
{
    return pixelFont(QStringLiteral("Tahoma"), size);
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, int l, int t, int w, int h)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(l, t, w, h);
    b->setAutoDefault(false);  // Enter in the fields means 変更, not a close
    growToCaption(b);
    return b;
}

QLineEdit *edit(QWidget *parent, const QString &name, int l, int t)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(l, t, 198, 24);
    e->setAttribute(Qt::WA_InputMethodEnabled, false);
    return e;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text, int l, int t)
{
    auto *lb = new QLabel(text, parent);
    lb->setObjectName(name);
    lb->move(l, t);
    lb->adjustSize();
    return lb;
}

}  // namespace

TTargetCADForm::TTargetCADForm(LoadList load, SaveList save, QWidget *parent)
    : QDialog(parent)
    , m_load(std::move(load))
    , m_save(std::move(save))
{
    setObjectName(QStringLiteral("TargetCADForm"));
    setWindowTitle(QStringLiteral("ターゲット CAD"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFont(pixels(11));
    setFixedSize(315, 307);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setFont(pixels(13));
    ListBox1->setGeometry(8, 8, 297, 137);
    // Sorting is ours: 変更 may leave an entry out of order until the next load.
    ListBox1->setSortingEnabled(false);

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 151, 297, 105);
    Label1 = label(GroupBox1, QStringLiteral("Label1"), QStringLiteral("名称 （説明）"), 16, 3);
    Edit1 = edit(GroupBox1, QStringLiteral("Edit1"), 16, 23);
    Label2 = label(GroupBox1, QStringLiteral("Label2"), QStringLiteral("ProgID （クラス文字列）"), 16, 53);
    Edit2 = edit(GroupBox1, QStringLiteral("Edit2"), 16, 73);
    SpeedButton1 = button(GroupBox1, QStringLiteral("SpeedButton1"), QStringLiteral("追加"), 220, 21, 71, 22);
    SpeedButton2 = button(GroupBox1, QStringLiteral("SpeedButton2"), QStringLiteral("削除"), 220, 49, 71, 22);
    SpeedButton3 = button(GroupBox1, QStringLiteral("SpeedButton3"), QStringLiteral("変更"), 220, 77, 71, 22);
    Button1 = button(this, QStringLiteral("Button1"), QStringLiteral("OK"), 80, 271, 75, 25);
    Button2 = button(this, QStringLiteral("Button2"), QStringLiteral("取り消し"), 161, 271, 88, 25);

    guardedConnect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    guardedConnect(SpeedButton1, &QPushButton::clicked, this, &TTargetCADForm::SpeedButton1Click);
    guardedConnect(SpeedButton2, &QPushButton::clicked, this, &TTargetCADForm::SpeedButton2Click);
    guardedConnect(SpeedButton3, &QPushButton::clicked, this, &TTargetCADForm::SpeedButton3Click);
    guardedConnect(Button1, &QPushButton::clicked, this, &TTargetCADForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
}

int TTargetCADForm::findEntry(const QStringList &lines, const QString &progId)
{
    const QString needle = QLatin1Char('\t') + progId;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(needle))
            return i;
    }
    return -1;
}

std::optional<QString> TTargetCADForm::captionFor(const QStringList &lines, const QString &progId)
{
    const int i = findEntry(lines, progId);
    if (i < 0)
        return std::nullopt;
    const QString &line = lines[i];
    const QString name = line.left(line.indexOf(QLatin1Char('\t') + progId));
    return kTitle + QStringLiteral(" [ ") + name + QStringLiteral(" ]");
}

QStringList TTargetCADForm::entries() const
{
    QStringList list;
    for (int i = 0; i < ListBox1->count(); ++i)
        list.append(ListBox1->item(i)->text());
    return list;
}

void TTargetCADForm::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

void TTargetCADForm::FormShow()
{
    if (QScreen *screen = this->screen())
        move(screen->geometry().center() - rect().center());
    const std::optional<QStringList> lines = m_load ? m_load() : std::nullopt;
    if (!lines)
        return;
    QStringList sorted = *lines;
    std::stable_sort(sorted.begin(), sorted.end(), pickListLess);
    ListBox1->clear();
    ListBox1->addItems(sorted);
    const int i = findEntry(sorted, toQ(cad::TargetProgID));
    if (i >= 0) {
        select(i);
        ListBox1Click();
    }
}

void TTargetCADForm::ListBox1Click()
{
    const QListWidgetItem *item = ListBox1->currentItem();
    if (!item || !item->isSelected())
        return;
    const QString entry = item->text();
    const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
    Edit1->setText(tab < 0 ? QString() : entry.left(tab));
    Edit2->setText(tab < 0 ? entry : entry.mid(tab + 1));
}

void TTargetCADForm::SpeedButton1Click()
{
    const QString entry = fieldsEntry();
    const QStringList list = entries();
    const int at = int(std::upper_bound(list.begin(), list.end(), entry, pickListLess) - list.begin());
    ListBox1->insertItem(at, entry);
    select(int(entries().indexOf(entry)));
    ListBox1Click();
    save();
}

void TTargetCADForm::SpeedButton2Click()
{
    const QListWidgetItem *item = ListBox1->currentItem();
    if (!item || !item->isSelected())
        return;
    const int i = ListBox1->currentRow();
    delete ListBox1->takeItem(i);
    Edit1->clear();
    Edit2->clear();
    const int count = ListBox1->count();
    // The entry that followed, unless the removed one was the last or the
    // second-to-last: then the one before it.
    int next = -1;
    if (i + 1 < count)
        next = i;
    else if (i - 1 >= 0)
        next = i - 1;
    select(next);
    if (next >= 0)
        ListBox1Click();
    save();
}

void TTargetCADForm::SpeedButton3Click()
{
    const QString entry = fieldsEntry();
    QListWidgetItem *item = ListBox1->currentItem();
    if (item && item->isSelected()) {
        item->setText(entry);  // keeps its place even out of order
    } else {
        ListBox1->addItem(entry);
    }
    save();
}

bool TTargetCADForm::Edit1KeyPress(QKeyEvent *e)
{
    if (e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)
        return false;
    SpeedButton3Click();
    return true;
}

void TTargetCADForm::Button1Click()
{
    if (m_mainWindow)
        m_mainWindow->setWindowTitle(kTitle + QStringLiteral(" [ ") + Edit1->text() + QStringLiteral(" ]"));
    cad::TargetProgID = fromQ(Edit2->text());
    accept();
}

bool TTargetCADForm::eventFilter(QObject *watched, QEvent *event)
{
    if ((watched == Edit1 || watched == Edit2) && event->type() == QEvent::KeyPress)
        return Edit1KeyPress(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

QString TTargetCADForm::fieldsEntry() const
{
    return Edit1->text() + QLatin1Char('\t') + Edit2->text();
}

void TTargetCADForm::select(int row)
{
    ListBox1->clearSelection();
    ListBox1->setCurrentRow(row);  // -1 clears the current item
    if (row >= 0)
        ListBox1->item(row)->setSelected(true);
}

void TTargetCADForm::save()
{
    if (m_save)
        m_save(entries());
}
