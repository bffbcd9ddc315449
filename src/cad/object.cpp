#include "cad/object.h"

namespace cad {

namespace {
char16_t lowerAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}
}  // namespace

bool sameMember(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

Variant Object::invoke(std::u16string_view member, InvokeKind kind, std::vector<Variant> &&args) const
{
    if (!m_d)
        throw Error(u"オブジェクト変数が設定されていません (" + std::u16string(member) + u")");
    std::vector<Argument> a;
    a.reserve(args.size());
    for (auto &v : args)
        a.push_back(Argument{std::move(v), false});
    return m_d->invoke(member, kind, a);
}

Variant Object::get(std::u16string_view member, std::vector<Variant> args) const
{
    return invoke(member, InvokeKind::Get, std::move(args));
}

void Object::put(std::u16string_view member, Variant value) const
{
    std::vector<Variant> args;
    args.push_back(std::move(value));
    invoke(member, InvokeKind::Put, std::move(args));
}

Variant Object::call(std::u16string_view member, std::vector<Variant> args) const
{
    return invoke(member, InvokeKind::Call, std::move(args));
}

Variant Object::callRef(std::u16string_view member, std::span<Argument> args) const
{
    if (!m_d)
        throw Error(u"オブジェクト変数が設定されていません (" + std::u16string(member) + u")");
    return m_d->invoke(member, InvokeKind::Call, args);
}

}  // namespace cad
