#pragma once

#include <QString>

class QCheckBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QWidget;

// Small factories for the page controls: objectName, caption and the
// geometry at 100 % scaling in one call.
QToolButton *makeButton(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
                        int height, bool enabled = true);
// Labels start at the given corner and reach to the page's right edge.
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, int left, int top);
QCheckBox *makeCheckBox(QWidget *parent, const QString &name, const QString &caption, int left, int top, int width,
                        int height, bool checked);
QLineEdit *makeEdit(QWidget *parent, const QString &name, int left, int top, int width, int height);
