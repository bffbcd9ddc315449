#pragma once

#include <QWidget>

#include <QPlainTextEdit>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QStatusBar;
class QToolButton;
struct MainState;

class QMenu;

// Stand-in for the line editor: the calls the main window makes on it.
class PlaceholderEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;
    void setContextMenu(QMenu *menu) { m_menu = menu; }
    QMenu *contextMenu() const { return m_menu; }
    void clearLines() { clear(); }

protected:
    void contextMenuEvent(QContextMenuEvent *e) override;

private:
    QMenu *m_menu = nullptr;
};

// The controls of the page "TEXT, 属性編集" without their commands, used
// while the text editing library is not part of the build. Same member
// names and constructor as TextEditTab, so the main window takes either.
class TextTabPlaceholder : public QWidget {
    Q_OBJECT
public:
    TextTabPlaceholder(MainState &state, QStatusBar *status, QWidget *parent = nullptr);

    QToolButton *SpeedButton1 = nullptr;
    QToolButton *SpeedButton2 = nullptr;
    QToolButton *SpeedButton3 = nullptr;
    QToolButton *SpeedButton4 = nullptr;
    QToolButton *SpeedButton5 = nullptr;
    QToolButton *SpeedButton6 = nullptr;
    QToolButton *SpeedButton7 = nullptr;
    QToolButton *SpeedButton8 = nullptr;
    QToolButton *SpeedButton9 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    PlaceholderEditor *editor = nullptr;

    void timerTick() {}

signals:
    void targetCadRequested();
    void tagListRequested();
};
