// The drawing window driven offscreen with real mouse and key events; the
// picks run inside SelectOnScreen/GetSubEntity's nested event loop, so the
// events are queued with QTimer::singleShot before the call.

#include "cadhost/gui/drawingview.h"
#include "cadhost/gui/drawingwindow.h"
#include "cadhost/gui/entityshape.h"
#include "cadhost/testapi.h"

#include "cad/connection.h"
#include "cad/object.h"
#include "cad/qt/qtwindowapi.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <functional>
#include <memory>

using namespace cadhost;
using cad::Variant;

namespace {

Variant filter(std::vector<std::int16_t> codes)
{
    return Variant(cad::Int16Array(codes.begin(), codes.end()));
}

Variant data(std::vector<std::u16string> values)
{
    cad::VariantArray a;
    for (auto &v : values)
        a.push_back(Variant(v));
    return Variant(a);
}

}  // namespace

class DrawingWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowAndCrossingPickWithFilter();
    void shiftRemovesAndRightClickOrSpaceEnds();
    void escapeCancelsPick();
    void subEntityPicksAttributeInsideBlockAndPlainText();
    void zoomCenterThenMarker();
    void minimiseAndRestoreThroughPlatformLayer();
    void undoAndRedoGroupedChange();
    void closingDuringPickStopsHost();
    void panZoomAndCoordinates();

private:
    DrawingView *view() const { return m_window->view(); }
    QPoint px(double x, double y) const { return view()->toPixel({x, y}); }
    QPoint centreOf(EntityId id) const
    {
        return view()
            ->toScreen()
            .map(EntityShape(m_host->drawing(), *m_host->drawing().entity(id)).bounds().center())
            .toPoint();
    }
    void whenPicking(std::function<void()> f) { QTimer::singleShot(0, m_window.get(), std::move(f)); }
    cad::Object doc() const { return m_host->application().get(u"ActiveDocument").toObject(); }
    cad::Object newSet() const { return cad::GetTempSelectionSet(doc()).toObject(); }
    std::vector<EntityId> items(const cad::Object &set) const;
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {});

    std::unique_ptr<Host> m_host;
    std::unique_ptr<DrawingWindow> m_window;
    EntityId m_a = 0, m_b = 0, m_c = 0, m_line = 0, m_insert = 0, m_attribute = 0;
};

void DrawingWindowTest::init()
{
    m_host = std::make_unique<Host>();
    cad::TargetProgID = Host::kProgId;
    Drawing &d = m_host->drawing();
    d.addLayer(u"T", 3);
    m_a = d.addText({.text = u"W-1", .insertionPoint = {20, 100, 0}, .height = 5, .layer = u"T"});
    m_b = d.addText({.text = u"W-2", .insertionPoint = {20, 80, 0}, .height = 5, .layer = u"T"});
    m_c = d.addText({.text = u"機器",
                     .insertionPoint = {60, 80, 0},
                     .alignment = AlignRight,
                     .alignmentPoint = cad::Point{70, 80, 0},
                     .height = 5});
    m_line = d.addLine({{10, 60, 0}, {150, 60, 0}});
    d.addBlock({.name = u"EQ",
                .lines = {{{-10, -5, 0}, {10, -5, 0}},
                          {{10, -5, 0}, {10, 5, 0}},
                          {{10, 5, 0}, {-10, 5, 0}},
                          {{-10, 5, 0}, {-10, -5, 0}}},
                .attributes = {{.tag = u"NAME",
                                .prompt = u"機器名",
                                .point = {0, 7, 0},
                                .height = 4,
                                .alignment = AlignCenter,
                                .alignmentPoint = cad::Point{0, 7, 0}}}});
    m_insert = d.addInsert({.block = u"EQ", .insertionPoint = {100, 100, 0}, .attributes = {{u"NAME", u"MC1"}}});
    m_attribute = d.entity(m_insert)->attributes.at(0);

    m_window = std::make_unique<DrawingWindow>(*m_host);
    m_window->resize(800, 600);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    d.setViewCentre({80, 80, 0}, 100);
}

