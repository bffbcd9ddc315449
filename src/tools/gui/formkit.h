#pragma once

#include <QString>
#include <QWidget>

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// Small builders the text-tool dialogs share: controls placed at their
// design positions with their names.
namespace formkit {

QFont tahoma(int pixels, bool bold = false);
QFont tahomaPoints(int points, bool bold = false);

QLabel *label(QWidget *parent, const char *name, const QString &text, int left, int top);
QLineEdit *edit(QWidget *parent, const char *name, const QString &text, int left, int top, int width, int height);
QPushButton *button(QWidget *parent, const char *name, const QString &caption, int left, int top, int width = 75,
                    int height = 25);
// A checkable button of an exclusive radix group.
QToolButton *radixButton(QWidget *parent, const char *name, const QString &caption, int left, int top);

// A one-line edit for numbers: bold, input method off.
void numberField(QLineEdit *e, Qt::Alignment alignment);

// Moves the dialog to the centre of the screen it is shown on.
void centreOnScreen(QDialog *dialog);

// Left/right arrows that step a number in a buddy edit between a minimum
// and a maximum. The position is the buddy's number when it is one in
// range, else the last position set.
class UpDown : public QWidget {
public:
    UpDown(QWidget *parent, QLineEdit *buddy, int minimum, int maximum, int position);
    int position() const;
    void setPosition(int position);
    QToolButton *leftArrow() const { return m_left; }
    QToolButton *rightArrow() const { return m_right; }

private:
    void step(int by);

    QLineEdit *m_buddy;
    QToolButton *m_left;
    QToolButton *m_right;
    int m_min;
    int m_max;
    int m_position;
};

}  // namespace formkit
