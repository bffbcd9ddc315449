#pragma once

#include "cad/com/comrunningobjects.h"

namespace cad::com {

// COM for the calling (GUI) thread for the program's lifetime: a
// single-threaded apartment, and ComRunningObjects installed as the
// process's lookup. Create before the message filter, end after it.
class ComSession {
public:
    ComSession();
    ~ComSession();
    ComSession(const ComSession &) = delete;
    ComSession &operator=(const ComSession &) = delete;

    // False when the thread already had an incompatible apartment.
    bool initialised() const { return m_initialised; }

private:
    ComRunningObjects m_objects;
    bool m_initialised = false;
};

}  // namespace cad::com
