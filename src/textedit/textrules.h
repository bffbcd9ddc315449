#pragma once

#include "textedit/talvo.h"

#include "cad/object.h"

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Rules shared by fetch, write-back, align and the status line.

using Lines = std::vector<std::u16string>;
// Lets pending window messages run (long loops call it after each item).
using PumpFn = std::function<void()>;
// Progress of a long command: 1-based item and the editor's line count.
using ProgressFn = std::function<void(int current, int total)>;

// Lines up to and including the last non-blank one; 0 when all are blank.
int UsedLineCount(const Lines &lines);

inline bool isAttributeRecord(const Talvo &t)
{
    return t.parentType == u"INSERT";
}
inline bool hasPoint(const Talvo &t)
{
    return t.insPt.isArray();
}

// Positioning rule: alignment 0 places by InsertionPoint, any other by
// TextAlignmentPoint.
const char16_t *positionMember(int alignment);
cad::Variant readPosition(const cad::Object &entity, int alignment);
void placeAt(const cad::Object &entity, int alignment, const cad::Variant &point);

// The one way write-back and align make a new text: copies the template,
// writes `text` (and `alignment` when given), places the copy by its
// alignment at what `where` returns for it, and records the copy's handle,
// alignment, layer, text and point in `rec`. `update`: Update it at the end.
struct CopyOptions {
    std::optional<int> alignment;
    bool update = true;
};
cad::Object copyTemplate(const cad::Object &templ, const std::u16string &text,
                         const std::function<cad::Variant(const cad::Object &copy)> &where, Talvo &rec,
                         CopyOptions options = {});

// HandleToObject takes its handle by reference.
cad::Object lookupHandle(const cad::Object &doc, const std::u16string &handle);

// Makes the entity of the last record with a handle the template text. A
// failing lookup is swallowed and leaves `templ` as it was. True when some
// record has a handle, even when its lookup failed.
bool FindLastEntity(const cad::Object &doc, const std::vector<Talvo> &list, cad::Object &templ);

// A per-item failure is passed over only while the CAD still runs; a lost
// CAD makes it a failure of the whole command.
void rethrowUnlessCadRunning();

// dX/dY proposal: the step between the last two records' points.
struct Step {
    double dX = 0, dY = 0;
};
Step proposeStep(const std::vector<Talvo> &list);

// The text of a failure as the error report would show it.
std::u16string errorText(const std::exception &e);
