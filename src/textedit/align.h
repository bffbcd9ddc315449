#pragma once

#include "textedit/talvo.h"
#include "textedit/textrules.h"

#include "cad/object.h"

#include <string>
#include <vector>

struct AlignResult {
    bool failed = false;
    std::u16string error;
    bool regenerated = false;  // records past the last data line were erased
};

// Lays the records' texts out again at record 0's point plus i·(dX, dY),
// writing each line like the write-back, as one CAD undo step. Records past
// the used line count lose their texts and stay as placeholders; the
// records are never cut. Align does not let messages run.
AlignResult Align(const cad::Object &doc, std::vector<Talvo> &list, const Lines &lines, double dX, double dY,
                  const ProgressFn &progress = {});