void DrawingWindowTest::cleanup()
{
    cad::setWindowApi(nullptr);
    m_window.reset();
    m_host.reset();
}

std::vector<EntityId> DrawingWindowTest::items(const cad::Object &set) const
{
    std::vector<EntityId> out;
    const int n = set.get(u"Count").toInt();
    for (int i = 0; i < n; ++i)
        out.push_back(set.get(u"Item", {Variant(i)}).toObject().get(u"ObjectId").toInt64());
    return out;
}

void DrawingWindowTest::drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods)
{
    QTest::mousePress(view(), Qt::LeftButton, mods, from);
    QTest::mouseMove(view(), (from + to) / 2);
    QTest::mouseMove(view(), to);
    QTest::mouseRelease(view(), Qt::LeftButton, mods, to);
}

void DrawingWindowTest::windowAndCrossingPickWithFilter()
{
    // Window, left to right, TEXT only: the two texts wholly inside; the
    // line and the block reference crossing the box stay out.
    QString prompt;
    whenPicking([&] {
        prompt = m_window->prompt();
        drag(px(12, 110), px(45, 55));
        QTest::keyClick(view(), Qt::Key_Return);
    });
    cad::Object set = newSet();
    set.call(u"SelectOnScreen", {filter({0}), data({u"TEXT"})});
    QCOMPARE(items(set), (std::vector<EntityId>{m_a, m_b}));
    QCOMPARE(prompt, QStringLiteral("オブジェクトを選択: "));
    QVERIFY(m_window->prompt().isEmpty());
    QVERIFY(view()->picked().empty());  // highlight gone

    // The same box dragged right to left is a crossing: now the line is
    // touched too, but the filter admits only LINE.
    whenPicking([&] {
        drag(px(45, 55), px(12, 110));
        QTest::keyClick(view(), Qt::Key_Enter);
    });
    set = newSet();
    set.call(u"SelectOnScreen", {filter({0}), data({u"LINE"})});
    QCOMPARE(items(set), std::vector<EntityId>{m_line});

    // Crossing through the block's left edge only, block-name wildcard.
    whenPicking([&] {
        drag(px(92, 97), px(85, 99));
        QCOMPARE(view()->picked(), std::vector<EntityId>{m_insert});
        QTest::keyClick(view(), Qt::Key_Return);
    });
    set = newSet();
    set.call(u"SelectOnScreen", {filter({0, 2}), data({u"INSERT", u"E*"})});
    QCOMPARE(items(set), std::vector<EntityId>{m_insert});

    // A click on an entity the filter refuses picks nothing.
    whenPicking([&] {
        QTest::mouseClick(view(), Qt::LeftButton, {}, px(80, 60));  // on the line
        QTest::mouseClick(view(), Qt::LeftButton, {}, centreOf(m_c));
        QTest::keyClick(view(), Qt::Key_Return);
    });
    set = newSet();
    set.call(u"SelectOnScreen", {filter({0, 1}), data({u"TEXT", u"機*"})});
    QCOMPARE(items(set), std::vector<EntityId>{m_c});
}

