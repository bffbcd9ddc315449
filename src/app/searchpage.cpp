#include "app/searchpage.h"

#include "ui/fonts.h"
#include "ui/guard.h"
#include "ui/anchors.h"
#include "ui/pagecontrols.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolButton>

SearchPage::SearchPage(MainState &, QStatusBar *, QWidget *parent)
    : QWidget(parent)
{
    Label7 = makeLabel(this, QStringLiteral("Label7"), QStringLiteral("検索 (部分一致)"), 3, 2);
    Edit3 = makeEdit(this, QStringLiteral("Edit3"), 3, 22, 121, 24);
    Edit3->setToolTip(QStringLiteral("[Enter]で検索（ワイルドカード * ? が使えます)"));
    Label8 = makeLabel(this, QStringLiteral("Label8"), QStringLiteral("Enter=検索"), 130, 20);
    Label8->setFont(pixelFont(QStringLiteral("Tahoma"), 11));
    Label6 = makeLabel(this, QStringLiteral("Label6"), QString(), 130, 32);
    SpeedButton14 = makeButton(this, QStringLiteral("SpeedButton14"), QStringLiteral("検索"), 219, 24, 54, 41);
    SpeedButton15 = makeButton(this, QStringLiteral("SpeedButton15"), QStringLiteral("更新"), 279, 24, 34, 41, false);
    CheckBox3 = makeCheckBox(this, QStringLiteral("CheckBox3"), QStringLiteral("先頭一致"), 3, 48, 66, 17, false);
    CheckBox4 = makeCheckBox(this, QStringLiteral("CheckBox4"), QStringLiteral("a->A"), 78, 48, 46, 17, true);
    CheckBox8 = makeCheckBox(this, QStringLiteral("CheckBox8"), QStringLiteral("Enter=[↓]"), 3, 71, 86, 17, true);
    CheckBox5 = makeCheckBox(this, QStringLiteral("CheckBox5"), QStringLiteral("Enter=更新"), 95, 71, 93, 17, true);

    StringGrid2 = new QTableWidget(0, 1, this);
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    StringGrid2->setFont(pixelFont(QStringLiteral("Tahoma"), 13));
    StringGrid2->horizontalHeader()->hide();  // no fixed rows or columns
    StringGrid2->verticalHeader()->hide();
    StringGrid2->verticalHeader()->setDefaultSectionSize(20);
    StringGrid2->verticalHeader()->setMinimumSectionSize(20);
    StringGrid2->setGeometry(0, 96, 316, 176);
    anchorToParent(StringGrid2, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);

    guardedConnect(Edit3, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!m_upperCase)
            return;
        const QString upper = text.toUpper();
        if (upper != text) {
            const int pos = Edit3->cursorPosition();
            Edit3->setText(upper);
            Edit3->setCursorPosition(pos);
        }
    });
    guardedConnect(CheckBox4, &QCheckBox::toggled, this, &SearchPage::setEdit3UpperCase);
}

void SearchPage::setEdit3UpperCase(bool on)
{
    m_upperCase = on;
}
