#pragma once

#include <memory>

// The one-instance rule: a second start of the program ends at once.
// On Windows a top-level window of class "TTalvoMainForm" marks a running
// instance; elsewhere a per-user lock file named after that class does.
class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another instance runs. Otherwise this process now holds
    // the mark until the object is destroyed (on Windows once markRunning
    // has been called).
    bool acquire();
    // Windows: creates the hidden marker window; elsewhere nothing.
    void markRunning();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

inline constexpr const char *kMainWindowClass = "TTalvoMainForm";