void DrawingWindowTest::shiftRemovesAndRightClickOrSpaceEnds()
{
    whenPicking([&] {
        QTest::mouseClick(view(), Qt::LeftButton, {}, centreOf(m_a));
        QTest::mouseClick(view(), Qt::LeftButton, {}, centreOf(m_b));
        QTest::mouseClick(view(), Qt::LeftButton, {}, centreOf(m_c));
        QTest::mouseClick(view(), Qt::LeftButton, Qt::ShiftModifier, centreOf(m_a));
        QCOMPARE(view()->picked(), (std::vector<EntityId>{m_b, m_c}));
        QVERIFY(m_window->prompt().contains(QStringLiteral("2 個")));
        QTest::mouseClick(view(), Qt::RightButton, {}, px(0, 0));
    });
    cad::Object set = newSet();
    set.call(u"SelectOnScreen", {filter({0}), data({u"TEXT"})});
    QCOMPARE(items(set), (std::vector<EntityId>{m_b, m_c}));

    // Shift with a rectangle removes what it catches.
    whenPicking([&] {
        drag(px(12, 110), px(80, 75));                    // A, B and C
        drag(px(45, 75), px(12, 95), Qt::ShiftModifier);  // crossing: B
        QTest::keyClick(view(), Qt::Key_Space);
    });
    set = newSet();
    set.call(u"SelectOnScreen");
    QCOMPARE(items(set), (std::vector<EntityId>{m_a, m_c}));
}

void DrawingWindowTest::escapeCancelsPick()
{
    whenPicking([&] {
        QTest::mouseClick(view(), Qt::LeftButton, {}, centreOf(m_a));
        QTest::keyClick(view(), Qt::Key_Escape);
    });
    cad::Object set = newSet();
    try {
        set.call(u"SelectOnScreen", {filter({0}), data({u"TEXT"})});
        QFAIL("a cancelled pick must raise");
    } catch (const cad::Error &e) {
        QCOMPARE(e.text(), std::u16string(kPickCancelled));
    }
    QCOMPARE(set.get(u"Count").toInt(), 0);
    QVERIFY(!m_window->isPicking());
    QCOMPARE(view()->pickMode(), DrawingView::PickMode::None);
    QVERIFY(m_host->isRunning());
}

void DrawingWindowTest::subEntityPicksAttributeInsideBlockAndPlainText()
{
    cad::Object utility = doc().get(u"Utility").toObject();
    auto pick = [&](QPoint at) {
        whenPicking([this, at] { QTest::mouseClick(view(), Qt::LeftButton, {}, at); });
        cad::Argument args[5] = {{Variant(), true},
                                 {Variant(), true},
                                 {Variant(), true},
                                 {Variant(), true},
                                 {Variant(u"文字を選択"), false}};
        utility.callRef(u"GetSubEntity", args);
        return std::pair(args[0].value.toObject().get(u"ObjectId").toInt64(), args[1].value);
    };

    QString prompt;
    QTimer::singleShot(0, m_window.get(), [&] { prompt = m_window->prompt(); });
    const QPoint onAttribute
        = view()
              ->toScreen()
              .map(textBox(*m_host->drawing().entity(m_attribute)).outline().boundingRect().center())
              .toPoint();
    auto [id, point] = pick(onAttribute);
    QCOMPARE(id, m_attribute);
    QCOMPARE(prompt, QStringLiteral("文字を選択"));
    const cad::Point p = cad::toPoint(point);
    const QPointF expected = view()->toDrawing(onAttribute);
    QVERIFY(std::abs(p.x - expected.x()) < 1e-9 && std::abs(p.y - expected.y()) < 1e-9);

    // On the block's outline, away from its attribute: the reference.
    QCOMPARE(pick(px(110, 100)).first, m_insert);
    QCOMPARE(pick(centreOf(m_b)).first, m_b);

    // Empty space is no pick; Escape then cancels.
    whenPicking([&] {
        QTest::mouseClick(view(), Qt::LeftButton, {}, px(130, 20));
        QCOMPARE(view()->pickMode(), DrawingView::PickMode::SubEntity);
        QTest::keyClick(view(), Qt::Key_Escape);
    });
    cad::Argument args[5]
        = {{Variant(), true}, {Variant(), true}, {Variant(), true}, {Variant(), true}, {Variant(u"")}};
    QVERIFY_THROWS_EXCEPTION(cad::Error, utility.callRef(u"GetSubEntity", args));
}

