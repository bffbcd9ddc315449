#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tools {

// Lets pending window messages run during a long loop without paying for
// a message pump per item: at most once per interval, and once more after
// the last item so the final state is shown and a late abort is seen.
class MessagePacer {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using Pump = std::function<void()>;

    static constexpr std::chrono::milliseconds kInterval{30};

    explicit MessagePacer(Pump pump, Clock clock = &std::chrono::steady_clock::now,
                          std::chrono::milliseconds interval = kInterval);

    // After one item: pumps when the interval has passed since the last
    // pump (or since the start). True when it pumped.
    bool afterItem();
    // After the loop: pumps when items went by since the last pump.
    void finish();

    int pumps() const { return m_pumps; }

private:
    void pump();

    Pump m_pump;
    Clock m_clock;
    std::chrono::milliseconds m_interval;
    std::chrono::steady_clock::time_point m_last;
    bool m_pending = false;
    int m_pumps = 0;
};

// Runs `convert` over the lines in order. After each line it reports as
// changed, messages may run (paced) and the loop stops once `running` has
// turned false; a line `convert` passes over (false) is neither paced nor
// polled. Returns how many lines were visited, the stopping one included.
std::size_t convertLines(std::vector<std::u16string> &lines, const std::function<bool(std::u16string &)> &convert,
                         MessagePacer &pacer, const bool &running);

}  // namespace tools
