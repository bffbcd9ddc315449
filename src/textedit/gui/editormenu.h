#pragma once

#include "tools/linecommands.h"

#include <QObject>

#include <functional>
#include <map>

class LineEditor;
class QAction;
class QMenu;
class QTextCursor;
class QWidget;
class TextEditTab;
class TTalvoKasanForm;
class TTalvoRenbanForm;
class TTalvoTikanForm;
struct MainState;

// The line editor's context menu PopupMenu1: clipboard commands, width
// conversions of the whole text or the selection, replace, number
// addition and serial numbers. The handlers read the editor and the
// dialogs and call the text tools; every command that rewrites the text
// takes the tab's snapshot first, and the long ones run under the abort
// flag with paced message pumping.
class EditorMenu : public QObject {
    Q_OBJECT
public:
    struct Dialogs {
        TTalvoTikanForm *tikan = nullptr;
        TTalvoKasanForm *kasan = nullptr;
        TTalvoRenbanForm *renban = nullptr;
    };

    // Fills `menu` (PopupMenu1) around its "バージョン情報" item `about`,
    // which the main window owns and handles; routes the editor's Ctrl+C
    // and Ctrl+X. `mainWindow` hands its stay-on-top state to the dialogs.
    EditorMenu(TextEditTab &tab, MainState &state, QMenu *menu, QAction *about, Dialogs dialogs, QWidget *mainWindow);

    // The clock that paces message pumping in long commands (tests).
    void setPacerClock(tools::MessagePacer::Clock clock) { m_clock = std::move(clock); }

    void PopupMenu1Popup();
    void N20Click();                 // クリア
    void N10Click();                 // カット
    void N11Click();                 // コピー
    void N12Click();                 // ペースト
    void N1Click();                  // すべて全角に
    void N2Click();                  // 選択範囲を全角に
    void N4Click();                  // すべて半角に
    void N5Click();                  // 選択範囲を半角に
    void N28Click();                 // すべての半角 ( ) を全角に
    void N23Click(QAction *sender);  // the ten conversions of N21
    void N7Click();                  // すべて置換
    void N8Click();                  // 選択範囲を置換
    void N14Click();                 // すべて加算
    void N15Click();                 // 選択範囲を加算
    void N17Click();                 // 連番作成

    QMenu *PopupMenu1 = nullptr;
    QAction *N20 = nullptr, *N10 = nullptr, *N11 = nullptr, *N12 = nullptr, *N9 = nullptr;
    QAction *N1 = nullptr, *N2 = nullptr, *N3 = nullptr, *N4 = nullptr, *N5 = nullptr, *N22 = nullptr;
    QAction *N28 = nullptr, *N29 = nullptr, *N6 = nullptr, *N7 = nullptr, *N8 = nullptr, *N13 = nullptr;
    QAction *N14 = nullptr, *N15 = nullptr, *N16 = nullptr, *N17 = nullptr, *N18 = nullptr;
    QAction *N25 = nullptr, *N30 = nullptr, *N19 = nullptr;
    QMenu *N21 = nullptr;
    QAction *N23 = nullptr, *N24 = nullptr, *N091 = nullptr, *N092 = nullptr, *N094 = nullptr;
    QAction *N093 = nullptr, *AZ1 = nullptr, *AZ2 = nullptr, *N27 = nullptr, *N26 = nullptr;

private:
    class Run;

    void build(QAction *about);
    QAction *item(const char *name, const QString &caption, void (EditorMenu::*handler)(), QAction *before);
    QAction *separator(const char *name, QAction *before);
    bool busy() const;
    void convertAll(tools::Conversion conversion);
    void convertSelection(tools::Conversion conversion);
    void putSelection(const QTextCursor &selection, const tools::LineSplit &split);
    // One command over lines, with the Undo snapshot, "中止" and paced
    // pumping: all lines of the editor (one update), or the lines of
    // `selected`, put back over `selection`.
    using LinesCommand = std::function<void(tools::Lines &, tools::MessagePacer &)>;
    void changeAllLines(const LinesCommand &command);
    void changeSelection(const QTextCursor &selection, const QString &selected, const LinesCommand &command);

    TextEditTab &m_tab;
    LineEditor *m_editor;
    MainState &m_state;
    Dialogs m_dialogs;
    QWidget *m_mainWindow;
    std::map<QAction *, tools::Conversion> m_conversions;
    tools::MessagePacer::Clock m_clock = &std::chrono::steady_clock::now;
    bool m_running = false;
};
