#include "search/gui/resultgridview.h"

#include "search/gui/resultgridmodel.h"

#include "ui/cellcolors.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>

QWidget *ResultGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (onEditStart)
        onEditStart(index.row());
    return editor;
}

void ResultGridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const bool locked = index.data(ResultGridModel::LockedRole).toBool();
    const bool changed = index.data(ResultGridModel::ChangedRole).toBool();
    // Over the selection highlight too: a locked row stays silver, a
    // changed row's text stays red.
    if (locked) {
        option->palette.setColor(QPalette::Highlight, cellcolors::locked);
        option->palette.setColor(QPalette::HighlightedText, option->palette.color(QPalette::Text));
    }
    if (changed) {
        option->palette.setColor(QPalette::Text, cellcolors::changed);
        option->palette.setColor(QPalette::HighlightedText, cellcolors::changed);
    }
}

void ResultGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (onChangedRowPainted && index.data(ResultGridModel::ChangedRole).toBool())
        onChangedRowPainted();
}

bool ResultGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && onKey) {
        auto *editor = qobject_cast<QWidget *>(object);
        if (editor && onKey(static_cast<QKeyEvent *>(event), editor))
            return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

ResultGridView::ResultGridView(QWidget *parent) : QTableView(parent)
{
    m_delegate = new ResultGridDelegate(this);
    setItemDelegate(m_delegate);
    horizontalHeader()->hide();  // no fixed rows or columns
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setMinimumSectionSize(20);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
}

QWidget *ResultGridView::openEditor() const
{
    return state() == QAbstractItemView::EditingState ? indexWidget(currentIndex()) : nullptr;
}

void ResultGridView::commitAndClose(QWidget *editor)
{
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void ResultGridView::editCurrent()
{
    if (currentIndex().isValid())
        edit(currentIndex());
}

void ResultGridView::keyPressEvent(QKeyEvent *event)
{
    if (onKey && onKey(event, nullptr)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}
