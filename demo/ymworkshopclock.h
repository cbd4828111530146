#ifndef YMWORKSHOPCLOCK_H
#define YMWORKSHOPCLOCK_H

#include <QDateTime>
#include <QElapsedTimer>

// The simulated workshop's time: starts at a chosen moment and runs `speed`
// simulated seconds per real second (0 stands still, for pictures and tests).
class YmWorkshopClock
{
public:
    void start(const QDateTime &from, double speed);
    QDateTime now() const;
    double speed() const { return m_speed; }

private:
    QDateTime m_from = QDateTime::currentDateTime();
    double m_speed = 1.0;
    QElapsedTimer m_elapsed;
};

#endif // YMWORKSHOPCLOCK_H
