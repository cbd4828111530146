#ifndef YMPROCESSENTRY_H
#define YMPROCESSENTRY_H

#include "ymmetatypes.h"

#include <QString>

// One file of a machine's process report.
struct YmProcessEntry
{
    QString fileName;
    YmPieceMap pieces;
    int completed = 0;
};

#endif // YMPROCESSENTRY_H
