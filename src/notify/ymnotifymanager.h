#ifndef YMNOTIFYMANAGER_H
#define YMNOTIFYMANAGER_H

#include "ymnotifyhistory.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

class YmNotifyWidget;
class YmNotifyCountWidget;
class YmNotifyHistoryWindow;

// Queues notifications and shows them as frameless always-on-top popups stacked
// upwards from the bottom-right corner of the screen that held the cursor when the
// manager was created. At most maxVisible() popups are shown; the rest wait, and a
// blinking counter above the stack tells how many are waiting. Popups close by
// themselves after a while; every notification also goes into the day's history
// (YmNotifyHistory), where the user acknowledges plans to keep them quiet.
//
// The manager is process-wide and lives on the GUI thread. It owns parentless
// widgets, which must be deleted while the QApplication still exists: it is
// therefore destroyed by a Qt post routine (run at the start of ~QApplication), or
// when the module is unloaded while the application is still alive.
class YmNotifyManager : public QObject
{
    Q_OBJECT

public:
    using Notification = QPair<QString, QString>; // title, text

    // Needs a QApplication: the popups are widgets.
    static YmNotifyManager *instance();
    // The manager if instance() made one, else null (nothing was ever notified).
    static YmNotifyManager *existingInstance();
    // Deletes the manager together with its counter and popups (shown, waiting or
    // already closed but not yet deleted). For teardown: tests call it to start the
    // next case from a fresh manager; instance() creates a new one afterwards.
    static void destroyInstance();

    // Queues one more notification.
    void notify(const QString &title, const QString &text);
    // The same, for a notification about something (a plan) that keeps reporting:
    // while a popup with the same title and key is on screen it shows the new
    // text and time; while one is still waiting its text is replaced in place (it
    // keeps its place in the queue). A plan acknowledged in the history stays
    // quiet. An empty key queues as above.
    void notify(const QString &title, const QString &text, const QString &key);
    // One refresh's notifications: texts[i] about plans[i], every plan above its
    // threshold. A plan missing here has fallen below it, so its next report is
    // a new crossing that pops up again even if it was acknowledged.
    void notifyPlans(const QString &title, const QStringList &plans, const QStringList &texts);

    // The day's notifications. The day follows YmClock: read it through here.
    const YmNotifyHistory &history();
    // The history as the host sees it (YmWorkshopManage::notifyHistory).
    QVariantList historyRecords();
    // Acknowledges a history entry (when it is its plan's current crossing, the
    // plan's waiting notification and popup go too) or a plan's current crossing.
    void acknowledge(quint64 entryId);
    void acknowledgePlan(const QString &plan);
    // Opens (or raises) the history window.
    void showHistory();
    YmNotifyHistoryWindow *historyWindow() const { return m_historyWindow; }

    int spacing() const { return m_spacing; }
    int anchorRight() const { return m_anchorRight; }
    int anchorBottom() const { return m_anchorBottom; }
    int popupWidth() const { return m_popupWidth; }
    int popupHeight() const { return m_popupHeight; }
    // Top-left corner of the popup in slot (1 = bottom slot).
    QPoint slotPosition(int slot) const;

    QList<YmNotifyWidget *> visibleWidgets() const { return m_visibleWidgets; }
    int queueSize() const { return m_queue.size(); }
    // The waiting notifications, oldest first.
    QList<Notification> queue() const;
    // The key of each waiting notification (empty for an unkeyed one), oldest first.
    QStringList queueKeys() const;
    // Null until a notification first waits.
    YmNotifyCountWidget *counterWidget() const { return m_counterWidget; }

    // Anchor (right x, bottom y) for a set of screens given as (geometry, available
    // geometry) pairs: the first screen whose geometry contains the cursor, else
    // fallbackAvailable (the primary screen), 10 pixels inside the available
    // bottom-right corner. With no usable screen at all the anchor is 0/0.
    static QPoint anchorFor(const QVector<QPair<QRect, QRect>> &screens, const QPoint &cursor,
                            const QRect &fallbackAvailable);

private:
    explicit YmNotifyManager(QObject *parent = nullptr);
    ~YmNotifyManager() override;
    Q_DISABLE_COPY(YmNotifyManager)

    void raise(const QString &title, const QString &text, const QString &key);
    void showWhatFits();
    void updateCounter();
    void historyTouched();
    // Drops the plan's waiting notification and closes its popup.
    void withdraw(const QString &plan);
    // The popup is being destroyed: the pointer is only compared, never used.
    void notifyWidgetDestroyed(YmNotifyWidget *widget);

    struct Waiting
    {
        Notification notification;
        QString key;
        QDateTime at;
    };
    using WaitingKey = QPair<QString, QString>; // title, key

    QList<Waiting> m_queue;
    // Keyed waiting notifications: (title, key) -> sequence number; the queue's
    // first entry has number m_firstWaiting and the numbers run on without gaps.
    QHash<WaitingKey, qint64> m_waitingByKey;
    qint64 m_firstWaiting = 0;
    QList<YmNotifyWidget *> m_visibleWidgets;
    YmNotifyCountWidget *m_counterWidget = nullptr;
    int m_maxVisible = 5;
    bool m_counterEnabled = true;
    int m_spacing = 5;
    int m_anchorRight = 0;
    int m_anchorBottom = 0;
    int m_popupWidth = 300;
    int m_popupHeight = 81;
    YmNotifyHistory m_history;
    YmNotifyHistoryWindow *m_historyWindow = nullptr; // created on first show
};

#endif // YMNOTIFYMANAGER_H
