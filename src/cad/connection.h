#pragma once

#include "cad/object.h"
#include "cad/windowapi.h"

#include <string>
#include <vector>

namespace cad {

inline constexpr const char16_t *kDefaultProgID = u"BricscadApp.AcadApplication";

// The ProgID of the CAD to drive. Every command attaches anew through it;
// no connection is cached.
extern std::u16string TargetProgID;

// True when a running object of TargetProgID exists. An unregistered
// ProgID raises (the caller's command ends with the error report).
bool IsCadRunning();

// The running application object of TargetProgID; raises when none runs.
Object AttachCad();

// Brings the CAD window forward before the user works in it: restore
// (and wait 500 ms) when minimised, optionally minimise our main window,
// make the CAD the foreground window and, optionally and only when it
// really is in front, cancel a pending CAD command with one Escape press.
void ActivateCad(const Object &app, bool minimiseMainWindow, bool sendEscape);

// What every command that works in the drawing does first: attach,
// activate the CAD window (see ActivateCad) and take its active document.
Object AttachActiveDocument(bool minimiseMainWindow, bool sendEscape);

// Makes `w` the foreground window and puts it on top, attaching thread
// input when the foreground window belongs to another thread.
void BringWindowToFront(WindowHandle w);

// Restores our main window after a pick and brings it to the front.
void RestoreMainWindow();

// The temporary selection set "SSTEMP", cleared and reused when present in
// any letter case, else added. Empty variant on any failure.
Variant GetTempSelectionSet(const Object &doc);

// Clear and Delete of a temporary set; errors are swallowed so that the
// clean-up can run on every path.
void ReleaseTempSelectionSet(const Variant &set);

// The temporary selection set for one command: got on construction,
// released (ReleaseTempSelectionSet) when the scope ends by any path.
class TempSelectionSet {
public:
    explicit TempSelectionSet(const Object &doc) : m_set(GetTempSelectionSet(doc)) {}
    ~TempSelectionSet() { ReleaseTempSelectionSet(m_set); }
    TempSelectionSet(const TempSelectionSet &) = delete;
    TempSelectionSet &operator=(const TempSelectionSet &) = delete;
    const Variant &variant() const { return m_set; }

private:
    Variant m_set;
};

// Marker polyline of ZoomToPoint for a view of width × height pixels: an
// arrowhead outline whose tip is the view centre, pointing right.
std::vector<PixelPoint> zoomMarker(int width, int height, double scale);

// Centres the CAD view on `point` (view height unchanged) and draws the
// marker on the drawing window. Never raises.
void ZoomToPoint(const Object &app, const Variant &point, int penWidth, bool xorMode, double scale);

inline constexpr std::uint32_t kMarkerColour = 0x6464FF;  // COLORREF of RGB(255, 100, 100)

// One CAD undo step: StartUndoMark now, EndUndoMark on close() or when the
// scope ends by any path, so the CAD's group is never left open.
class UndoMark {
public:
    explicit UndoMark(Object doc);
    ~UndoMark();
    UndoMark(const UndoMark &) = delete;
    UndoMark &operator=(const UndoMark &) = delete;
    void close();  // raises when EndUndoMark fails

private:
    Object m_doc;
    bool m_open = false;
};

}  // namespace cad
