#pragma once

#include "cadhost/entity.h"
#include "cadhost/selectionfilter.h"

#include "cad/variant.h"

#include <optional>
#include <string>
#include <vector>

namespace cadhost {

// One entity picked by GetSubEntity, and the picked point. On a block
// reference the picker names the attribute under the cursor when there
// is one.
struct SubEntityPick {
    EntityId entity = 0;
    cad::Point point;
};

// Where the host's picks come from: the drawing window supplies the
// interactive one, tests a ScriptedPicker.
class Picker {
public:
    virtual ~Picker() = default;
    // The entities the user picked; nullopt when the pick was cancelled
    // (SelectOnScreen then raises). The host applies `filter` to the
    // result again, so a picker may return anything.
    virtual std::optional<std::vector<EntityId>> selectOnScreen(const SelectionFilter &filter) = 0;
    // One picked entity; nullopt when cancelled (GetSubEntity raises).
    virtual std::optional<SubEntityPick> getSubEntity(const std::u16string &prompt) = 0;
};

}  // namespace cadhost
