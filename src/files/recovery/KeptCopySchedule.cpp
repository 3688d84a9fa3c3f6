#include "KeptCopySchedule.h"

#include <algorithm>

namespace mosaikon {

KeptCopySchedule::Clock::time_point KeptCopySchedule::changed(Clock::time_point now) {
    if (!m_due) {
        m_due = m_lastHandOver ? std::max(now, *m_lastHandOver + m_gap) : now;
    }
    return *m_due;
}

void KeptCopySchedule::handedOver(Clock::time_point now) {
    m_lastHandOver = now;
    m_due.reset();
}

}  // namespace mosaikon
