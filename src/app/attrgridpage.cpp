#include "app/attrgridpage.h"

#include "ui/fonts.h"
#include "ui/guard.h"
#include "ui/anchors.h"
#include "ui/pagecontrols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTableWidget>
#include <QToolButton>

AttrGridPage::AttrGridPage(MainState &, QStatusBar *, QMenu *gridMenu, QWidget *parent)
    : QWidget(parent)
{
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setEditable(false);
    ComboBox2->setMaxVisibleItems(16);
    ComboBox2->setGeometry(3, 3, 310, 22);
    anchorToParent(ComboBox2, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge);

    SpeedButton10 = makeButton(this, QStringLiteral("SpeedButton10"), QStringLiteral("取得"), 3, 31, 48, 34);
    SpeedButton12 = makeButton(this, QStringLiteral("SpeedButton12"), QStringLiteral("中止"), 51, 31, 50, 34, false);
    SpeedButton11 = makeButton(this, QStringLiteral("SpeedButton11"), QStringLiteral("更新"), 103, 31, 50, 34, false);
    SpeedButton13 = makeButton(this, QStringLiteral("SpeedButton13"), QStringLiteral("UNDO"), 159, 43, 58, 22);
    Label5 = makeLabel(this, QStringLiteral("Label5"), QString(), 223, 51);
    CheckBox2 = makeCheckBox(this, QStringLiteral("CheckBox2"), QStringLiteral("Enter=[ ↓ ]"), 3, 66, 82, 17, true);
    CheckBox7 = makeCheckBox(this, QStringLiteral("CheckBox7"), QStringLiteral("Enter = 更新"), 91, 66, 90, 17, true);
    CheckBox6 = makeCheckBox(this, QStringLiteral("CheckBox6"), QStringLiteral("PAN (Zoom Center)"), 187, 66, 134, 17, true);

    StringGrid1 = new QTableWidget(1, 1, this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setFont(pixelFont(QStringLiteral("Tahoma"), 13));
    StringGrid1->verticalHeader()->setDefaultSectionSize(20);
    StringGrid1->verticalHeader()->setMinimumSectionSize(20);
    StringGrid1->setGeometry(0, 89, 316, 175);
    StringGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    guardedConnect(StringGrid1, &QWidget::customContextMenuRequested, this, [this, gridMenu](const QPoint &pos) {
        if (gridMenu && !gridMenu->isEmpty())
            gridMenu->popup(StringGrid1->viewport()->mapToGlobal(pos));
    });
    anchorToParent(StringGrid1, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setGeometry(0, 264, 316, 8);
    anchorToParent(ProgressBar1, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
}
