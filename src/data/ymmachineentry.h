#ifndef YMMACHINEENTRY_H
#define YMMACHINEENTRY_H

#include <QString>

// One machine of the host's machine list.
struct YmMachineEntry
{
    QString key;
    QString name;
    int state = 0; // 0 offline, 1 online, 2 working, 3 abnormal, others nowhere
};

#endif // YMMACHINEENTRY_H
