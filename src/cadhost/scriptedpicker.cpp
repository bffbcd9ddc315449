#include "cadhost/scriptedpicker.h"

#include "cadhost/drawing.h"

namespace cadhost {

ScriptedPicker::ScriptedPicker(const Drawing &drawing) : m_drawing(drawing)
{}

void ScriptedPicker::queueHandles(std::vector<std::u16string> handles)
{
    m_selections.emplace_back(std::move(handles));
}

void ScriptedPicker::queueIds(std::vector<EntityId> ids)
{
    m_selections.emplace_back(std::move(ids));
}

void ScriptedPicker::queueCancel()
{
    m_selections.emplace_back(Cancel{});
}

void ScriptedPicker::queueSubEntity(std::u16string handle, cad::Point point)
{
    m_subEntities.push_back(SubPick{false, std::move(handle), point});
}

void ScriptedPicker::queueSubEntityCancel()
{
    m_subEntities.push_back(SubPick{true, {}, {}});
}

void ScriptedPicker::clear()
{
    m_selections.clear();
    m_subEntities.clear();
    m_prompts.clear();
    m_selectCount = 0;
}

std::optional<std::vector<EntityId>> ScriptedPicker::selectOnScreen(const SelectionFilter &)
{
    ++m_selectCount;
    if (m_selections.empty())
        return std::nullopt;
    Selection next = std::move(m_selections.front());
    m_selections.pop_front();
    if (std::holds_alternative<Cancel>(next))
        return std::nullopt;
    if (auto ids = std::get_if<std::vector<EntityId>>(&next))
        return *ids;
    std::vector<EntityId> out;
    for (const auto &h : std::get<std::vector<std::u16string>>(next))
        if (const Entity *e = m_drawing.entityByHandle(h))
            out.push_back(e->id);
    return out;
}

std::optional<SubEntityPick> ScriptedPicker::getSubEntity(const std::u16string &prompt)
{
    m_prompts.push_back(prompt);
    if (m_subEntities.empty())
        return std::nullopt;
    SubPick next = std::move(m_subEntities.front());
    m_subEntities.pop_front();
    if (next.cancel)
        return std::nullopt;
    const Entity *e = m_drawing.entityByHandle(next.handle);
    if (!e)
        return std::nullopt;  // nothing under the cursor: the CAD reports a failed pick
    return SubEntityPick{e->id, next.point};
}

}  // namespace cadhost
