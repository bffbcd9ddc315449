#include "hostcontrol.h"

#include "cadhost/drawing.h"

namespace wintest {

void HostControl::reset()
{
    m_host.drawing().clear();
    m_host.scriptedPicker().clear();
    m_host.faults().clear();
}

void HostControl::addLayer(const std::u16string &name, bool locked)
{
    m_host.drawing().addLayer(name, 7, locked);
}

std::u16string HostControl::addText(const std::u16string &text, const cad::Point &at, const std::u16string &layer)
{
    auto id = m_host.drawing().addText({.text = text, .insertionPoint = at, .layer = layer});
    return m_host.drawing().entity(id)->handle;
}

void HostControl::queuePicks(const std::vector<std::u16string> &handles)
{
    m_host.scriptedPicker().queueHandles(handles);
}

void HostControl::queueSubEntity(const std::u16string &handle)
{
    m_host.scriptedPicker().queueSubEntity(handle);
}

std::u16string HostControl::textOf(const std::u16string &handle) const
{
    const auto *e = m_host.drawing().entityByHandle(handle);
    return e ? e->text : std::u16string();
}

void HostControl::addBlock(const std::u16string &name, const std::vector<std::u16string> &tags,
                           const std::vector<std::u16string> &prompts)
{
    cadhost::BlockSpec spec{.name = name};
    for (std::size_t i = 0; i < tags.size(); ++i)
        spec.attributes.push_back({.tag = tags[i], .prompt = i < prompts.size() ? prompts[i] : std::u16string()});
    m_host.drawing().addBlock(spec);
}

std::u16string HostControl::addInsert(const std::u16string &block, const cad::Point &at,
                                      const std::vector<std::u16string> &tags,
                                      const std::vector<std::u16string> &values)
{
    cadhost::InsertSpec spec{.block = block, .insertionPoint = at};
    for (std::size_t i = 0; i < tags.size() && i < values.size(); ++i)
        spec.attributes.emplace_back(tags[i], values[i]);
    auto id = m_host.drawing().addInsert(spec);
    return m_host.drawing().entity(id)->handle;
}

std::u16string HostControl::attributeOf(const std::u16string &insertHandle, const std::u16string &tag) const
{
    const auto &d = m_host.drawing();
    if (const auto *insert = d.entityByHandle(insertHandle))
        for (auto id : insert->attributes)
            if (const auto *a = d.entity(id); a && a->tag == tag)
                return a->text;
    return {};
}

int HostControl::undoSteps() const
{
    return int(m_host.drawing().history().steps().size());
}

std::vector<std::u16string> HostControl::selectionSetNames() const
{
    std::vector<std::u16string> names;
    for (const auto &s : m_host.drawing().selectionSets().sets())
        names.push_back(s.name);
    return names;
}

cad::Point HostControl::viewCentre() const
{
    return m_host.drawing().view().centre;
}

bool HostControl::control(std::u16string_view member, std::span<cad::Argument> args, cad::Variant &result)
{
    auto is = [&](const char16_t *name) { return cad::sameMember(member, name); };
    auto arg = [&](std::size_t i) -> const cad::Variant & {
        if (i >= args.size())
            throw cad::Error(u"引数の数が不正です");
        return args[i].value;
    };
    auto strings = [](const cad::Variant &v) {
        std::vector<std::u16string> out;
        for (const auto &item : v.toArray())
            out.push_back(item.toString());
        return out;
    };
    result = cad::Variant();
    if (is(u"TalvoReset"))
        reset();
    else if (is(u"TalvoAddLayer"))
        addLayer(arg(0).toString(), arg(1).toBool());
    else if (is(u"TalvoAddText"))
        result = addText(arg(0).toString(), cad::toPoint(arg(1)), arg(2).toString());
    else if (is(u"TalvoQueuePicks"))
        queuePicks(strings(arg(0)));
    else if (is(u"TalvoQueueSubEntity"))
        queueSubEntity(arg(0).toString());
    else if (is(u"TalvoAddBlock"))
        addBlock(arg(0).toString(), strings(arg(1)), strings(arg(2)));
    else if (is(u"TalvoAddInsert"))
        result = addInsert(arg(0).toString(), cad::toPoint(arg(1)), strings(arg(2)), strings(arg(3)));
    else if (is(u"TalvoAttributeOf"))
        result = attributeOf(arg(0).toString(), arg(1).toString());
    else if (is(u"TalvoTextOf"))
        result = textOf(arg(0).toString());
    else if (is(u"TalvoUndoSteps"))
        result = undoSteps();
    else if (is(u"TalvoSelectionSetNames")) {
        cad::VariantArray names;
        for (auto &n : selectionSetNames())
            names.emplace_back(n);
        result = cad::Variant(std::move(names));
    } else if (is(u"TalvoViewCentre"))
        result = cad::fromPoint(viewCentre());
    else
        return false;
    return true;
}

}  // namespace wintest
