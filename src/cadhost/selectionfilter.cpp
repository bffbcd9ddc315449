#include "cadhost/selectionfilter.h"

#include "cadhost/errors.h"
#include "cadhost/wildcard.h"

#include <string>

namespace cadhost {

namespace {

bool supported(std::int16_t code)
{
    return code == 0 || code == 1 || code == 2 || code == 8;
}

}  // namespace

SelectionFilter SelectionFilter::fromVariants(const cad::Variant &types, const cad::Variant &data)
{
    SelectionFilter f;
    bool noTypes = types.isEmpty() || types.isNull();
    bool noData = data.isEmpty() || data.isNull();
    if (noTypes && noData)
        return f;
    if (noTypes || noData || !types.isArray() || !data.isArray())
        throw cad::Error(kInvalidInput);
    cad::VariantArray t = types.toArray();
    cad::VariantArray d = data.toArray();
    if (t.size() != d.size())
        throw cad::Error(kInvalidInput);
    for (size_t i = 0; i < t.size(); ++i) {
        int code = t[i].toInt();
        if (code < INT16_MIN || code > INT16_MAX || !supported(std::int16_t(code)))
            throw cad::Error(kInvalidInput);
        f.add(std::int16_t(code), d[i].toString());
    }
    return f;
}

SelectionFilter &SelectionFilter::add(std::int16_t code, std::u16string pattern)
{
    m_conditions.push_back({code, std::move(pattern)});
    return *this;
}

bool SelectionFilter::matches(const Entity &e) const
{
    if (e.kind == EntityKind::Attribute)
        return false;
    for (const auto &c : m_conditions) {
        const std::u16string *value = nullptr;
        std::u16string type;
        switch (c.code) {
        case 0:
            type = dxfName(e.kind);
            value = &type;
            break;
        case 1:
            if (e.kind == EntityKind::Text || e.kind == EntityKind::AttributeDefinition)
                value = &e.text;
            break;
        case 2:
            if (e.kind == EntityKind::Insert)
                value = &e.blockName;
            else if (e.kind == EntityKind::AttributeDefinition)
                value = &e.tag;
            break;
        case 8: value = &e.layer; break;
        default: break;
        }
        if (!value || !wildcardMatch(c.pattern, *value))
            return false;
    }
    return true;
}

}  // namespace cadhost
