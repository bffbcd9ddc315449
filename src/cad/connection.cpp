#include "cad/connection.h"

#include "cad/automation.h"
#include "base/strings.h"

namespace cad {

std::u16string TargetProgID = kDefaultProgID;

bool IsCadRunning()
{
    auto &rot = runningObjects();
    std::u16string clsid = rot.classIdFromProgId(TargetProgID);  // raises when unregistered
    return !rot.activeObject(clsid).isNull();
}

Object AttachCad()
{
    auto &rot = runningObjects();
    Object app = rot.activeObject(rot.classIdFromProgId(TargetProgID));
    if (app.isNull())
        throw Error(kOperationUnavailable);
    return app;
}

void ActivateCad(const Object &app, bool minimiseMainWindow, bool sendEscape)
{
    WindowApi &win = windowApi();
    WindowHandle cad = app.get(u"HWND").toInt64();
    if (win.isMinimised(cad)) {
        win.restore(cad);
        win.sleep(500);
    }
    if (minimiseMainWindow && mainWindowHandle() != 0)
        win.minimise(mainWindowHandle());
    win.setForeground(cad);
    if (sendEscape && win.foreground() == app.get(u"HWND").toInt64()) {
        win.pressEscape();
        win.sleep(5);
    }
}

Object AttachActiveDocument(bool minimiseMainWindow, bool sendEscape)
{
    Object app = AttachCad();
    ActivateCad(app, minimiseMainWindow, sendEscape);
    return app.get(u"ActiveDocument").toObject();
}

void BringWindowToFront(WindowHandle w)
{
    WindowApi &win = windowApi();
    std::uint64_t own = win.windowThread(w);
    std::uint64_t front = win.windowThread(win.foreground());
    win.setForeground(w);
    if (own == front) {
        win.bringToTop(w);
    } else {
        win.attachThreadInput(own, front, true);
        win.bringToTop(w);
        win.attachThreadInput(own, front, false);
    }
}

void RestoreMainWindow()
{
    WindowHandle w = mainWindowHandle();
    if (w == 0)
        return;
    windowApi().showNormal(w);
    BringWindowToFront(w);
}

Variant GetTempSelectionSet(const Object &doc)
{
    Variant result;
    try {
        Object sets = doc.get(u"SelectionSets").toObject();
        int count = sets.get(u"Count").toInt();
        for (int i = 0; i < count; ++i) {
            Object set = sets.call(u"Item", {Variant(i)}).toObject();
            if (base::upperAscii(set.get(u"Name").toString()) == u"SSTEMP") {
                set.call(u"Clear");
                result = Variant(set);
                return result;
            }
        }
        Argument name{Variant(u"SSTEMP"), true};
        result = sets.callRef(u"Add", std::span<Argument>(&name, 1));
    } catch (const std::exception &) {}
    return result;
}

void ReleaseTempSelectionSet(const Variant &set)
{
    try {
        Object s = set.toObject();
        if (s.isNull())
            return;
        try {
            s.call(u"Clear");
        } catch (const std::exception &) {}
        s.call(u"Delete");
    } catch (const std::exception &) {}
}

std::vector<PixelPoint> zoomMarker(int width, int height, double scale)
{
    int cx = width / 2, cy = height / 2;
    int l = int(width * scale);  // truncates towards zero
    int m = int(width * scale * 0.5);
    return {{cx, cy}, {cx - l, cy - m}, {cx - l, cy + m}, {cx, cy}};
}

void ZoomToPoint(const Object &app, const Variant &point, int penWidth, bool xorMode, double scale)
{
    try {
        Object doc = app.get(u"ActiveDocument").toObject();
        double h = doc.call(u"GetVariable", {Variant(u"VIEWSIZE")}).toDouble();
        for (int i = 0; i < 2; ++i) {
            Argument args[2] = {{point, true}, {Variant(h), true}};
            app.callRef(u"ZoomCenter", args);
        }
        WindowHandle w = doc.get(u"HWND").toInt64();
        VariantArray s = doc.call(u"GetVariable", {Variant(u"SCREENSIZE")}).toArray();
        int width = s.size() > 0 ? int(s[0].toDouble()) : 0;
        int height = s.size() > 1 ? int(s[1].toDouble()) : 0;
        if (w != 0 && width > 0 && height > 0) {
            auto pts = zoomMarker(width, height, scale);
            windowApi().drawPolyline(w, penWidth, xorMode, kMarkerColour, pts);
        }
    } catch (const std::exception &) {}
}

UndoMark::UndoMark(Object doc) : m_doc(std::move(doc))
{
    m_doc.call(u"StartUndoMark");
    m_open = true;
}

UndoMark::~UndoMark()
{
    if (m_open) {
        try {
            m_doc.call(u"EndUndoMark");
        } catch (const std::exception &) {}
    }
}

void UndoMark::close()
{
    if (!m_open)
        return;
    m_open = false;
    m_doc.call(u"EndUndoMark");
}

}  // namespace cad
