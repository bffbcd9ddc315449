#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;
class QTableWidget;
class QToolButton;
struct MainState;

// The controls of the page " 属性編集" without their commands, until the
// attribute grid library takes the page over (same member names).
class AttrGridPage : public QWidget {
    Q_OBJECT
public:
    AttrGridPage(MainState &state, QStatusBar *status, QMenu *gridMenu, QWidget *parent = nullptr);

    QComboBox *ComboBox2 = nullptr;
    QToolButton *SpeedButton10 = nullptr;
    QToolButton *SpeedButton12 = nullptr;
    QToolButton *SpeedButton11 = nullptr;
    QToolButton *SpeedButton13 = nullptr;
    QLabel *Label5 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QCheckBox *CheckBox7 = nullptr;
    QCheckBox *CheckBox6 = nullptr;
    QTableWidget *StringGrid1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
};
