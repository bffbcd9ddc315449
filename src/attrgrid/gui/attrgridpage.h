#pragma once

#include "attrgrid/records.h"

#include "cells/cellgrid.h"

#include "tools/number.h"
#include "tools/serial.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class AttrGridModel;
class AttrGridView;
class QAction;
class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QMouseEvent;
class QProgressBar;
class QStatusBar;
class QToolButton;
struct MainState;

// The dialogs the grid's tools open (the main window's; tests fake them).
// Each returns nothing when cancelled.
struct GridToolDialogs {
    // The replace dialog shown with `search` in its search field:
    // the search and replacement texts.
    std::function<std::optional<std::pair<std::u16string, std::u16string>>(const std::u16string &search)> replace;
    std::function<std::optional<tools::AdditionOptions>()> addition;
    // The serial-number dialog in its grid mode ("上書き").
    std::function<std::optional<tools::SerialRun>()> serial;
};

// Page " 属性編集": fetch block references' attributes by tag set into
// StringGrid1, edit them there, and write them back. The handlers read the
// controls and call the plain fetch, write-back and cell functions over
// the tab's records (MainState::attr).
class AttrGridPage : public QWidget {
    Q_OBJECT
public:
    AttrGridPage(MainState &state, QStatusBar *status, QMenu *gridMenu, QWidget *parent = nullptr);
    ~AttrGridPage() override;

    QComboBox *ComboBox2 = nullptr;        // tag sets
    QToolButton *SpeedButton10 = nullptr;  // 取得
    QToolButton *SpeedButton12 = nullptr;  // 中止
    QToolButton *SpeedButton11 = nullptr;  // 更新
    QToolButton *SpeedButton13 = nullptr;  // UNDO
    QLabel *Label5 = nullptr;              // progress text
    QCheckBox *CheckBox2 = nullptr;        // Enter=[ ↓ ]
    QCheckBox *CheckBox7 = nullptr;        // Enter = 更新
    QCheckBox *CheckBox6 = nullptr;        // PAN (Zoom Center)
    AttrGridView *StringGrid1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    // PopupMenu2's items.
    QAction *AG1 = nullptr, *AG2 = nullptr, *N32 = nullptr, *N33 = nullptr, *N35 = nullptr, *N36 = nullptr,
            *N31 = nullptr;

    AttrGridModel *model() const { return m_model; }
    GridToolDialogs dialogs;
    // The tag set file; beside the executable unless the main window says otherwise.
    std::function<QString()> tagSetFilePath;
    // Opens a file in the system's text editor; tests replace it.
    std::function<void(const QString &)> openTextEditor;

    void SpeedButton10Click();  // fetch
    void SpeedButton11Click();  // write-back
    void SpeedButton12Click();  // abort
    void SpeedButton13Click();  // UNDO
    void StringGrid1Click();
    void StringGrid1FixedCellClick(int col, int row);
    void StringGrid1GetEditText(int col, int row);
    bool StringGrid1KeyDown(int key, Qt::KeyboardModifiers modifiers);  // true: consumed
    void StringGrid1MouseDown(QMouseEvent *event);
    bool StringGrid1MouseMove(QMouseEvent *event);
    void StringGrid1MouseUp(QMouseEvent *event);
    void AG1Click();
    void AG2Click();
    void N32Click();
    void N33Click();
    void N35Click();
    void N36Click();
    void N31Click();

    void ClearGrid();
    void FitColWidths(int margin);
    // The selected rectangle of data cells, in cell coordinates.
    cells::Selection selection() const;
    // A fetch is running: only "中止" acts.
    bool fetching() const { return m_fetching; }

signals:
    // A fetch began: the text tab clears its labels (ATTmode is set).
    void fetchStarted();

private:
    void buildMenu(QMenu *menu);
    void wire();
    // Every handler runs through here: under the error guard, and refused
    // while a fetch runs unless it is the abort.
    void run(const std::function<void()> &handler, bool duringFetch = false);
    void moveCurrent(int col, int row);
    void selectCells(int left, int top, int right, int bottom);
    void enterKey();
    bool writeCellNow(int col, int row);
    void setPanel(int index, const QString &text);
    QString tagSetPath() const;

    MainState &m_state;
    AttrGridData &m_data;
    QStatusBar *m_status;
    AttrGridModel *m_model = nullptr;
    bool m_fetching = false;
    bool m_quietMove = false;  // a selection set by program: no cell-selected behaviour
};
