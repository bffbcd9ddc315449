#pragma once

#include "base/usererror.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cad {

class Dispatch;
class Object;
class Variant;

// A failing automation call. text() is what the default error report shows.
class Error : public base::UserError {
public:
    explicit Error(std::u16string text);
};

using base::fromUtf8;
using base::toUtf8;

struct Empty {
    bool operator==(const Empty &) const = default;
};
struct Null {
    bool operator==(const Null &) const = default;
};

using VariantArray = std::vector<Variant>;
// Typed arrays the CAD insists on: filter types must be 16-bit integers,
// points arrays of doubles.
using Int16Array = std::vector<std::int16_t>;
using DoubleArray = std::vector<double>;

// A late-bound value, as an automation call takes and returns it.
class Variant {
public:
    enum class Type { Empty, Null, Bool, Int16, Int32, Int64, Double, String, Object, Array, Int16Array, DoubleArray };

    Variant() = default;
    Variant(Null) : m_v(Null{}) {}
    Variant(bool b) : m_v(b) {}
    Variant(std::int16_t i) : m_v(i) {}
    Variant(int i) : m_v(std::int32_t(i)) {}
    Variant(std::int64_t i) : m_v(i) {}
    Variant(double d) : m_v(d) {}
    Variant(std::u16string s) : m_v(std::move(s)) {}
    Variant(const char16_t *s) : m_v(std::u16string(s)) {}
    Variant(std::u16string_view s) : m_v(std::u16string(s)) {}
    Variant(Object o);
    Variant(VariantArray a) : m_v(std::move(a)) {}
    Variant(Int16Array a) : m_v(std::move(a)) {}
    Variant(DoubleArray a) : m_v(std::move(a)) {}

    Type type() const { return Type(m_v.index()); }
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }
    bool isObject() const { return type() == Type::Object; }
    bool isArray() const;  // any of the three array kinds

    // Conversions as automation coerces: numbers between each other,
    // numeric strings to numbers, numbers to strings. Raise Error when
    // the value cannot be converted.
    bool toBool() const;
    std::int32_t toInt() const;
    std::int64_t toInt64() const;
    double toDouble() const;
    std::u16string toString() const;
    Object toObject() const;  // Empty/Null give a null object; others raise
    // Elements of any array kind as variants.
    VariantArray toArray() const;
    // Any numeric array (points) as doubles.
    DoubleArray toDoubleArray() const;

    const VariantArray *array() const { return std::get_if<VariantArray>(&m_v); }
    const Int16Array *int16Array() const { return std::get_if<Int16Array>(&m_v); }
    const DoubleArray *doubleArray() const { return std::get_if<DoubleArray>(&m_v); }
    const std::u16string *string() const { return std::get_if<std::u16string>(&m_v); }

    bool operator==(const Variant &other) const;

private:
    std::variant<Empty, Null, bool, std::int16_t, std::int32_t, std::int64_t, double, std::u16string,
                 std::shared_ptr<Dispatch>, VariantArray, Int16Array, DoubleArray>
        m_v;
};

// A point as the CAD returns it: three doubles.
struct Point {
    double x = 0, y = 0, z = 0;
    bool operator==(const Point &) const = default;
};
Point toPoint(const Variant &v);  // raises Error unless an array of >= 2 numbers
Variant fromPoint(const Point &p);

}  // namespace cad
