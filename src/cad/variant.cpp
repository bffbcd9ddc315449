#include "cad/variant.h"

#include "cad/object.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace cad {

Error::Error(std::u16string text) : base::UserError(std::move(text))
{}

Variant::Variant(Object o)
{
    if (o)
        m_v = o.shared();
}

bool Variant::isArray() const
{
    auto t = type();
    return t == Type::Array || t == Type::Int16Array || t == Type::DoubleArray;
}

namespace {

[[noreturn]] void typeMismatch(const char16_t *what)
{
    throw Error(std::u16string(u"型が一致しません (") + what + u")");
}

bool parseNumber(const std::u16string &s, double &out)
{
    std::string a;
    for (char16_t c : s) {
        if (c > 0x7F)
            return false;
        a += char(c);
    }
    size_t b = a.find_first_not_of(" \t");
    size_t e = a.find_last_not_of(" \t");
    if (b == std::string::npos)
        return false;
    a = a.substr(b, e - b + 1);
    if (!a.empty() && a[0] == '+')
        a.erase(0, 1);
    auto res = std::from_chars(a.data(), a.data() + a.size(), out);
    return res.ec == std::errc() && res.ptr == a.data() + a.size();
}

}  // namespace

bool Variant::toBool() const
{
    switch (type()) {
    case Type::Empty: return false;
    case Type::Bool: return std::get<bool>(m_v);
    case Type::Int16:
    case Type::Int32:
    case Type::Int64:
    case Type::Double: return toDouble() != 0;
    case Type::String: {
        const auto &s = std::get<std::u16string>(m_v);
        if (sameMember(s, u"True"))
            return true;
        if (sameMember(s, u"False"))
            return false;
        double d;
        if (parseNumber(s, d))
            return d != 0;
        break;
    }
    default: break;
    }
    typeMismatch(u"Boolean");
}

double Variant::toDouble() const
{
    switch (type()) {
    case Type::Empty: return 0;
    case Type::Bool: return std::get<bool>(m_v) ? -1 : 0;  // automation's True is -1
    case Type::Int16: return std::get<std::int16_t>(m_v);
    case Type::Int32: return std::get<std::int32_t>(m_v);
    case Type::Int64: return double(std::get<std::int64_t>(m_v));
    case Type::Double: return std::get<double>(m_v);
    case Type::String: {
        double d;
        if (parseNumber(std::get<std::u16string>(m_v), d))
            return d;
        break;
    }
    default: break;
    }
    typeMismatch(u"Double");
}

std::int64_t Variant::toInt64() const
{
    switch (type()) {
    case Type::Int16: return std::get<std::int16_t>(m_v);
    case Type::Int32: return std::get<std::int32_t>(m_v);
    case Type::Int64: return std::get<std::int64_t>(m_v);
    default: break;
    }
    double d = toDouble();
    // Automation rounds half to even when coercing doubles to integers.
    double r = std::nearbyint(d);
    if (!(r >= -9.2233720368547758e18 && r < 9.2233720368547758e18))
        throw Error(u"オーバーフローしました");
    return std::int64_t(r);
}

std::int32_t Variant::toInt() const
{
    std::int64_t v = toInt64();
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw Error(u"オーバーフローしました");
    return std::int32_t(v);
}

std::u16string Variant::toString() const
{
    switch (type()) {
    case Type::Empty: return {};
    case Type::Bool: return std::get<bool>(m_v) ? u"True" : u"False";
    case Type::Int16:
    case Type::Int32:
    case Type::Int64: return fromUtf8(std::to_string(toInt64()));
    case Type::Double: {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", std::get<double>(m_v));
        return fromUtf8(buf);
    }
    case Type::String: return std::get<std::u16string>(m_v);
    default: break;
    }
    typeMismatch(u"String");
}

Object Variant::toObject() const
{
    switch (type()) {
    case Type::Empty:
    case Type::Null: return Object();
    case Type::Object: return Object(std::get<std::shared_ptr<Dispatch>>(m_v));
    default: break;
    }
    typeMismatch(u"Object");
}

VariantArray Variant::toArray() const
{
    if (auto a = array())
        return *a;
    VariantArray out;
    if (auto a = int16Array()) {
        for (auto v : *a)
            out.emplace_back(v);
        return out;
    }
    if (auto a = doubleArray()) {
        for (auto v : *a)
            out.emplace_back(v);
        return out;
    }
    typeMismatch(u"Array");
}

DoubleArray Variant::toDoubleArray() const
{
    if (auto a = doubleArray())
        return *a;
    DoubleArray out;
    for (const auto &v : toArray())
        out.push_back(v.toDouble());
    return out;
}

bool Variant::operator==(const Variant &other) const
{
    return m_v == other.m_v;
}

Point toPoint(const Variant &v)
{
    DoubleArray a = v.toDoubleArray();
    if (a.size() < 2)
        throw Error(u"座標ではありません");
    return Point{a[0], a[1], a.size() > 2 ? a[2] : 0.0};
}

Variant fromPoint(const Point &p)
{
    return Variant(DoubleArray{p.x, p.y, p.z});
}

}  // namespace cad
