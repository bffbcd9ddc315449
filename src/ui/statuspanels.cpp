#include "ui/statuspanels.h"

#include <QLabel>
#include <QStatusBar>

namespace {
QString panelName(int index)
{
    return QStringLiteral("StatusPanel%1").arg(index);
}
}  // namespace

void addStatusPanels(QStatusBar *bar)
{
    const int widths[] = {150, 100};
    for (int i = 0; i < 2; ++i) {
        auto *label = new QLabel(bar);
        label->setObjectName(panelName(i));
        label->setFixedWidth(widths[i]);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addWidget(label);
    }
}

void setStatusPanel(QStatusBar *bar, int index, const QString &text)
{
    if (auto *label = bar->findChild<QLabel *>(panelName(index), Qt::FindDirectChildrenOnly))
        label->setText(text);
}

QString statusPanel(const QStatusBar *bar, int index)
{
    if (auto *label = bar->findChild<QLabel *>(panelName(index), Qt::FindDirectChildrenOnly))
        return label->text();
    return {};
}
