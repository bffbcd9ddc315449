#include "cadhost/undohistory.h"

namespace cadhost {

void UndoHistory::record(std::u16string_view label, EntityChange change)
{
    m_undone.clear();
    if (m_open) {
        m_open->changes.push_back(std::move(change));
        return;
    }
    UndoStep step{std::u16string(label), {}};
    step.changes.push_back(std::move(change));
    m_done.push_back(std::move(step));
}

void UndoHistory::beginGroup(std::u16string_view label)
{
    if (m_depth++ == 0)
        m_open = UndoStep{std::u16string(label), {}};
}

void UndoHistory::endGroup()
{
    if (m_depth == 0)
        return;
    if (--m_depth == 0) {
        if (!m_open->changes.empty())
            m_done.push_back(std::move(*m_open));
        m_open.reset();
    }
}

void UndoHistory::closeGroup()
{
    while (m_depth > 0)
        endGroup();
}

std::optional<UndoStep> UndoHistory::takeUndo()
{
    closeGroup();
    if (m_done.empty())
        return std::nullopt;
    m_undone.push_back(std::move(m_done.back()));
    m_done.pop_back();
    return m_undone.back();
}

std::optional<UndoStep> UndoHistory::takeRedo()
{
    closeGroup();
    if (m_undone.empty())
        return std::nullopt;
    m_done.push_back(std::move(m_undone.back()));
    m_undone.pop_back();
    return m_done.back();
}

void UndoHistory::clear()
{
    m_done.clear();
    m_undone.clear();
    m_open.reset();
    m_depth = 0;
}

}  // namespace cadhost
