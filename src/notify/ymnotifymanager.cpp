#include "ymnotifymanager.h"

#include "ymclock.h"
#include "ymnotifycountwidget.h"
#include "ymnotifyhistorywindow.h"
#include "ymnotifywidget.h"

#include <QAtomicPointer>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QScreen>

#include <cstdlib>

namespace {

QBasicMutex s_instanceMutex;
QAtomicPointer<YmNotifyManager> s_instance;

// ~QApplication runs post routines before it tears down its widgets, so the
// manager can still delete its parentless popups here.
void destroyManagerBeforeApplication()
{
    YmNotifyManager::destroyInstance();
}

// Runs when the module is unloaded. If the application is still alive (a host
// unloading the library) the manager goes now, and the post routine that points
// into this module must not survive. If the application is already gone, its post
// routines have run and there is nothing left to do.
struct YmNotifyManagerUnloadGuard
{
    YmNotifyManagerUnloadGuard() = default;
    YmNotifyManagerUnloadGuard(const YmNotifyManagerUnloadGuard &) = delete;
    YmNotifyManagerUnloadGuard &operator=(const YmNotifyManagerUnloadGuard &) = delete;
    ~YmNotifyManagerUnloadGuard()
    {
        if (!s_instance.loadAcquire())
            return;
        qRemovePostRoutine(destroyManagerBeforeApplication);
        if (QCoreApplication::instance())
            YmNotifyManager::destroyInstance();
    }
};
// A global on purpose: its destructor is what runs when the module unloads.
YmNotifyManagerUnloadGuard s_unloadGuard; // clazy:exclude=non-pod-global-static

// A host may end with exit() and never destroy its QApplication. Exit handlers
// run in reverse order of registration, and Qt registers the registry of
// running property animations when the first one starts, so a pop-up deleted
// by the unload guard (registered at load) would stop its animations in a
// registry that is already gone. Registered after the first pop-up started
// its fade, this handler runs before the registry goes; from a shared module
// it also runs when the module is unloaded, which is what the guard wants.
void destroyManagerAtExit()
{
    YmNotifyManager::destroyInstance();
}
void registerExitHandlerOnce()
{
    static const bool registered = (std::atexit(destroyManagerAtExit), true);
    Q_UNUSED(registered)
}

} // namespace

YmNotifyManager *YmNotifyManager::instance()
{
    YmNotifyManager *manager = s_instance.loadAcquire();
    if (manager)
        return manager;
    QMutexLocker locker(&s_instanceMutex);
    manager = s_instance.loadRelaxed();
    if (!manager) {
        manager = new YmNotifyManager;
        s_instance.storeRelease(manager);
        qAddPostRoutine(destroyManagerBeforeApplication);
    }
    return manager;
}

YmNotifyManager *YmNotifyManager::existingInstance()
{
    return s_instance.loadAcquire();
}

void YmNotifyManager::destroyInstance()
{
    QMutexLocker locker(&s_instanceMutex);
    YmNotifyManager *manager = s_instance.fetchAndStoreOrdered(nullptr);
    locker.unlock();
    if (!manager)
        return;
    qRemovePostRoutine(destroyManagerBeforeApplication);
    delete manager;
}

YmNotifyManager::YmNotifyManager(QObject *parent)
    : QObject(parent)
{
    QVector<QPair<QRect, QRect>> screens;
    const QList<QScreen *> screenList = QGuiApplication::screens();
    for (const QScreen *screen : screenList) {
        if (screen)
            screens.append(qMakePair(screen->geometry(), screen->availableGeometry()));
    }
    const QScreen *primary = QGuiApplication::primaryScreen();
    const QPoint anchor
        = anchorFor(screens, QCursor::pos(), primary ? primary->availableGeometry() : QRect());
    m_anchorRight = anchor.x();
    m_anchorBottom = anchor.y();
}

YmNotifyManager::~YmNotifyManager()
{
    // Delete the popups directly: deferred deletes are never delivered once the
    // application is shutting down. Their destroyed() must not reach us any more.
    m_queue.clear();
    m_waitingByKey.clear();
    const QList<YmNotifyWidget *> widgets = m_visibleWidgets;
    m_visibleWidgets.clear();
    for (YmNotifyWidget *widget : widgets) {
        disconnect(widget, nullptr, this, nullptr);
        delete widget;
    }
    delete m_counterWidget;
    m_counterWidget = nullptr;
    delete m_historyWindow;
    m_historyWindow = nullptr;
}

