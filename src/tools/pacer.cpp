#include "tools/pacer.h"

namespace tools {

MessagePacer::MessagePacer(Pump pump, Clock clock, std::chrono::milliseconds interval)
    : m_pump(std::move(pump))
    , m_clock(std::move(clock))
    , m_interval(interval)
    , m_last(m_clock())
{}

void MessagePacer::pump()
{
    m_pending = false;
    ++m_pumps;
    if (m_pump)
        m_pump();
    // Measured after the pump: time spent in handlers is not loop time.
    m_last = m_clock();
}

bool MessagePacer::afterItem()
{
    if (m_clock() - m_last >= m_interval) {
        pump();
        return true;
    }
    m_pending = true;
    return false;
}

void MessagePacer::finish()
{
    if (m_pending)
        pump();
}

std::size_t convertLines(std::vector<std::u16string> &lines, const std::function<bool(std::u16string &)> &convert,
                         MessagePacer &pacer, const bool &running)
{
    std::size_t visited = 0;
    for (std::u16string &line : lines) {
        ++visited;
        if (!convert(line))
            continue;
        pacer.afterItem();
        if (!running)
            break;
    }
    pacer.finish();
    return visited;
}

}  // namespace tools
