#include "ymclock.h"

namespace {
YmClock::Source s_source = nullptr;
void *s_data = nullptr;
QDateTime s_fixed;

QDateTime fixedMoment(void *)
{
    return s_fixed;
}
} // namespace

QDateTime YmClock::now()
{
    if (s_source) {
        const QDateTime moment = s_source(s_data);
        // A host clock that answers nonsense must not stop the board's clock.
        if (moment.isValid())
            return moment;
    }
    return QDateTime::currentDateTime();
}

void YmClock::setSource(Source source, void *data)
{
    s_source = source;
    s_data = source ? data : nullptr;
}

void YmClock::setFixed(const QDateTime &moment)
{
    s_fixed = moment;
    if (moment.isValid())
        setSource(&fixedMoment);
    else
        setSource(nullptr);
}
