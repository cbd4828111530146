#ifndef YMBARENTRY_H
#define YMBARENTRY_H

#include <QString>

// One bar of the order progress or production status chart: a plan's or a
// group's sums.
struct YmBarEntry
{
    QString name;
    int planned = 0;
    int completed = 0;
};

#endif // YMBARENTRY_H
