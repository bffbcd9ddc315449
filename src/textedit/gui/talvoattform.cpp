#include "textedit/gui/talvoattform.h"

#include "textedit/tagref.h"

#include "ui/ontop.h"
#include "ui/picklist.h"
#include "ui/captionfit.h"
#include "ui/guard.h"
#include "ui/qstr.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &caption, QRect r)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(r);
    b->setAutoDefault(false);
    return b;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, int left, int top)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

}  // namespace

TTalvoAttForm::TTalvoAttForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TalvoAttForm"));
    setWindowTitle(QStringLiteral("TAGリスト編集"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(11);
    setFont(f);
    setFixedSize(246, 285);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setGeometry(8, 8, 228, 145);
    // Kept sorted by our own rule: "更新" may leave an entry out of order.
    ListBox1->setSortingEnabled(false);
    Label1 = label(this, "Label1", QStringLiteral("TAG"), 8, 160);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 174, 100, 21);
    SpeedButton1 = button(this, "SpeedButton1", QStringLiteral("参照"), {114, 173, 41, 22});
    Label2 = label(this, "Label2", QStringLiteral("PROMPT"), 8, 197);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(8, 211, 147, 21);
    Button1 = button(this, "Button1", QStringLiteral("更新"), {161, 159, 75, 25});
    Button2 = button(this, "Button2", QStringLiteral("追加"), {161, 184, 75, 25});
    Button3 = button(this, "Button3", QStringLiteral("削除"), {161, 209, 75, 25});
    Button4 = button(this, "Button4", QStringLiteral("OK"), {48, 252, 75, 25});
    Button5 = button(this, "Button5", QStringLiteral("取り消し"), {129, 252, 75, 25});

    // A click or a move by keyboard; not the program's own moves.
    guardedConnect(ListBox1, &QListWidget::currentRowChanged, this, [this] {
        if (m_quiet == 0)
            ListBox1Click();
    });
    guardedConnect(ListBox1, &QListWidget::itemClicked, this, [this] { ListBox1Click(); });
    guardedConnect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    guardedConnect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    guardedConnect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    guardedConnect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    guardedConnect(Button5, &QPushButton::clicked, this, [this] { reject(); });
    guardedConnect(SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    fitCaptions(this);
}

QStringList TTalvoAttForm::entries() const
{
    QStringList out;
    for (int i = 0; i < ListBox1->count(); ++i)
        out << ListBox1->item(i)->text();
    return out;
}

void TTalvoAttForm::setEntries(const QStringList &entries)
{
    ++m_quiet;
    ListBox1->clear();
    ListBox1->addItems(sortedPickList(entries));
    ListBox1->setCurrentRow(-1);
    --m_quiet;
}

void TTalvoAttForm::selectRow(int row)
{
    ++m_quiet;
    ListBox1->setCurrentRow(row);
    if (row < 0)
        ListBox1->clearSelection();
    --m_quiet;
}

QString TTalvoAttForm::fieldsEntry() const
{
    return Edit1->text() + u':' + Edit2->text();
}

int TTalvoAttForm::execFor(QWidget *mainWindow, QComboBox *combo)
{
    m_combo = combo;
    const auto forget = qScopeGuard([this] { m_combo = nullptr; });
    setEntries(pickListItems(combo));
    // Centred on the main window.
    if (mainWindow)
        move(mainWindow->frameGeometry().center() - rect().center());
    return execOnTop(this, mainWindow);
}

void TTalvoAttForm::ListBox1Click()
{
    if (ListBox1->count() == 0) {
        Edit1->clear();
        Edit2->clear();
        return;
    }
    if (ListBox1->currentRow() < 0)
        selectRow(0);
    const QStringList fields = ListBox1->currentItem()->text().split(u':');
    Edit1->setText(fields.value(0));
    Edit2->setText(fields.value(1));
}

void TTalvoAttForm::Button1Click()
{
    const QString text = fieldsEntry();
    if (QListWidgetItem *item = ListBox1->currentRow() >= 0 ? ListBox1->currentItem() : nullptr)
        item->setText(text);  // in place, even out of order; stays selected
    else
        ListBox1->addItem(text);
}

void TTalvoAttForm::Button2Click()
{
    const QString text = fieldsEntry();
    const int selected = ListBox1->currentRow();
    const int at = sortedInsertPosition(entries(), text);
    ++m_quiet;
    ListBox1->insertItem(at, text);
    // The selected entry stays selected, wherever it moved.
    ListBox1->setCurrentRow(selected < 0 ? -1 : selected + (at <= selected ? 1 : 0));
    if (selected < 0)
        ListBox1->clearSelection();
    --m_quiet;
}

void TTalvoAttForm::Button3Click()
{
    const int row = ListBox1->currentRow();
    if (row >= 0) {
        const bool wasLast = row == ListBox1->count() - 1;
        ++m_quiet;
        delete ListBox1->takeItem(row);
        --m_quiet;
        selectRow(wasLast ? ListBox1->count() - 1 : -1);
    }
    ListBox1Click();
}

void TTalvoAttForm::Button4Click()
{
    if (m_combo) {
        // The text shown in the combo stays as it is.
        const QString shown = m_combo->currentText();
        m_combo->clear();
        m_combo->addItems(sortedPickList(entries()));
        m_combo->setCurrentIndex(m_combo->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive));
        if (m_combo->isEditable())
            m_combo->setEditText(shown);
    }
    accept();
}

void TTalvoAttForm::SpeedButton1Click()
{
    TagFields fields{fromQ(Edit1->text()), fromQ(Edit2->text())};
    const auto show = qScopeGuard([&] {
        Edit1->setText(toQ(fields.tag));
        Edit2->setText(toQ(fields.prompt));
    });
    ReferenceTag(fields, cad::WindowHandle(winId()));
}
