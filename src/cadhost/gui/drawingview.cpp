#include "cadhost/gui/drawingview.h"

#include "cadhost/drawing.h"
#include "cadhost/gui/entityshape.h"

#include "ui/qstr.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QSet>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace cadhost {

namespace {

constexpr int kPickTolerance = 5;  // pixels
constexpr int kDragThreshold = 4;  // pixels before a press becomes a rectangle
const QColor kBackground(0x21, 0x25, 0x2b);
const QColor kHighlight(0x5a, 0xb4, 0xff);

// The first AutoCAD colour indices; 7 is white on the dark background.
QColor aciColour(int aci)
{
    switch (aci) {
    case 1: return QColor(255, 0, 0);
    case 2: return QColor(255, 255, 0);
    case 3: return QColor(0, 255, 0);
    case 4: return QColor(0, 255, 255);
    case 5: return QColor(80, 120, 255);  // pure blue is unreadable on dark grey
    case 6: return QColor(255, 0, 255);
    case 8: return QColor(128, 128, 128);
    case 9: return QColor(192, 192, 192);
    default: return QColor(235, 235, 235);
    }
}

QColor dimmed(const QColor &c)
{
    return QColor((c.red() + kBackground.red() * 2) / 3, (c.green() + kBackground.green() * 2) / 3,
                  (c.blue() + kBackground.blue() * 2) / 3);
}

}  // namespace

DrawingView::DrawingView(Drawing &drawing, QWidget *parent) : QWidget(parent), m_drawing(drawing)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setMinimumSize(200, 150);
}

double DrawingView::pixelsPerUnit() const
{
    return std::max(1, height()) / m_drawing.view().height;
}

QTransform DrawingView::toScreen() const
{
    const double k = pixelsPerUnit();
    const cad::Point &c = m_drawing.view().centre;
    // The centre pixel is (width div 2, height div 2), where the
    // ZoomToPoint marker puts its tip.
    return QTransform(k, 0, 0, -k, width() / 2 - c.x * k, height() / 2 + c.y * k);
}

QPointF DrawingView::toDrawing(const QPointF &pixel) const
{
    return toScreen().inverted().map(pixel);
}

QPoint DrawingView::toPixel(const QPointF &drawingPoint) const
{
    return toScreen().map(drawingPoint).toPoint();
}

void DrawingView::zoomExtents()
{
    QRectF r;
    bool any = false;
    for (EntityId id : m_drawing.modelSpace()) {
        if (const Entity *e = m_drawing.entity(id)) {
            const QRectF b = EntityShape(m_drawing, *e).bounds();
            r = any ? r.united(b) : b;
            any = true;
        }
    }
    if (!any)
        return;
    const double aspect = double(std::max(1, width())) / std::max(1, height());
    const double h = std::max({r.height(), r.width() / aspect, 1e-3}) * 1.05;
    m_drawing.setViewCentre({r.center().x(), r.center().y(), 0}, h);
}

void DrawingView::zoomAt(const QPointF &pixel, double factor)
{
    if (!(factor > 0))
        return;
    const QPointF before = toDrawing(pixel);
    const double h = std::clamp(m_drawing.view().height / factor, 1e-4, 1e8);
    const double k = std::max(1, height()) / h;
    // Keep `before` under the cursor: solve the centre from the new scale.
    const double cx = before.x() - (pixel.x() - width() / 2) / k;
    const double cy = before.y() + (pixel.y() - height() / 2) / k;
    m_drawing.setViewCentre({cx, cy, 0}, h);
}

EntityId DrawingView::entityAt(const QPointF &pixel, const SelectionFilter *filter) const
{
    const QPointF p = toDrawing(pixel);
    const double tol = kPickTolerance / pixelsPerUnit();
    const auto &ms = m_drawing.modelSpace();
    for (auto it = ms.rbegin(); it != ms.rend(); ++it) {  // the last drawn lies on top
        const Entity *e = m_drawing.entity(*it);
        if (!e || (filter && !filter->matches(*e)))
            continue;
        if (EntityShape(m_drawing, *e).isNear(p, tol))
            return e->id;
    }
    return 0;
}

EntityId DrawingView::subEntityAt(const QPointF &pixel) const
{
    const EntityId id = entityAt(pixel, nullptr);
    const Entity *e = m_drawing.entity(id);
    if (!e || e->kind != EntityKind::Insert)
        return id;
    const QPointF p = toDrawing(pixel);
    for (EntityId a : e->attributes)
        if (const Entity *att = m_drawing.entity(a); att && !att->text.empty())
            if (textBox(*att).outline().containsPoint(p, Qt::OddEvenFill))
                return a;
    return id;
}

// --- Picks -------------------------------------------------------------------------------

