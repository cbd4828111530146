#ifndef YMSTATECOUNTS_H
#define YMSTATECOUNTS_H

// How many machines are in each state; codes outside 0..3 count nowhere.
struct YmStateCounts
{
    int online = 0;
    int working = 0;
    int abnormal = 0;
    int offline = 0;
};

#endif // YMSTATECOUNTS_H
