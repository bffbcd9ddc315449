#pragma once

#include "cad/variant.h"

#include <memory>
#include <span>
#include <string_view>

namespace cad {

enum class InvokeKind { Get, Put, Call };

// One argument of a call. A by-reference argument may be written by the
// callee; the caller reads it back from `value` after the call.
struct Argument {
    Variant value;
    bool byRef = false;
};

// What a backend implements: one late-bound object. Member names match
// regardless of case. Failures raise Error.
class Dispatch {
public:
    virtual ~Dispatch() = default;
    // For Put the last argument is the new value.
    virtual Variant invoke(std::u16string_view member, InvokeKind kind, std::span<Argument> args) = 0;
};

// A reference-counted handle to a late-bound object; copying shares it.
// A null handle raises Error on every call.
class Object {
public:
    Object() = default;
    explicit Object(std::shared_ptr<Dispatch> d) : m_d(std::move(d)) {}

    bool isNull() const { return !m_d; }
    explicit operator bool() const { return bool(m_d); }
    Dispatch *dispatch() const { return m_d.get(); }
    const std::shared_ptr<Dispatch> &shared() const { return m_d; }
    void reset() { m_d.reset(); }

    // Property get, with optional by-value index arguments (`Item`).
    Variant get(std::u16string_view member, std::vector<Variant> args = {}) const;
    void put(std::u16string_view member, Variant value) const;
    // Method call with by-value arguments.
    Variant call(std::u16string_view member, std::vector<Variant> args = {}) const;
    // Method call whose by-reference arguments come back filled.
    Variant callRef(std::u16string_view member, std::span<Argument> args) const;

    bool operator==(const Object &o) const { return m_d == o.m_d; }

private:
    Variant invoke(std::u16string_view member, InvokeKind kind, std::vector<Variant> &&args) const;
    std::shared_ptr<Dispatch> m_d;
};

// Case-insensitive (ASCII) comparison of member names.
bool sameMember(std::u16string_view a, std::u16string_view b);

}  // namespace cad
