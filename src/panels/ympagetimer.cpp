#include "ympagetimer.h"

YmPageTimer::YmPageTimer(QObject *parent)
    : QTimer(parent)
{
    setInterval(kPageInterval);
    // Connected before any panel's turn: after a pause the period is the
    // normal one again.
    connect(this, &QTimer::timeout, this, [this] {
        if (interval() != kPageInterval)
            setInterval(kPageInterval);
    });
}

void YmPageTimer::setPaging(bool paging)
{
    if (!paging)
        stop();
    else if (!isActive())
        start(kPageInterval);
}

void YmPageTimer::holdForUser()
{
    if (isActive())
        start(kUserPause);
}
