#ifndef YMHOSTRECORDS_H
#define YMHOSTRECORDS_H

#include <QList>
#include <QString>

// Plain records the reference host moves between its database, its production
// sources and the board. Times of day are "HH:mm:ss", piece times
// "yyyy-MM-dd hh:mm:ss", dates "yyyy-MM-dd".

struct YmMachineRecord
{
    QString key;
    QString name;
    QString group;
    int cycleSeconds = 60; // mean time the machine needs for one piece
};

struct YmPlanRecord
{
    QString planName;
    QString fileName;
    QString macKey;
    int planned = 0;
    int notifyPercent = 0;
    int version = 1; // of the whole plan: every stored change counts it up
};

struct YmPieceRecord
{
    QString macKey;
    QString fileName;
    QString producedAt;
    int quantity = 0;

    bool operator==(const YmPieceRecord &o) const
    {
        return macKey == o.macKey && fileName == o.fileName && producedAt == o.producedAt
               && quantity == o.quantity;
    }
};

struct YmStopPeriod
{
    QString name;
    QString start;
    QString end;

    bool operator==(const YmStopPeriod &o) const
    {
        return name == o.name && start == o.start && end == o.end;
    }
};

struct YmStateChange
{
    QString macKey;
    int state = 0; // 0 offline, 1 online, 2 working, 3 abnormal
};

// What a production source reports for one stretch of the workshop clock.
struct YmProductionBatch
{
    QList<YmStateChange> states;
    QList<YmPieceRecord> pieces;
    bool isEmpty() const { return states.isEmpty() && pieces.isEmpty(); }
};

#endif // YMHOSTRECORDS_H