void DrawingView::beginSelect(const SelectionFilter &filter)
{
    m_mode = PickMode::Select;
    m_filter = filter;
    m_picked.clear();
    m_subPick.reset();
    m_leftDown = m_dragging = false;
    setFocus(Qt::OtherFocusReason);
    update();
}

void DrawingView::beginSubEntity()
{
    m_mode = PickMode::SubEntity;
    m_picked.clear();
    m_subPick.reset();
    m_leftDown = m_dragging = false;
    setFocus(Qt::OtherFocusReason);
    update();
}

void DrawingView::cancelPick()
{
    if (m_mode != PickMode::None)
        endPick(false);
}

void DrawingView::endPick(bool accepted)
{
    m_mode = PickMode::None;
    m_leftDown = m_dragging = false;
    if (!accepted) {
        m_picked.clear();
        m_subPick.reset();
    }
    update();
    emit pickEnded(accepted);
}

void DrawingView::addOrRemove(const std::vector<EntityId> &ids, bool remove)
{
    for (EntityId id : ids) {
        auto it = std::find(m_picked.begin(), m_picked.end(), id);
        if (remove && it != m_picked.end())
            m_picked.erase(it);
        else if (!remove && it == m_picked.end())
            m_picked.push_back(id);
    }
    update();
    emit selectionChanged(int(m_picked.size()));
}

void DrawingView::applyClick(const QPointF &pixel, bool remove)
{
    if (m_mode == PickMode::SubEntity) {
        const EntityId id = subEntityAt(pixel);
        if (id == 0)
            return;  // nothing there: the CAD keeps asking
        const QPointF p = toDrawing(pixel);
        m_subPick = SubEntityPick{id, {p.x(), p.y(), 0}};
        endPick(true);
        return;
    }
    if (EntityId id = entityAt(pixel, &m_filter))
        addOrRemove({id}, remove);
}

void DrawingView::applyRectangle(const QPointF &from, const QPointF &to, bool remove)
{
    // Left to right: window (wholly inside); right to left: crossing.
    const bool window = to.x() >= from.x();
    const QRectF r = QRectF(toDrawing(from), toDrawing(to)).normalized();
    std::vector<EntityId> ids;
    for (EntityId id : m_drawing.modelSpace()) {
        const Entity *e = m_drawing.entity(id);
        if (!e || !m_filter.matches(*e))
            continue;
        const EntityShape shape(m_drawing, *e);
        if (window ? shape.isInside(r) : shape.touches(r))
            ids.push_back(id);
    }
    addOrRemove(ids, remove);
}

// --- Marker ------------------------------------------------------------------------------

void DrawingView::setMarker(Marker marker)
{
    m_marker = std::move(marker);
    update();
}

void DrawingView::clearMarker()
{
    if (m_marker) {
        m_marker.reset();
        update();
    }
}

// --- Painting ------------------------------------------------------------------------------

