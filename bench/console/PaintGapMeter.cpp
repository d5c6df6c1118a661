#include "PaintGapMeter.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

PaintGapMeter::PaintGapMeter(QWidget* widget)
    : m_widget(widget)
{
    m_widget->installEventFilter(this);
}

PaintGapMeter::~PaintGapMeter()
{
    m_widget->removeEventFilter(this);
}

void PaintGapMeter::start()
{
    m_clock.start();
    m_lastPaintNs = 0;
    m_longestNs = 0;
    m_paints = 0;
}

double PaintGapMeter::longestGapMs() const
{
    return double(std::max(m_longestNs, m_clock.nsecsElapsed() - m_lastPaintNs)) / 1e6;
}

bool PaintGapMeter::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::Paint && m_clock.isValid()) {
        const qint64 now = m_clock.nsecsElapsed();
        m_longestNs = std::max(m_longestNs, now - m_lastPaintNs);
        m_lastPaintNs = now;
        ++m_paints;
    }
    return false;
}
