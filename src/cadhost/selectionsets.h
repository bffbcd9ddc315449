#pragma once

#include "cadhost/entity.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cadhost {

// A named selection set of the document.
struct SelectionSet {
    std::uint64_t serial = 0;  // identity of this set; never reused
    std::u16string name;
    std::vector<EntityId> items;
};

// The document's selection sets, in creation order.
class SelectionSets {
public:
    // Raises cad::Error when a set of that name (any letter case) exists,
    // as the CAD's Add does.
    SelectionSet &add(std::u16string name);
    SelectionSet *find(std::uint64_t serial);
    const SelectionSet *find(std::uint64_t serial) const;
    const SelectionSet *findByName(std::u16string_view name) const;  // any letter case
    bool remove(std::uint64_t serial);
    const std::vector<SelectionSet> &sets() const { return m_sets; }
    std::size_t count() const { return m_sets.size(); }
    SelectionSet &at(std::size_t i) { return m_sets.at(i); }
    void clear() { m_sets.clear(); }  // serials stay unique

private:
    std::vector<SelectionSet> m_sets;
    std::uint64_t m_nextSerial = 1;
};

}  // namespace cadhost
