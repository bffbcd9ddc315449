#pragma once

#include <unknwn.h>

#include <utility>

namespace cad::com {

// Owns one reference of a COM interface pointer.
template <class T>
class ComRef {
public:
    ComRef() = default;
    // Takes over a reference the caller already owns.
    explicit ComRef(T *p) : m_p(p) {}
    ComRef(const ComRef &o) : m_p(o.m_p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ComRef(ComRef &&o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ComRef &operator=(ComRef o) noexcept
    {
        std::swap(m_p, o.m_p);
        return *this;
    }
    ~ComRef() { reset(); }

    static ComRef share(T *p)
    {
        if (p)
            p->AddRef();
        return ComRef(p);
    }

    void reset()
    {
        if (m_p)
            std::exchange(m_p, nullptr)->Release();
    }
    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For out parameters; drops the current reference first.
    T **put()
    {
        reset();
        return &m_p;
    }
    T *release() { return std::exchange(m_p, nullptr); }

private:
    T *m_p = nullptr;
};

}  // namespace cad::com