QPoint YmNotifyManager::anchorFor(const QVector<QPair<QRect, QRect>> &screens, const QPoint &cursor,
                                  const QRect &fallbackAvailable)
{
    QRect available = fallbackAvailable;
    for (const auto &screen : screens) {
        if (screen.first.contains(cursor) && screen.second.isValid()) {
            available = screen.second;
            break;
        }
    }
    if (!available.isValid())
        return QPoint(0, 0);
    return QPoint(available.right() - 10, available.bottom() - 10);
}

QPoint YmNotifyManager::slotPosition(int slot) const
{
    return QPoint(m_anchorRight - m_popupWidth,
                  m_anchorBottom - (slot * m_popupHeight + (slot - 1) * m_spacing));
}

void YmNotifyManager::notify(const QString &title, const QString &text)
{
    notify(title, text, QString());
}

void YmNotifyManager::notify(const QString &title, const QString &text, const QString &key)
{
    raise(title, text, key);
    historyTouched();
}

void YmNotifyManager::notifyPlans(const QString &title, const QStringList &plans,
                                  const QStringList &texts)
{
    const int n = qMin(plans.size(), texts.size());
    for (int i = 0; i < n; ++i)
        raise(title, texts.at(i), plans.at(i));
    m_history.settle(plans);
    historyTouched();
}

void YmNotifyManager::raise(const QString &title, const QString &text, const QString &key)
{
    const QDateTime at = YmClock::now();
    if (!m_history.record(at, title, key, text))
        return;
    if (!key.isEmpty()) {
        // One popup per plan: the one on screen tells the newer text.
        for (YmNotifyWidget *widget : qAsConst(m_visibleWidgets)) {
            if (widget->key() == key && widget->title() == title) {
                if (widget->text() != text)
                    widget->setContent(qMakePair(title, text));
                widget->setRaisedAt(at);
                return;
            }
        }
        // A board nobody attends refreshes the same plans every few seconds;
        // without this the queue would grow by one notification per plan and
        // refresh.
        const WaitingKey waitingKey(title, key);
        const auto found = m_waitingByKey.constFind(waitingKey);
        if (found != m_waitingByKey.cend()) {
            Waiting &waiting = m_queue[int(found.value() - m_firstWaiting)];
            waiting.notification.second = text;
            waiting.at = at;
            return;
        }
        m_waitingByKey.insert(waitingKey, m_firstWaiting + m_queue.size());
    }
    m_queue.append(Waiting{qMakePair(title, text), key, at});
    showWhatFits();
}

const YmNotifyHistory &YmNotifyManager::history()
{
    m_history.rollTo(YmClock::today());
    return m_history;
}

QVariantList YmNotifyManager::historyRecords()
{
    const YmNotifyHistory &entries = history();
    const QString format = QStringLiteral("yyyy-MM-dd hh:mm:ss");
    QVariantList records;
    records.reserve(entries.size());
    for (int i = 0; i < entries.size(); ++i) {
        const YmNotifyHistory::Entry &entry = entries.entry(i);
        records.append(QVariant(QVariantList{entry.raised.toString(format), entry.plan, entry.text,
                                             entry.acknowledged, entry.updated.toString(format)}));
    }
    return records;
}

void YmNotifyManager::acknowledge(quint64 entryId)
{
    const YmNotifyHistory::Entry *entry = m_history.find(entryId);
    const QString plan = entry ? entry->plan : QString();
    if (!m_history.acknowledge(entryId))
        return;
    if (!plan.isEmpty() && m_history.isQuiet(plan))
        withdraw(plan);
    historyTouched();
}

void YmNotifyManager::acknowledgePlan(const QString &plan)
{
    if (!m_history.acknowledgePlan(plan))
        return;
    withdraw(plan);
    historyTouched();
}

