#include "ymdashboardfigures.h"

#include "ymordermodel.h"
#include "ympayload.h"

#include <QCoreApplication>

#include <limits>

YmDashboardFigures YmDashboardFigures::compute(const QVector<YmOrderRecord> &rows)
{
    YmOrderModel model;
    model.setRows(rows);
    return model.dashboardFigures();
}

qint64 YmDashboardFigures::percentOf(qint64 completed, qint64 planned)
{
    if (planned == 0)
        return 0;
    constexpr qint64 limit = std::numeric_limits<qint64>::max() / 100;
    if (completed <= limit && completed >= -limit)
        return (completed * 100) / planned;
    // Only reachable with sums far beyond any real day; a wider type keeps the
    // answer sensible instead of wrapping.
    const long double wide = (static_cast<long double>(completed) * 100) / planned;
    constexpr long double top = static_cast<long double>(std::numeric_limits<qint64>::max());
    if (wide >= top)
        return std::numeric_limits<qint64>::max();
    if (wide <= -top)
        return -std::numeric_limits<qint64>::max();
    return qint64(wide);
}

QString YmDashboardFigures::notificationText(const QString &planName, qint64 completed,
                                             qint64 planned, qint64 percent)
{
    // One multi-argument arg() call: a plan name containing "%2" stays as typed.
    return QCoreApplication::translate("YmWorkshopManageMainPage", "计划订单：%1(%2/%3)%4%")
        .arg(planName, QString::number(completed), QString::number(planned),
             QString::number(double(percent), 'f', 2));
}

int YmDashboardFigures::saturatedInt(qint64 value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}

QVariant YmDashboardFigures::bar(const QString &name, qint64 planned, qint64 completed)
{
    return YmPayload::toList(YmBarEntry{name, saturatedInt(planned), saturatedInt(completed)});
}
