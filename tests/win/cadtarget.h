#pragma once

#include "cad/variant.h"

#include <memory>
#include <string>
#include <vector>

namespace wintest {

// What the CAD-link conformance suite needs beside the automation API: a
// way to lay out the drawing, script the user's picks and look at the
// drawing's state without going through the API under test. In process
// this is the drawing host itself; over COM, members of the test server.
class CadTarget {
public:
    virtual ~CadTarget() = default;
    virtual std::u16string progId() const = 0;
    virtual void reset() = 0;  // an empty drawing with layer "0"
    virtual void addLayer(const std::u16string &name, bool locked) = 0;
    virtual std::u16string addText(const std::u16string &text, const cad::Point &at, const std::u16string &layer) = 0;
    virtual void queuePicks(const std::vector<std::u16string> &handles) = 0;  // next SelectOnScreen
    virtual void queueSubEntity(const std::u16string &handle) = 0;            // next GetSubEntity
    virtual std::u16string textOf(const std::u16string &handle) = 0;
    virtual int undoSteps() = 0;
    virtual std::vector<std::u16string> selectionSetNames() = 0;
    virtual cad::Point viewCentre() = 0;
};

// The target of this test program (in process or over COM).
std::unique_ptr<CadTarget> makeConformanceTarget();

}  // namespace wintest
