#pragma once

#include <QElapsedTimer>
#include <QObject>

// Watches a widget's paint events and keeps the longest time between two of them (or between
// start() and the first) while it watches.
class PaintGapMeter : public QObject
{
public:
    explicit PaintGapMeter(QWidget* widget);
    ~PaintGapMeter() override;

    void start();
    // Includes the time since the last paint, so that a run that ends without painting counts.
    double longestGapMs() const;
    int paints() const { return m_paints; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_widget;
    QElapsedTimer m_clock;
    qint64 m_lastPaintNs = 0;
    qint64 m_longestNs = 0;
    int m_paints = 0;
};
