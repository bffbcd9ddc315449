#pragma once

#include "cells/cellmatrix.h"

#include <QWidget>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QStatusBar;
class QToolButton;
class ResultGridModel;
class ResultGridView;
struct MainState;

// The page "TEXT 検索・編集": the search over the whole drawing and the
// result grid StringGrid2 with its editing, write-back and locating. The
// work is done by the search library's plain functions; the handlers read
// the controls, call them and show the outcome.
class SearchPage : public QWidget {
    Q_OBJECT
public:
    SearchPage(MainState &state, QStatusBar *status, QWidget *parent = nullptr);
    ~SearchPage() override;

    // Edit3 turns typed letters to upper case while this is on.
    void setEdit3UpperCase(bool on);
    bool edit3UpperCase() const { return m_upperCase; }

    // The cells behind StringGrid2 (text and record number per row).
    const cells::CellMatrix &gridCells() const { return m_cells; }

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
    ResultGridView *StringGrid2 = nullptr;

    // Handlers, wired in the constructor; each runs under the error guard.
    void SpeedButton14Click();
    void SpeedButton15Click();
    void Edit3KeyPress();
    void CheckBox3Click();
    void CheckBox4Click();
    void StringGrid2Click();
    void StringGrid2GetEditText(int col, int row);
    // True when the key was taken (the grid and the editor do not see it).
    bool StringGrid2KeyDown(QKeyEvent *event, QWidget *editor);

private:
    void wire();
    bool isActivePage() const;
    void setStatus(int panel, const QString &text);
    // Row `row` current without running the click handler.
    void setCurrentRowQuietly(int row);
    void syncViewToCells();
    void showEmptyGrid();
    void enterWrite();
    void enterNavigate();

    MainState &m_state;
    QStatusBar *m_status = nullptr;
    cells::CellMatrix m_cells;
    ResultGridModel *m_model = nullptr;
    bool m_upperCase = false;
    bool m_quiet = false;  // moves of the current cell that must not run the click handler
};
