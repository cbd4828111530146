#ifndef YMORDERRECORD_H
#define YMORDERRECORD_H

#include "ymmetatypes.h"

#include <QString>
#include <QVariant>

// One order row as the board keeps it: one plan's quantities on one machine.
// Parsed once from the host's positional payload (YmPayload); a value that did
// not convert reads as 0 / empty.
struct YmOrderRecord
{
    QString planName;
    QVariant carried; // handed along untouched
    QString macKey;
    QString macName;
    QString groupName;
    QString fileName; // the process key reports are matched against
    int planned = 0;
    int completed = 0;
    int notifyNum = 0; // percent; 0 never notifies
    YmPieceMap pieces; // piece key ("yyyy-MM-dd hh:mm:ss") -> quantity counted
    // False for a payload element that was no list at all: it sums as zeros
    // but belongs to no machine.
    bool isRecord = true;
};

#endif // YMORDERRECORD_H
