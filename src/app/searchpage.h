#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QStatusBar;
class QTableWidget;
class QToolButton;
struct MainState;

// The controls of the page "TEXT 検索・編集" without the search commands,
// until the search library takes the page over (same member names).
class SearchPage : public QWidget {
    Q_OBJECT
public:
    SearchPage(MainState &state, QStatusBar *status, QWidget *parent = nullptr);

    // Edit3 turns typed letters to upper case while this is on.
    void setEdit3UpperCase(bool on);
    bool edit3UpperCase() const { return m_upperCase; }

    QLabel *Label7 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label6 = nullptr;
    QToolButton *SpeedButton14 = nullptr;
    QToolButton *SpeedButton15 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    QCheckBox *CheckBox4 = nullptr;
    QCheckBox *CheckBox8 = nullptr;
    QCheckBox *CheckBox5 = nullptr;
    QTableWidget *StringGrid2 = nullptr;

private:
    bool m_upperCase = false;
};
