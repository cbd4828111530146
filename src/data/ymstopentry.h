#ifndef YMSTOPENTRY_H
#define YMSTOPENTRY_H

#include <QString>

// One planned downtime of the day, times as the host wrote them ("HH:mm:ss").
struct YmStopEntry
{
    QString name;
    QString start;
    QString end;
};

#endif // YMSTOPENTRY_H
