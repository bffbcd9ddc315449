#pragma once

#include "state/mainstate.h"

#include <QColor>
#include <QScopeGuard>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class LineEditor;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QStatusBar;
class QToolButton;

// Page "TEXT, 属性編集": fetch picked texts or attributes into the line
// editor, write them back, align them, and the page's status feedback.
// The handlers read the controls and call the plain fetch, write-back and
// align functions; the main window owns the timer, the settings and the
// dialogs behind SpeedButton7 and SpeedButton9.
class TextEditTab : public QWidget {
    Q_OBJECT
public:
    // `status` is the main window's status bar with its two panels
    // (ui/statuspanels.h); not owned.
    TextEditTab(MainState &state, QStatusBar *status, QWidget *parent = nullptr);

    QToolButton *SpeedButton1 = nullptr;  // TEXT
    QToolButton *SpeedButton2 = nullptr;  // write-back
    QToolButton *SpeedButton6 = nullptr;  // align
    QLabel *Label3 = nullptr;
    QLineEdit *Edit1 = nullptr;           // dX
    QToolButton *SpeedButton8 = nullptr;  // ATTR
    QComboBox *ComboBox1 = nullptr;       // tag list
    QToolButton *SpeedButton9 = nullptr;  // tag list dialog
    QLabel *Label4 = nullptr;
    QLineEdit *Edit2 = nullptr;           // dY
    QLabel *Label1 = nullptr;             // data count
    QLabel *Label2 = nullptr;             // progress
    QToolButton *SpeedButton7 = nullptr;  // target CAD dialog
    QCheckBox *CheckBox1 = nullptr;       // coordinate order
    QToolButton *SpeedButton3 = nullptr;  // select all
    QToolButton *SpeedButton5 = nullptr;  // abort
    QToolButton *SpeedButton4 = nullptr;  // Undo
    LineEditor *editor = nullptr;

    void SpeedButton1Click();
    void SpeedButton8Click();
    void SpeedButton2Click();
    void SpeedButton6Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void Edit1KeyPress();  // Enter
    void Edit2KeyPress();  // Enter
    void editorCtrlEnter();

    // Editor snapshot of the text tools: true takes it, false restores it.
    void UndoMark(bool flag);

    // One tick of the status timer; the main window calls it only while
    // this page is active.
    void timerTick();

    // A long command runs: the editor is read-only and only "中止" acts.
    bool isBusy() const { return m_busy; }
    // Enters and leaves that state; the context menu's long commands use
    // it too, so no fetch or write-back runs from inside their pumps.
    void setBusy(bool busy);

    // dX and dY as the fields read: locale format, 0 when not a number.
    double dX() const;
    double dY() const;

signals:
    void targetCadRequested();
    void tagListRequested();

private:
    void wire();
    void clearFeedback();
    void proposeStep(bool withMessage);
    void showProgress(int current, int total);
    using RunGuard = QScopeGuard<std::function<void()>>;
    [[nodiscard]] RunGuard startRun();

    MainState &m_state;
    QStatusBar *m_status;
    QColor m_windowColour;
    bool m_busy = false;
    std::vector<std::pair<QWidget *, bool>> m_savedEnabled;
};
