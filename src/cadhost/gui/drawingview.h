#pragma once

#include "cadhost/entity.h"
#include "cadhost/picker.h"
#include "cadhost/selectionfilter.h"

#include "cad/windowapi.h"

#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

namespace cadhost {

class Drawing;

// The drawing's model space on screen, in the view (centre, VIEWSIZE)
// the drawing keeps, so that ZoomCenter and the user's pan and zoom are
// one and the same. Runs the picks the window's picker starts.
class DrawingView : public QWidget {
    Q_OBJECT
public:
    enum class PickMode { None, Select, SubEntity };

    struct Marker {
        int penWidth = 0;
        bool xorMode = false;
        std::uint32_t rgb = 0;
        std::vector<cad::PixelPoint> points;
    };

    explicit DrawingView(Drawing &drawing, QWidget *parent = nullptr);

    // Drawing units ↔ view pixels.
    QTransform toScreen() const;
    QPointF toDrawing(const QPointF &pixel) const;
    QPoint toPixel(const QPointF &drawingPoint) const;

    void zoomExtents();
    // Zooms by `factor` (> 1 closer) keeping the drawing point under `pixel`.
    void zoomAt(const QPointF &pixel, double factor);

    // The entity under a pixel: model-space entities only (the topmost),
    // admitted by `filter` when one is given.
    EntityId entityAt(const QPointF &pixel, const SelectionFilter *filter) const;
    // On a block reference, the attribute under the pixel when there is one.
    EntityId subEntityAt(const QPointF &pixel) const;

    // --- Picks: the window runs the event loop until pickEnded ----------------
    void beginSelect(const SelectionFilter &filter);
    void beginSubEntity();
    void cancelPick();
    PickMode pickMode() const { return m_mode; }
    const std::vector<EntityId> &picked() const { return m_picked; }
    const std::optional<SubEntityPick> &subEntityPick() const { return m_subPick; }

    // --- The ZoomToPoint marker, drawn over the view until the next redraw ---
    void setMarker(Marker marker);
    void clearMarker();
    const std::optional<Marker> &marker() const { return m_marker; }

signals:
    void cursorMoved(QPointF drawingPoint);
    // A pick ended: accepted (Enter, Space, right click, a sub-entity
    // click) or cancelled (Escape, cancelPick).
    void pickEnded(bool accepted);
    void selectionChanged(int count);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void endPick(bool accepted);
    void applyClick(const QPointF &pixel, bool remove);
    void applyRectangle(const QPointF &from, const QPointF &to, bool remove);
    void addOrRemove(const std::vector<EntityId> &ids, bool remove);
    double pixelsPerUnit() const;

    Drawing &m_drawing;
    PickMode m_mode = PickMode::None;
    SelectionFilter m_filter;
    std::vector<EntityId> m_picked;
    std::optional<SubEntityPick> m_subPick;
    std::optional<Marker> m_marker;

    // Mouse state: middle-button pan and left-button rectangles.
    bool m_panning = false;
    QPointF m_panLast;
    bool m_leftDown = false;
    bool m_dragging = false;
    Qt::KeyboardModifiers m_pressModifiers;
    QPointF m_pressPos;
    QPointF m_currentPos;
};

}  // namespace cadhost
