#pragma once

#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

class QKeyEvent;

// Keys of the result grid and of its in-place editor go to one handler
// first: `editor` is the open editor or nullptr. True: the key is taken.
using GridKeyFn = std::function<bool(QKeyEvent *event, QWidget *editor)>;

// Paints changed rows red and locked rows silver also when selected, and
// reports the in-place editor taking up a cell.
class ResultGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    std::function<void(int row)> onEditStart;
    std::function<void()> onChangedRowPainted;
    GridKeyFn onKey;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *object, QEvent *event) override;
};

// The result grid StringGrid2: one column, no headers, 20-pixel rows,
// one rectangular selection.
class ResultGridView : public QTableView {
    Q_OBJECT
public:
    explicit ResultGridView(QWidget *parent = nullptr);

    ResultGridDelegate *gridDelegate() const { return m_delegate; }
    GridKeyFn onKey;

    // The open in-place editor, or nullptr.
    QWidget *openEditor() const;
    // Takes the editor's text into the cell and closes it.
    void commitAndClose(QWidget *editor);
    // Opens the in-place editor on the current cell.
    void editCurrent();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    ResultGridDelegate *m_delegate = nullptr;
};
