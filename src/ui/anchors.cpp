#include "ui/anchors.h"

#include "ui/captionfit.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <algorithm>

namespace {

class Anchor : public QObject {
public:
    Anchor(QWidget *w, Qt::Edges edges, int designWidth, int designHeight)
        : QObject(w)
        , m_widget(w)
        , m_edges(edges)
        , m_design(w->geometry())
    {
        m_right = designWidth - m_design.right() - 1;
        m_bottom = designHeight - m_design.bottom() - 1;
        // Until the parent is first resized the design geometry stands.
        w->parentWidget()->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize && watched == m_widget->parentWidget())
            apply();
        return false;
    }

private:
    void apply()
    {
        const QWidget *p = m_widget->parentWidget();
        const int pw = p->width(), ph = p->height();
        QRect r = m_design;
        if (m_edges & Qt::RightEdge) {
            if (m_edges & Qt::LeftEdge)
                r.setWidth(pw - m_right - r.left());
            else
                r.moveLeft(pw - m_right - r.width());
        }
        if (m_edges & Qt::BottomEdge) {
            if (m_edges & Qt::TopEdge)
                r.setHeight(ph - m_bottom - r.top());
            else
                r.moveTop(ph - m_bottom - r.height());
        }
        // A caption wider than the design width keeps its room.
        r.setWidth(std::max({r.width(), captionWidth(m_widget), 0}));
        if (r.height() < 0)
            r.setHeight(0);
        m_widget->setGeometry(r);
    }

    QWidget *m_widget;
    Qt::Edges m_edges;
    QRect m_design;
    int m_right = 0, m_bottom = 0;
};

}  // namespace

void anchorToParent(QWidget *w, Qt::Edges edges, int designWidth, int designHeight)
{
    if (w && w->parentWidget())
        new Anchor(w, edges, designWidth, designHeight);
}