void DrawingWindowTest::zoomCenterThenMarker()
{
    cad::QtWindowApi api;
    cad::setWindowApi(&api);
    QCOMPARE(m_host->drawing().view().screenWidth, view()->width());
    QCOMPARE(m_host->drawing().view().screenHeight, view()->height());

    cad::ZoomToPoint(m_host->application(), Variant(cad::DoubleArray{100, 100, 0}), 3, false, 0.05);
    const View &v = m_host->drawing().view();
    QCOMPARE(v.centre.x, 100.0);
    QCOMPARE(v.centre.y, 100.0);
    QCOMPARE(v.height, 100.0);
    QCOMPARE(doc().call(u"GetVariable", {Variant(u"VIEWSIZE")}).toDouble(), 100.0);
    QCOMPARE(view()->toPixel({100, 100}), QPoint(view()->width() / 2, view()->height() / 2));

    QVERIFY(view()->marker().has_value());
    const auto &m = *view()->marker();
    QCOMPARE(m.points, cad::zoomMarker(view()->width(), view()->height(), 0.05));
    QCOMPARE(m.penWidth, 3);
    QCOMPARE(m.rgb, cad::kMarkerColour);

    // The lines are on the view in RGB(255, 100, 100): the middle of the
    // arrowhead's back edge and of its upper side.
    const QImage image = view()->grab().toImage();
    const cad::PixelPoint a = m.points[1], b = m.points[2];
    QCOMPARE(QColor(image.pixel((a.x + b.x) / 2, (a.y + b.y) / 2)), QColor(255, 100, 100));
    const cad::PixelPoint tip = m.points[0];
    QCOMPARE(QColor(image.pixel((tip.x + a.x) / 2, (tip.y + a.y) / 2)), QColor(255, 100, 100));

    // It stays until the next redraw.
    view()->repaint();
    QVERIFY(view()->marker().has_value());
    doc().call(u"Regen", {Variant(0)});
    QVERIFY(!view()->marker().has_value());
}

void DrawingWindowTest::minimiseAndRestoreThroughPlatformLayer()
{
    cad::QtWindowApi qt;
    RecordingWindowApi recording;  // forwards to Qt, keeps the 500 ms on paper
    recording.forwardTo = &qt;
    cad::setWindowApi(&qt);
    const cad::WindowHandle h = m_host->application().get(u"HWND").toInt64();
    QCOMPARE(h, cad::QtWindowApi::handleOf(m_window.get()));
    QCOMPARE(doc().get(u"HWND").toInt64(), h);

    qt.minimise(h);
    QTRY_VERIFY(m_window->isMinimized());
    QVERIFY(qt.isMinimised(h));
    qt.restore(h);
    QTRY_VERIFY(!m_window->isMinimized());
    QVERIFY(!qt.isMinimised(h));

    // ActivateCad as a fetch runs it: restore after a pause, then front and Escape.
    cad::setWindowApi(&recording);
    recording.minimise(h);
    QTRY_VERIFY(m_window->isMinimized());
    cad::ActivateCad(m_host->application(), false, true);
    QVERIFY(!m_window->isMinimized());
    QCOMPARE(recording.sleptMilliseconds, 505);
    QCOMPARE(qt.foreground(), h);
    QCOMPARE(recording.escapes, 1);
}

