#pragma once

#include <QString>

class QStatusBar;

// StatusBar1 holds two fixed panels (150 and 100 pixels). The tab pages
// receive the bar and write its panels through these functions.
void addStatusPanels(QStatusBar *bar);
void setStatusPanel(QStatusBar *bar, int index, const QString &text);
QString statusPanel(const QStatusBar *bar, int index);
