#include "ymworkshopclock.h"

#include <QtMath>

void YmWorkshopClock::start(const QDateTime &from, double speed)
{
    m_from = from;
    m_speed = qMax(0.0, speed);
    m_elapsed.start();
}

QDateTime YmWorkshopClock::now() const
{
    if (!m_elapsed.isValid() || m_speed == 0.0)
        return m_from;
    return m_from.addMSecs(qint64(double(m_elapsed.elapsed()) * m_speed));
}
