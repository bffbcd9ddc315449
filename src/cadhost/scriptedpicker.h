#pragma once

#include "cadhost/picker.h"

#include <deque>
#include <string>
#include <variant>
#include <vector>

namespace cadhost {

class Drawing;

// Picks queued by a test. Each SelectOnScreen takes the next queued
// selection, each GetSubEntity the next queued sub-entity pick; an empty
// queue behaves as a cancelled pick. Handles are resolved when the pick
// happens, so picks may be queued before the entities exist.
class ScriptedPicker : public Picker {
public:
    explicit ScriptedPicker(const Drawing &drawing);

    void queueHandles(std::vector<std::u16string> handles);
    void queueIds(std::vector<EntityId> ids);
    void queueCancel();
    void queueSubEntity(std::u16string handle, cad::Point point = {});
    void queueSubEntityCancel();
    void clear();

    std::size_t pendingSelections() const { return m_selections.size(); }
    std::size_t pendingSubEntities() const { return m_subEntities.size(); }
    // Prompts GetSubEntity showed, in order.
    const std::vector<std::u16string> &prompts() const { return m_prompts; }
    int selectOnScreenCount() const { return m_selectCount; }

    std::optional<std::vector<EntityId>> selectOnScreen(const SelectionFilter &filter) override;
    std::optional<SubEntityPick> getSubEntity(const std::u16string &prompt) override;

private:
    struct Cancel {};
    using Selection = std::variant<Cancel, std::vector<std::u16string>, std::vector<EntityId>>;
    struct SubPick {
        bool cancel = false;
        std::u16string handle;
        cad::Point point;
    };

    const Drawing &m_drawing;
    std::deque<Selection> m_selections;
    std::deque<SubPick> m_subEntities;
    std::vector<std::u16string> m_prompts;
    int m_selectCount = 0;
};

}  // namespace cadhost
