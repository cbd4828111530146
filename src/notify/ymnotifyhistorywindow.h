#ifndef YMNOTIFYHISTORYWINDOW_H
#define YMNOTIFYHISTORYWINDOW_H

#include <QWidget>

class QLabel;
class QTableWidget;
class QTableWidgetItem;
class YmNotifyHistory;

// The day's notifications, newest first: time, plan, text and a check box that
// acknowledges the entry. It reads the history it is given and asks for every
// acknowledgement through acknowledgeRequested; the owner refreshes it.
class YmNotifyHistoryWindow : public QWidget
{
    Q_OBJECT

public:
    enum Column { TimeColumn, PlanColumn, TextColumn, AcknowledgedColumn, ColumnCount };

    explicit YmNotifyHistoryWindow(const YmNotifyHistory *history, QWidget *parent = nullptr);

    // Rebuilds the rows now when shown, else at the next show.
    void refresh();
    QTableWidget *table() const { return m_table; }
    QString summaryText() const;

signals:
    void acknowledgeRequested(quint64 id);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void rebuild();
    void itemChanged(QTableWidgetItem *item);

    const YmNotifyHistory *m_history;
    QLabel *m_summary = nullptr;
    QTableWidget *m_table = nullptr;
    bool m_stale = true;
    bool m_rebuilding = false;
    bool m_rebuildPosted = false;
};

#endif // YMNOTIFYHISTORYWINDOW_H