void DrawingWindowTest::undoAndRedoGroupedChange()
{
    cad::Object d = doc();
    QVERIFY(!m_window->findChild<QAction *>(QStringLiteral("undoAction"))->isEnabled());
    {
        cad::UndoMark mark(d);
        d.call(u"HandleToObject", {Variant(m_host->drawing().entity(m_a)->handle)})
            .toObject()
            .put(u"TextString", Variant(u"X-1"));
        d.call(u"HandleToObject", {Variant(m_host->drawing().entity(m_attribute)->handle)})
            .toObject()
            .put(u"TextString", Variant(u"MC9"));
        mark.close();
    }
    auto texts
        = [&] { return std::pair(m_host->drawing().entity(m_a)->text, m_host->drawing().entity(m_attribute)->text); };
    QCOMPARE(texts(), std::pair(std::u16string(u"X-1"), std::u16string(u"MC9")));
    auto *undo = m_window->findChild<QAction *>(QStringLiteral("undoAction"));
    auto *redo = m_window->findChild<QAction *>(QStringLiteral("redoAction"));
    QTRY_VERIFY(undo->isEnabled() && !redo->isEnabled());

    QApplication::setActiveWindow(m_window.get());
    QTest::keyClick(view(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(texts(), std::pair(std::u16string(u"W-1"), std::u16string(u"MC1")));
    QVERIFY(!undo->isEnabled() && redo->isEnabled());
    QTest::keyClick(view(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(texts(), std::pair(std::u16string(u"X-1"), std::u16string(u"MC9")));
    undo->trigger();
    QCOMPARE(texts(), std::pair(std::u16string(u"W-1"), std::u16string(u"MC1")));
    redo->trigger();
    QCOMPARE(texts(), std::pair(std::u16string(u"X-1"), std::u16string(u"MC9")));
}

void DrawingWindowTest::closingDuringPickStopsHost()
{
    whenPicking([&] {
        QTest::mouseClick(view(), Qt::LeftButton, {}, centreOf(m_a));
        m_window->close();
    });
    cad::Object set = newSet();
    QVERIFY_THROWS_EXCEPTION(cad::Error, set.call(u"SelectOnScreen"));
    QVERIFY(!m_window->isPicking());
    QVERIFY(!m_host->isRunning());
    QVERIFY(!cad::IsCadRunning());
}

void DrawingWindowTest::panZoomAndCoordinates()
{
    // The cursor's drawing coordinates in the status bar.
    QTest::mouseMove(view(), px(30, 40));
    auto *coords = m_window->findChild<QLabel *>(QStringLiteral("coordinateLabel"));
    const QPointF under = view()->toDrawing(px(30, 40));
    QCOMPARE(coords->text(), QStringLiteral("%1, %2").arg(under.x(), 0, 'f', 2).arg(under.y(), 0, 'f', 2));
    QVERIFY(std::abs(under.x() - 30) < 0.2 && std::abs(under.y() - 40) < 0.2);

    // Wheel zoom keeps the point under the cursor.
    const QPoint at = px(30, 40);
    QWheelEvent wheel(at, view()->mapToGlobal(at), {}, {0, 120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(view(), &wheel);
    QVERIFY(m_host->drawing().view().height < 100);
    const QPointF still = view()->toDrawing(at);
    QVERIFY(std::abs(still.x() - under.x()) < 1e-9 && std::abs(still.y() - under.y()) < 1e-9);

    // Middle drag pans by the dragged distance.
    const cad::Point before = m_host->drawing().view().centre;
    const double k = view()->height() / m_host->drawing().view().height;
    QTest::mousePress(view(), Qt::MiddleButton, {}, QPoint(100, 100));
    QTest::mouseMove(view(), QPoint(150, 100));
    QTest::mouseRelease(view(), Qt::MiddleButton, {}, QPoint(150, 100));
    QVERIFY(std::abs(m_host->drawing().view().centre.x - (before.x - 50 / k)) < 1e-6);

    // Double middle click: everything in view.
    QTest::mouseDClick(view(), Qt::MiddleButton, {}, QPoint(10, 10));
    for (EntityId id : m_host->drawing().modelSpace()) {
        const QRectF b
            = view()->toScreen().mapRect(EntityShape(m_host->drawing(), *m_host->drawing().entity(id)).bounds());
        QVERIFY(QRectF(view()->rect()).contains(b.topLeft()) && QRectF(view()->rect()).contains(b.bottomRight()));
    }
}

QTEST_MAIN(DrawingWindowTest)
#include "drawingwindow_test.moc"
