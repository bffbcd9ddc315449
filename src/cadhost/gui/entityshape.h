#pragma once

#include "cadhost/entity.h"

#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <vector>

namespace cadhost {

class Drawing;

// Where a text sits, in drawing units: its baseline origin, its size and
// its rotation, worked out from the alignment code and the point the CAD
// places it by (insertion point for left, alignment point otherwise).
struct TextBox {
    QPointF origin;  // left end of the baseline
    double width = 0;
    double height = 0;  // cap height, the CAD's text height
    double descent = 0;
    double rotation = 0;   // radians
    double fontScale = 0;  // drawing units per pixel of textFont()

    // Local text coordinates (x along the baseline, y up) to drawing units.
    QTransform toDrawing() const;
    QPolygonF outline() const;  // from descent to cap height
};

// The font texts are drawn and measured with, at its reference pixel size.
const QFont &textFont();
TextBox textBox(const Entity &text);

// Block definition coordinates to drawing units for a block reference.
QTransform insertTransform(const Entity &insert);

// What an entity covers in drawing units: lines and text boxes. A block
// reference covers its definition's lines and its attributes' texts.
class EntityShape {
public:
    EntityShape() = default;
    EntityShape(const Drawing &drawing, const Entity &entity);

    const std::vector<QLineF> &lines() const { return m_lines; }
    const std::vector<QPolygonF> &boxes() const { return m_boxes; }
    bool isEmpty() const { return m_lines.empty() && m_boxes.empty(); }
    QRectF bounds() const;
    // Within `tolerance` of a line, or inside a text box.
    bool isNear(const QPointF &p, double tolerance) const;
    // Window selection: every part lies inside `r`.
    bool isInside(const QRectF &r) const;
    // Crossing selection: some part lies inside `r` or crosses its edge.
    bool touches(const QRectF &r) const;

private:
    std::vector<QLineF> m_lines;
    std::vector<QPolygonF> m_boxes;
};

}  // namespace cadhost
