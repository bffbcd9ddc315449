#pragma once

#include "cadhost/entity.h"

#include "cad/variant.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cadhost {

// The filter arrays of Select and SelectOnScreen: DXF group codes with
// string data, all conditions must hold. Supported codes: 0 entity type
// ("TEXT", "INSERT", "LINE", "ATTDEF"; comma lists), 1 text string
// (TEXT, ATTDEF default), 2 block name (INSERT; tag of ATTDEF), 8 layer.
// Data are wildcard patterns (cadhost/wildcard.h).
class SelectionFilter {
public:
    struct Condition {
        std::int16_t code = 0;
        std::u16string pattern;
    };

    SelectionFilter() = default;  // admits every selectable entity

    // From the two filter variants. Empty or null variants mean no filter.
    // Types: Int16Array or an array of integers; data: an array of
    // variants. Raises cad::Error when the bounds differ or a code is not
    // supported.
    static SelectionFilter fromVariants(const cad::Variant &types, const cad::Variant &data);

    SelectionFilter &add(std::int16_t code, std::u16string pattern);
    bool isEmpty() const { return m_conditions.empty(); }
    const std::vector<Condition> &conditions() const { return m_conditions; }

    // Attributes are never selectable on their own; everything else must
    // satisfy every condition.
    bool matches(const Entity &e) const;

private:
    std::vector<Condition> m_conditions;
};

}  // namespace cadhost
