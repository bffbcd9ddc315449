#pragma once

#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QMouseEvent;

// Paints StringGrid1's cells: silver without an attribute (text hidden),
// red text over the usual background (selection included) when changed.
// Passes the in-place editor's keys to the grid's key routine first.
class AttrGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;

    QWidget *openEditor() const { return m_editor.data(); }

    std::function<void(const QModelIndex &)> editStarted;  // before the editor takes the text
    std::function<bool(QKeyEvent *)> keyDown;              // true: consumed

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    mutable QPointer<QWidget> m_editor;
};

// StringGrid1: a table view whose keys, drag selection and corner click
// go to the page's handlers.
class AttrGridView : public QTableView {
    Q_OBJECT
public:
    explicit AttrGridView(QWidget *parent = nullptr);

    AttrGridDelegate *cellDelegate() const { return m_delegate; }
    bool editing() const { return m_delegate->openEditor() != nullptr; }
    // Puts the editor's text into the cell and leaves the editor open.
    void commitEditor();
    // Closes the editor without putting its text into the cell.
    void discardEditor();
    void closeEditor();

    // The cell (model coordinates plus one; 0 = the fixed header) under a
    // viewport position, or {-1, -1} when there is none.
    QPoint cellAt(const QPoint &pos) const;

    std::function<bool(QKeyEvent *)> keyDown;  // true: consumed
    std::function<void(QMouseEvent *)> mouseDown, mouseUp;
    std::function<bool(QMouseEvent *)> mouseMove;  // true: handled (a drag)
    std::function<void()> cornerClicked;

    // Typed letters go to the editor of an attribute cell, never to a
    // search that would move the current cell.
    void keyboardSearch(const QString &) override {}

public slots:
    void selectAll() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    AttrGridDelegate *m_delegate;
};
