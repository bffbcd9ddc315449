#include "cadhost/selectionsets.h"

#include "cadhost/errors.h"

#include "cad/object.h"

#include <algorithm>

namespace cadhost {

SelectionSet &SelectionSets::add(std::u16string name)
{
    if (findByName(name))
        throw cad::Error(kDuplicateName);
    m_sets.push_back(SelectionSet{m_nextSerial++, std::move(name), {}});
    return m_sets.back();
}

SelectionSet *SelectionSets::find(std::uint64_t serial)
{
    for (auto &s : m_sets)
        if (s.serial == serial)
            return &s;
    return nullptr;
}

const SelectionSet *SelectionSets::find(std::uint64_t serial) const
{
    return const_cast<SelectionSets *>(this)->find(serial);
}

const SelectionSet *SelectionSets::findByName(std::u16string_view name) const
{
    for (auto &s : m_sets)
        if (cad::sameMember(s.name, name))
            return &s;
    return nullptr;
}

bool SelectionSets::remove(std::uint64_t serial)
{
    auto it = std::find_if(m_sets.begin(), m_sets.end(), [&](const SelectionSet &s) { return s.serial == serial; });
    if (it == m_sets.end())
        return false;
    m_sets.erase(it);
    return true;
}

}  // namespace cadhost