void DrawingView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), kBackground);
    p.setRenderHint(QPainter::Antialiasing);
    const QTransform screen = toScreen();

    auto colourOf = [&](const Entity &e) {
        const Layer *l = m_drawing.layer(e.layer);
        const QColor c = aciColour(l ? l->colour : 7);
        return l && l->locked ? dimmed(c) : c;
    };
    auto drawText = [&](const Entity &e, const QColor &c) {
        if (e.text.empty())
            return;
        const TextBox box = textBox(e);
        if (box.height * pixelsPerUnit() < 1.5) {  // too small to read: a stroke where it stands
            p.setTransform(screen);
            p.setPen(QPen(c, 0));
            p.drawLine(box.toDrawing().map(QLineF(0, box.height / 2, box.width, box.height / 2)));
            p.resetTransform();
            return;
        }
        QTransform t;
        t.scale(box.fontScale, -box.fontScale);  // font pixels, y down, to text units, y up
        p.setTransform(t * box.toDrawing() * screen);
        p.setFont(textFont());
        p.setPen(c);
        p.drawText(QPointF(0, 0), toQ(e.text));
        p.resetTransform();
    };
    auto drawLines = [&](const std::vector<QLineF> &lines, const QPen &pen) {
        p.setPen(pen);
        for (const QLineF &l : lines)
            p.drawLine(screen.map(l));
    };

    const QSet<EntityId> picked(m_picked.begin(), m_picked.end());
    for (EntityId id : m_drawing.modelSpace()) {
        const Entity *e = m_drawing.entity(id);
        if (!e)
            continue;
        const QColor c = colourOf(*e);
        if (e->kind == EntityKind::Text || e->kind == EntityKind::AttributeDefinition) {
            drawText(*e, c);
        } else if (e->kind == EntityKind::Line) {
            drawLines({QLineF(e->insertionPoint.x, e->insertionPoint.y, e->endPoint.x, e->endPoint.y)}, QPen(c, 1));
        } else if (!e->path.empty()) {
            drawLines(EntityShape(m_drawing, *e).lines(), QPen(c, 1));
        } else if (e->kind == EntityKind::Insert) {
            drawLines(EntityShape(m_drawing, *e).lines(), QPen(c, 1));
            for (EntityId a : e->attributes)
                if (const Entity *att = m_drawing.entity(a))
                    drawText(*att, colourOf(*att));
        }
        if (picked.contains(id)) {
            const EntityShape shape(m_drawing, *e);
            QPen pen(kHighlight, 2, Qt::DashLine);
            drawLines(shape.lines(), pen);
            p.setBrush(Qt::NoBrush);
            for (const QPolygonF &b : shape.boxes())
                p.drawPolygon(screen.map(b));
        }
    }

    if (m_mode == PickMode::Select && m_dragging) {
        const QRectF r = QRectF(m_pressPos, m_currentPos).normalized();
        const bool window = m_currentPos.x() >= m_pressPos.x();
        p.setPen(QPen(window ? QColor(90, 140, 255) : QColor(90, 220, 120), 1, window ? Qt::SolidLine : Qt::DashLine));
        p.setBrush(window ? QColor(90, 140, 255, 40) : QColor(90, 220, 120, 40));
        p.drawRect(r);
    }

    if (m_marker && m_marker->points.size() >= 2) {
        p.setRenderHint(QPainter::Antialiasing, false);
        const std::uint32_t rgb = m_marker->rgb;
        // The platform colour is 0x00BBGGRR, as a Windows COLORREF.
        p.setPen(QPen(QColor(int(rgb & 0xff), int((rgb >> 8) & 0xff), int((rgb >> 16) & 0xff)),
                      std::max(1, m_marker->penWidth), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        if (m_marker->xorMode)
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        QPolygon poly;
        for (const cad::PixelPoint &pt : m_marker->points)
            poly << QPoint(pt.x, pt.y);
        p.drawPolyline(poly);
    }
}

// --- Input ---------------------------------------------------------------------------------

void DrawingView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_drawing.setScreenSize(width(), height());
}

void DrawingView::mousePressEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    if (event->button() == Qt::MiddleButton) {
        m_panning = true;
        m_panLast = pos;
        setCursor(Qt::ClosedHandCursor);
    } else if (event->button() == Qt::LeftButton && m_mode != PickMode::None) {
        m_leftDown = true;
        m_dragging = false;
        m_pressPos = m_currentPos = pos;
        m_pressModifiers = event->modifiers();
    } else if (event->button() == Qt::RightButton && m_mode != PickMode::None) {
        // Right click is Enter: it ends a selection; for a single pick it
        // means nothing was picked.
        endPick(m_mode == PickMode::Select);
    }
}

void DrawingView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    emit cursorMoved(toDrawing(pos));
    if (m_panning) {
        const double k = pixelsPerUnit();
        const QPointF d = pos - m_panLast;
        m_panLast = pos;
        const cad::Point &c = m_drawing.view().centre;
        m_drawing.setViewCentre({c.x - d.x() / k, c.y + d.y() / k, 0}, m_drawing.view().height);
        return;
    }
    if (m_leftDown && m_mode == PickMode::Select) {
        m_currentPos = pos;
        if ((pos - m_pressPos).manhattanLength() > kDragThreshold)
            m_dragging = true;
        update();
    }
}

void DrawingView::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    if (event->button() == Qt::MiddleButton) {
        m_panning = false;
        setCursor(Qt::CrossCursor);
        return;
    }
    if (event->button() != Qt::LeftButton || !m_leftDown)
        return;
    m_leftDown = false;
    const bool remove = (m_pressModifiers | event->modifiers()) & Qt::ShiftModifier;
    const bool drag
        = m_mode == PickMode::Select && (m_dragging || (pos - m_pressPos).manhattanLength() > kDragThreshold);
    m_dragging = false;
    if (drag)
        applyRectangle(m_pressPos, pos, remove);
    else
        applyClick(m_pressPos, remove);
    update();
}

void DrawingView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton)
        zoomExtents();
    else
        mousePressEvent(event);  // a quick second click is a click
}

void DrawingView::wheelEvent(QWheelEvent *event)
{
    const int steps = event->angleDelta().y();
    if (steps != 0)
        zoomAt(event->position(), std::pow(1.2, steps / 120.0));
    event->accept();
}

void DrawingView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (m_mode != PickMode::None) {
            endPick(false);
            return;
        }
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_mode != PickMode::None) {
            endPick(m_mode == PickMode::Select);
            return;
        }
        break;
    default: break;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace cadhost
