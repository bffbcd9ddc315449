#pragma once

// Internal to the host: the automation objects (one cad::Dispatch each).

#include "cadhost/entity.h"

#include "cad/object.h"

#include <cstdint>
#include <memory>

namespace cadhost {

struct HostCore;

// Base of every host object: checks that the host still runs this
// object's generation and passes the call through HostCore::enter.
class HostObject : public cad::Dispatch {
public:
    HostObject(std::weak_ptr<HostCore> core, std::uint64_t generation)
        : m_core(std::move(core))
        , m_generation(generation)
    {}
    cad::Variant invoke(std::u16string_view member, cad::InvokeKind kind, std::span<cad::Argument> args) final;

protected:
    virtual cad::Variant handle(HostCore &core, std::u16string_view member, cad::InvokeKind kind,
                                std::span<cad::Argument> args)
        = 0;
    template <class T, class... A>
    cad::Variant make(A &&...a) const
    {
        return cad::Variant(cad::Object(std::make_shared<T>(m_core, m_generation, std::forward<A>(a)...)));
    }

    std::weak_ptr<HostCore> m_core;
    std::uint64_t m_generation;
};

class ApplicationObject final : public HostObject {
public:
    using HostObject::HostObject;

protected:
    cad::Variant handle(HostCore &, std::u16string_view, cad::InvokeKind, std::span<cad::Argument>) override;
};

class EntityObject final : public HostObject {
public:
    EntityObject(std::weak_ptr<HostCore> core, std::uint64_t generation, EntityId id)
        : HostObject(std::move(core), generation)
        , m_id(id)
    {}
    EntityId id() const { return m_id; }

protected:
    cad::Variant handle(HostCore &, std::u16string_view, cad::InvokeKind, std::span<cad::Argument>) override;

private:
    EntityId m_id;
};

// The application object of a running host.
cad::Object makeApplication(const std::shared_ptr<HostCore> &core);

}  // namespace cadhost
