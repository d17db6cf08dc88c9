#include "core/TapCounter.h"

#include "base/Clock.h"

bool TapCounter::tap() {
    const QDateTime now = m_clock.now();
    if (m_lastTap.isValid() && m_lastTap.msecsTo(now) > maxPauseMs)
        m_count = 0;
    m_lastTap = now;
    ++m_count;
    if (m_count < tapsToActivate)
        return false;
    m_count = 0;
    return true;
}
