#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// A timer that asks the event loop for a turn every millisecond and keeps the longest wait
// between two turns (or between start() and the first) while it runs: how long a user's click or
// a repaint would have waited.
class EventLoopGapMeter : public QObject
{
public:
    EventLoopGapMeter();

    void start();
    // Stops and includes the wait since the last turn, so a run that never yields counts.
    double stopLongestGapMs();

private:
    void turn();

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_lastTurnNs = 0;
    qint64 m_longestNs = 0;
};
