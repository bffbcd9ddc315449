#pragma once

#include "textedit/talvo.h"
#include "textedit/textrules.h"

#include "cad/object.h"

#include <functional>
#include <string>
#include <vector>

struct WriteBackResult {
    bool undoGroup = false;  // an undo group was opened (and is closed again)
    bool aborted = false;    // runFlag was cleared during a pass
    bool zeroStep = false;   // lines were left to add but dX and dY are both below 0.001
    bool failed = false;     // the passes stopped on an error
    std::u16string error;    // its text
};

// Messages the command shows while it runs, before it closes the undo
// group and regenerates the drawing.
enum class WriteBackMessage {
    ZeroStep,  // lines are left to add but dX and dY are both below 0.001
    Failed,    // the passes stopped on an error
};
using WriteBackMessageFn = std::function<void(WriteBackMessage)>;

// Writes the lines into the records' entities as one CAD undo step: the
// first pass updates, erases and recreates texts of the records, the second
// (text mode only) adds texts for lines beyond them at steps of (dX, dY).
// Afterwards, in text mode, the records are cut or lengthened to the used
// line count; when the first pass did not complete, every record that still
// names an entity is kept, paired with its line. Then the drawing is
// regenerated. `runFlag` is polled after each item, once `pump` has run.
WriteBackResult WriteBack(const cad::Object &doc, std::vector<Talvo> &list, const Lines &lines, bool attMode, double dX,
                          double dY, const PumpFn &pump, bool &runFlag, const ProgressFn &progress = {},
                          const WriteBackMessageFn &message = {});

// Lengthens or cuts the records to `count`. Records added carry the next
// step after the one before them, so no text is ever placed without a
// position; they stay without a point only when no record has one.
void resizeRecords(std::vector<Talvo> &list, int count, double dX, double dY);
