#pragma once

#include "cadhost/entity.h"

#include <optional>
#include <string>
#include <vector>

namespace cadhost {

// One entity before and after a change: no `before` = created, no `after`
// = erased.
struct EntityChange {
    EntityId id = 0;
    std::optional<Entity> before;
    std::optional<Entity> after;
};

// One undo step: what one undo in the host reverts.
struct UndoStep {
    std::u16string label;  // the member that made it ("TextString", "Copy", ...) or "Group"
    std::vector<EntityChange> changes;
};

// The host's own command stack. Changes recorded while a group is open
// (StartUndoMark … EndUndoMark, nested pairs count as one) become one step;
// any other change is a step of its own. A new change drops the redo steps.
class UndoHistory {
public:
    inline static const std::u16string kGroupLabel = u"Group";

    void record(std::u16string_view label, EntityChange change);
    void beginGroup(std::u16string_view label = kGroupLabel);
    void endGroup();  // without an open group: ignored, as the CAD does
    bool groupOpen() const { return m_depth > 0; }
    // Closes an open group however deep, e.g. before an undo.
    void closeGroup();

    bool canUndo() const { return !m_done.empty(); }
    bool canRedo() const { return !m_undone.empty(); }
    // Moves the last step to the redo side and returns it for reverting.
    std::optional<UndoStep> takeUndo();
    std::optional<UndoStep> takeRedo();

    const std::vector<UndoStep> &steps() const { return m_done; }        // oldest first
    const std::vector<UndoStep> &redoSteps() const { return m_undone; }  // next redo last
    void clear();

private:
    std::vector<UndoStep> m_done;
    std::vector<UndoStep> m_undone;
    std::optional<UndoStep> m_open;
    int m_depth = 0;
};

}  // namespace cadhost
