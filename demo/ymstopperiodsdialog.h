#ifndef YMSTOPPERIODSDIALOG_H
#define YMSTOPPERIODSDIALOG_H

#include "ymhostrecords.h"

#include <QDialog>

class QTableWidget;

// The host's editor of the planned stop periods (lunch, meetings, upkeep),
// opened from the board's menu. One row per period: name, start, end.
class YmStopPeriodsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit YmStopPeriodsDialog(const QList<YmStopPeriod> &periods, QWidget *parent = nullptr);

    // The periods as edited, times as "HH:mm:ss", ordered by start.
    QList<YmStopPeriod> periods() const;
    QTableWidget *table() const { return m_table; }
    // Why OK would be refused (the first bad row, else the first two rows
    // whose periods overlap), or empty.
    QString problem() const;

public slots:
    void accept() override;
    void addPeriod();
    void removePeriod();

private:
    // Empty when the row is fine, else why not.
    QString rowProblem(int row, YmStopPeriod *period) const;

    QTableWidget *m_table;
};

#endif // YMSTOPPERIODSDIALOG_H
