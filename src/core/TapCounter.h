#pragma once

#include <QDateTime>

class Clock;

// Counts quick taps on a hidden control: the eighth tap, each within 2 seconds of the one
// before, activates and starts the count again. A longer pause restarts the count at that
// tap. The settings window's application icon uses it to toggle tester mode.
class TapCounter {
public:
    static constexpr int tapsToActivate = 8;
    static constexpr qint64 maxPauseMs = 2000;

    explicit TapCounter(const Clock& clock) : m_clock(clock) {}

    // One tap; true when this tap activates.
    bool tap();
    int count() const { return m_count; }

private:
    const Clock& m_clock;
    int m_count = 0;
    QDateTime m_lastTap;
};