void YmNotifyManager::withdraw(const QString &plan)
{
    bool dropped = false;
    for (int i = m_queue.size() - 1; i >= 0; --i) {
        if (m_queue.at(i).key == plan) {
            m_queue.removeAt(i);
            dropped = true;
        }
    }
    if (dropped) {
        // Renumber the keyed ones from the first waiting number on.
        m_waitingByKey.clear();
        for (int i = 0; i < m_queue.size(); ++i) {
            const Waiting &waiting = m_queue.at(i);
            if (!waiting.key.isEmpty())
                m_waitingByKey.insert(WaitingKey(waiting.notification.first, waiting.key),
                                      m_firstWaiting + i);
        }
        updateCounter();
    }
    for (YmNotifyWidget *widget : qAsConst(m_visibleWidgets)) {
        if (widget->key() == plan)
            widget->deleteLater();
    }
}

void YmNotifyManager::showHistory()
{
    history();
    if (!m_historyWindow) {
        m_historyWindow = new YmNotifyHistoryWindow(&m_history);
        connect(m_historyWindow, &YmNotifyHistoryWindow::acknowledgeRequested, this,
                &YmNotifyManager::acknowledge);
    }
    m_historyWindow->refresh();
    if (!m_historyWindow->isHidden())
        m_historyWindow->activateWindow();
    m_historyWindow->showNormal();
    m_historyWindow->raise();
}

void YmNotifyManager::historyTouched()
{
    if (m_historyWindow)
        m_historyWindow->refresh();
}

QList<YmNotifyManager::Notification> YmNotifyManager::queue() const
{
    QList<Notification> waiting;
    waiting.reserve(m_queue.size());
    for (const Waiting &entry : m_queue)
        waiting.append(entry.notification);
    return waiting;
}

QStringList YmNotifyManager::queueKeys() const
{
    QStringList keys;
    keys.reserve(m_queue.size());
    for (const Waiting &entry : m_queue)
        keys.append(entry.key);
    return keys;
}

void YmNotifyManager::showWhatFits()
{
    if (m_visibleWidgets.size() >= m_maxVisible || m_queue.isEmpty()) {
        updateCounter();
        return;
    }
    auto *widget = new YmNotifyWidget(this);
    m_visibleWidgets.append(widget);
    widget->setSlotIndex(m_visibleWidgets.size());
    const Waiting next = m_queue.takeFirst();
    if (!next.key.isEmpty())
        m_waitingByKey.remove(WaitingKey(next.notification.first, next.key));
    ++m_firstWaiting;
    widget->setKey(next.key);
    widget->setContent(next.notification);
    widget->setRaisedAt(next.at);
    if (!next.key.isEmpty()) {
        // Closing it by hand says the user has seen it: the plan stays quiet.
        const QString plan = next.key;
        connect(widget, &YmNotifyWidget::dismissed, this, [this, plan] { acknowledgePlan(plan); });
    }
    registerExitHandlerOnce();
    updateCounter();
    // By the time destroyed() arrives the object is a bare QObject; the lambda keeps
    // the typed pointer so that the handler only compares it.
    connect(widget, &QObject::destroyed, this, [this, widget]() { notifyWidgetDestroyed(widget); });
}

void YmNotifyManager::notifyWidgetDestroyed(YmNotifyWidget *widget)
{
    const int index = m_visibleWidgets.indexOf(widget);
    if (index >= 0) {
        m_visibleWidgets.removeAt(index);
        for (int i = index; i < m_visibleWidgets.size(); ++i)
            m_visibleWidgets.at(i)->setSlotIndex(i + 1);
    }
    showWhatFits();
}

void YmNotifyManager::updateCounter()
{
    if (!m_counterEnabled)
        return;
    if (m_queue.isEmpty()) {
        if (m_counterWidget)
            m_counterWidget->setSlotIndex(0);
        return;
    }
    // Made when something first waits: most days never fill the stack, and a
    // styled window is the dearest part of a manager.
    if (!m_counterWidget) {
        m_counterWidget = new YmNotifyCountWidget(this);
        connect(m_counterWidget, &YmNotifyCountWidget::clicked, this,
                &YmNotifyManager::showHistory);
    }
    m_counterWidget->setSlotIndex(m_maxVisible + 1);
    m_counterWidget->setCount(m_queue.size());
}
