#include "EventLoopGapMeter.h"

#include <algorithm>

EventLoopGapMeter::EventLoopGapMeter()
{
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    connect(&m_timer, &QTimer::timeout, this, &EventLoopGapMeter::turn);
}

void EventLoopGapMeter::start()
{
    m_clock.start();
    m_lastTurnNs = 0;
    m_longestNs = 0;
    m_timer.start();
}

double EventLoopGapMeter::stopLongestGapMs()
{
    m_timer.stop();
    turn();
    return double(m_longestNs) / 1e6;
}

void EventLoopGapMeter::turn()
{
    const qint64 now = m_clock.nsecsElapsed();
    m_longestNs = std::max(m_longestNs, now - m_lastTurnNs);
    m_lastTurnNs = now;
}
