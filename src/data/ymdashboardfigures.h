#ifndef YMDASHBOARDFIGURES_H
#define YMDASHBOARDFIGURES_H

#include "ymorderrecord.h"

#include <QStringList>
#include <QVariantList>
#include <QVector>

// What one refresh of the board shows, rebuilt from the order rows alone:
// per-plan and per-group bars, the day's totals and the notification texts.
struct YmDashboardFigures
{
    // Bar entries {name (QString), planned sum (int), completed sum (int)} in
    // first-seen order; sums beyond the int range are clamped to it.
    QVariantList planBars;
    QVariantList groupBars;
    int totalPlanned = 0;
    int totalCompleted = 0;
    // One text per plan whose completion percent is above its threshold (the
    // threshold of the plan's last row; 0 never notifies), first-seen order.
    QStringList notifications;
    // The plan of each text, at the same index: what a newer notification about
    // the same plan replaces while the older one is still waiting.
    QStringList notifyingPlans;

    // The figures of a list of order rows (the board keeps them up to date in
    // YmOrderModel::dashboardFigures()).
    static YmDashboardFigures compute(const QVector<YmOrderRecord> &rows);

    // The notification text for a plan; percent is rendered with two decimals.
    static QString notificationText(const QString &planName, qint64 completed, qint64 planned,
                                    qint64 percent);
    // (completed * 100) / planned truncated toward zero, without overflow;
    // 0 when planned is 0.
    static qint64 percentOf(qint64 completed, qint64 planned);
    static int saturatedInt(qint64 value);
    static QVariant bar(const QString &name, qint64 planned, qint64 completed);
};

#endif // YMDASHBOARDFIGURES_H
