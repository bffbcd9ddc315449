#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QStringList>

class QMenu;

// The line editor of the text tab: one fetched string per line, a
// line-number gutter, Tab typed as a character, trailing spaces dropped
// from lines the user edits, and Ctrl+Enter / Ctrl+C / Ctrl+X taken away
// from the control so the program routes them.
class LineEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit LineEditor(QWidget *parent = nullptr);

    // --- Line list (CR LF when taken or set as one string) ---------------
    // An editor that shows one empty line has one line; it has none only
    // after it was cleared, given no lines, or given an empty text.
    int lineCount() const;
    QString line(int i) const;
    QStringList lines() const;
    // Writing one line is one undo step of the control (one step per batch
    // between beginUpdate and endUpdate), so its history never goes stale.
    void putLine(int i, const QString &s);
    void addLine(const QString &s);
    // Inserts lines before line `index` (after the last line when `index`
    // is the line count) as one undo step of the control.
    void insertLines(int index, const QStringList &lines);
    // Clearing and replacing everything empties the undo history and puts
    // the caret at line 1, column 1.
    void clearLines();
    void setLines(const QStringList &lines);
    QString text() const;
    void setText(const QString &text);
    void beginUpdate();
    void endUpdate();

    // --- Selection ----------------------------------------------------------
    QString selectedText() const;  // line breaks as CR LF
    int selLength() const;
    void setSelStart(int position);
    void replaceSelection(const QString &s);  // one undo step
    void pasteFromClipboard();

    bool canUndo() const;
    int caretLine() const;    // 1-based
    int caretColumn() const;  // 1-based
    QColor backgroundColour() const;
    void setBackgroundColour(const QColor &c);

    // Right-click shows this menu (not owned); none: no menu.
    void setContextMenu(QMenu *menu) { m_menu = menu; }
    QMenu *contextMenu() const { return m_menu; }

    int gutterWidth() const;
    void paintGutter(QWidget *gutter, QPaintEvent *event);

signals:
    void writeBackRequested();  // Ctrl+Enter
    void copyRequested();       // Ctrl+C
    void cutRequested();        // Ctrl+X

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    bool event(QEvent *e) override;

private:
    void onContentsChange(int position, int removed, int added);
    void onCursorMoved();
    void trimBlock(int blockNumber);
    void resetCaret();
    void updateGutter(const QRect &rect, int dy);

    QWidget *m_gutter = nullptr;
    QMenu *m_menu = nullptr;
    int m_programmatic = 0;  // > 0 while the program edits the text
    int m_updateDepth = 0;
    int m_caretBlock = 0;
    bool m_undoAvailable = false;
    bool m_noLines = true;  // cleared and untouched since: no lines at all
};
