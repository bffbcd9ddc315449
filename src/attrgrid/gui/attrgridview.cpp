#include "attrgrid/gui/attrgridview.h"

#include "attrgrid/gui/attrgridmodel.h"
#include "ui/cellcolors.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

void AttrGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (index.data(AttrGridModel::kRefRole).toInt() < 1) {
        painter->fillRect(option.rect, cellcolors::locked);
        return;
    }
    if (!index.data(AttrGridModel::kChangedRole).toBool()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : nullptr;
    if (style)
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    painter->save();
    painter->setClipRect(option.rect);
    painter->setFont(opt.font);
    painter->setPen(cellcolors::changed);
    const QRect r = option.rect.adjusted(2, 0, 0, 0);
    painter->drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

QWidget *AttrGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    if (editStarted)
        editStarted(index);
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    m_editor = editor;
    return editor;
}

void AttrGridDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const
{
    if (m_editor == editor)
        m_editor.clear();
    QStyledItemDelegate::destroyEditor(editor, index);
}

bool AttrGridDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && object == m_editor.data() && keyDown
        && keyDown(static_cast<QKeyEvent *>(event)))
        return true;
    return QStyledItemDelegate::eventFilter(object, event);
}

AttrGridView::AttrGridView(QWidget *parent) : QTableView(parent), m_delegate(new AttrGridDelegate(this))
{
    setItemDelegate(m_delegate);
    m_delegate->keyDown = [this](QKeyEvent *e) { return keyDown && keyDown(e); };
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(true);
    // Header clicks select by the page's rule, not the view's own.
    disconnect(horizontalHeader(), &QHeaderView::sectionPressed, this, nullptr);
    disconnect(horizontalHeader(), &QHeaderView::sectionEntered, this, nullptr);
    disconnect(verticalHeader(), &QHeaderView::sectionPressed, this, nullptr);
    disconnect(verticalHeader(), &QHeaderView::sectionEntered, this, nullptr);
}

void AttrGridView::commitEditor()
{
    if (QWidget *editor = m_delegate->openEditor())
        emit m_delegate->commitData(editor);
}

void AttrGridView::discardEditor()
{
    if (QWidget *editor = m_delegate->openEditor())
        emit m_delegate->closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void AttrGridView::closeEditor()
{
    if (QWidget *editor = m_delegate->openEditor()) {
        emit m_delegate->commitData(editor);
        emit m_delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QPoint AttrGridView::cellAt(const QPoint &pos) const
{
    // Left of or above the viewport lies the fixed column or row.
    int col = pos.x() < 0 ? 0 : columnAt(pos.x()) + 1;
    int row = pos.y() < 0 ? 0 : rowAt(pos.y()) + 1;
    if ((pos.x() >= 0 && col == 0) || (pos.y() >= 0 && row == 0))
        return {-1, -1};
    return {col, row};
}

void AttrGridView::selectAll()
{
    if (cornerClicked)
        cornerClicked();
    else
        QTableView::selectAll();
}

void AttrGridView::keyPressEvent(QKeyEvent *event)
{
    if (keyDown && keyDown(event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void AttrGridView::mousePressEvent(QMouseEvent *event)
{
    QTableView::mousePressEvent(event);
    if (mouseDown)
        mouseDown(event);
}

void AttrGridView::mouseMoveEvent(QMouseEvent *event)
{
    if (mouseMove && mouseMove(event))
        return;
    QTableView::mouseMoveEvent(event);
}

void AttrGridView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (mouseUp)
        mouseUp(event);
}
