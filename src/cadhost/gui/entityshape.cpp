#include "cadhost/gui/entityshape.h"

#include "cadhost/drawing.h"

#include "ui/qstr.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace cadhost {

namespace {

constexpr double kReferencePixels = 100;

struct FontRatios {
    double cap = 0.7;  // cap height per pixel size
    double descent = 0.2;
};

const FontRatios &ratios()
{
    static const FontRatios r = [] {
        QFontMetricsF fm(textFont());
        FontRatios out;
        if (fm.capHeight() > 0)
            out.cap = fm.capHeight() / kReferencePixels;
        out.descent = fm.descent() / kReferencePixels;
        return out;
    }();
    return r;
}

bool segmentTouches(const QLineF &l, const QRectF &r)
{
    if (r.contains(l.p1()) || r.contains(l.p2()))
        return true;
    const QLineF edges[] = {{r.topLeft(), r.topRight()},
                            {r.topRight(), r.bottomRight()},
                            {r.bottomRight(), r.bottomLeft()},
                            {r.bottomLeft(), r.topLeft()}};
    for (const QLineF &e : edges)
        if (l.intersects(e, nullptr) == QLineF::BoundedIntersection)
            return true;
    return false;
}

double distanceToSegment(const QPointF &p, const QLineF &l)
{
    const QPointF d = l.p2() - l.p1();
    const double len2 = QPointF::dotProduct(d, d);
    double t = len2 > 0 ? QPointF::dotProduct(p - l.p1(), d) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF q = l.p1() + t * d;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

}  // namespace

const QFont &textFont()
{
    static const QFont font = [] {
        QFont f(QStringLiteral("VL Gothic"));
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(int(kReferencePixels));
        return f;
    }();
    return font;
}

QTransform TextBox::toDrawing() const
{
    QTransform t;
    t.translate(origin.x(), origin.y());
    t.rotateRadians(rotation);
    return t;
}

QPolygonF TextBox::outline() const
{
    const double w = std::max(width, height * 0.2);  // an empty string still has a spot
    return toDrawing().map(QPolygonF(QRectF(0, -descent, w, height + descent)));
}

TextBox textBox(const Entity &e)
{
    const FontRatios &r = ratios();
    TextBox box;
    box.height = e.height;
    box.rotation = e.rotation;
    const double scale = e.height / (r.cap * kReferencePixels);
    box.fontScale = scale;
    box.width = QFontMetricsF(textFont()).horizontalAdvance(toQ(e.text)) * scale;
    box.descent = r.descent * kReferencePixels * scale;

    double dx = 0, dy = 0;
    switch (e.alignment) {
    case AlignCenter:
    case AlignMiddle:
    case AlignTopCenter:
    case AlignMiddleCenter:
    case AlignBottomCenter: dx = -box.width / 2; break;
    case AlignRight:
    case AlignTopRight:
    case AlignMiddleRight:
    case AlignBottomRight: dx = -box.width; break;
    default: break;
    }
    switch (e.alignment) {
    case AlignMiddle:
    case AlignMiddleLeft:
    case AlignMiddleCenter:
    case AlignMiddleRight: dy = -box.height / 2; break;
    case AlignTopLeft:
    case AlignTopCenter:
    case AlignTopRight: dy = -box.height; break;
    case AlignBottomLeft:
    case AlignBottomCenter:
    case AlignBottomRight: dy = box.descent; break;
    default: break;
    }
    // Left-aligned, aligned and fit texts stand on their insertion point.
    const bool byInsertion = e.alignment == AlignLeft || e.alignment == AlignAligned || e.alignment == AlignFit;
    const cad::Point &p = byInsertion ? e.insertionPoint : e.alignmentPoint;
    QTransform rot;
    rot.rotateRadians(e.rotation);
    box.origin = QPointF(p.x, p.y) + rot.map(QPointF(dx, dy));
    return box;
}

QTransform insertTransform(const Entity &insert)
{
    QTransform t;
    t.translate(insert.insertionPoint.x, insert.insertionPoint.y);
    t.rotateRadians(insert.rotation);
    t.scale(insert.scale, insert.scale);
    return t;
}

EntityShape::EntityShape(const Drawing &d, const Entity &e)
{
    switch (e.kind) {
    case EntityKind::Line:
        m_lines.emplace_back(e.insertionPoint.x, e.insertionPoint.y, e.endPoint.x, e.endPoint.y);
        break;
    case EntityKind::Circle:
    case EntityKind::Arc:
    case EntityKind::Polyline:
        for (std::size_t i = 1; i < e.path.size(); ++i)
            m_lines.emplace_back(e.path[i - 1].x, e.path[i - 1].y, e.path[i].x, e.path[i].y);
        break;
    case EntityKind::Text:
    case EntityKind::Attribute:
    case EntityKind::AttributeDefinition: m_boxes.push_back(textBox(e).outline()); break;
    case EntityKind::Insert: {
        const QTransform t = insertTransform(e);
        if (const Block *b = d.block(e.blockName)) {
            for (EntityId id : d.entitiesOf(b->id)) {
                const Entity *part = d.entity(id);
                if (part && part->kind == EntityKind::Line)
                    m_lines.push_back(t.map(
                        QLineF(part->insertionPoint.x, part->insertionPoint.y, part->endPoint.x, part->endPoint.y)));
                else if (part)
                    for (std::size_t i = 1; i < part->path.size(); ++i)
                        m_lines.push_back(
                            t.map(QLineF(part->path[i - 1].x, part->path[i - 1].y, part->path[i].x, part->path[i].y)));
            }
        }
        for (EntityId id : e.attributes)
            if (const Entity *a = d.entity(id); a && !a->text.empty())
                m_boxes.push_back(textBox(*a).outline());
        if (isEmpty())  // a reference to an empty block is still somewhere
            m_lines.emplace_back(QPointF(e.insertionPoint.x, e.insertionPoint.y),
                                 QPointF(e.insertionPoint.x, e.insertionPoint.y));
        break;
    }
    }
}

QRectF EntityShape::bounds() const
{
    QRectF r;
    bool first = true;
    auto unite = [&](const QRectF &b) {
        r = first ? b : r.united(b);
        first = false;
    };
    for (const QLineF &l : m_lines)
        unite(QRectF(l.p1(), l.p2()).normalized());
    for (const QPolygonF &b : m_boxes)
        unite(b.boundingRect());
    return r;
}

bool EntityShape::isNear(const QPointF &p, double tolerance) const
{
    for (const QLineF &l : m_lines)
        if (distanceToSegment(p, l) <= tolerance)
            return true;
    for (const QPolygonF &b : m_boxes)
        if (b.containsPoint(p, Qt::OddEvenFill))
            return true;
    return false;
}

bool EntityShape::isInside(const QRectF &r) const
{
    if (isEmpty())
        return false;
    for (const QLineF &l : m_lines)
        if (!r.contains(l.p1()) || !r.contains(l.p2()))
            return false;
    for (const QPolygonF &b : m_boxes)
        for (const QPointF &p : b)
            if (!r.contains(p))
                return false;
    return true;
}

bool EntityShape::touches(const QRectF &r) const
{
    for (const QLineF &l : m_lines)
        if (segmentTouches(l, r))
            return true;
    const QPolygonF rect(r);
    for (const QPolygonF &b : m_boxes)
        if (b.intersects(rect))
            return true;
    return false;
}

}  // namespace cadhost
