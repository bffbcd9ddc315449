#include "cadhost/faults.h"

#include "cad/object.h"

namespace cadhost {

void Faults::failCall(int k)
{
    m_failIn = k > 0 ? k : 0;
}

void Faults::failMember(std::u16string member, int times)
{
    m_members.push_back({std::move(member), times});
}

void Faults::stopAfter(int k)
{
    m_stopIn = k > 0 ? k : 0;
}

void Faults::rejectBusy(int n)
{
    m_busy = n > 0 ? n : 0;
}

void Faults::clear()
{
    *this = Faults();
}

bool Faults::takeBusy()
{
    if (m_busy == 0)
        return false;
    --m_busy;
    return true;
}

Faults::Verdict Faults::check(std::u16string_view member)
{
    Verdict v;
    if (m_failIn > 0 && --m_failIn == 0)
        v.fail = true;
    for (auto it = m_members.begin(); it != m_members.end(); ++it) {
        if (!cad::sameMember(it->member, member))
            continue;
        v.fail = true;
        if (it->times > 0 && --it->times == 0)
            m_members.erase(it);
        break;
    }
    if (m_stopIn > 0 && --m_stopIn == 0)
        v.stopAfter = true;
    return v;
}

}  // namespace cadhost
