#include "ymclock.h"

#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHash>
#include <QObject>
#include <QWidget>

namespace {

struct Entry
{
    YmClock::Source source = nullptr;
    void *data = nullptr;
    // A window that reads another window's clock (a board's plan window).
    const QObject *follows = nullptr;
};

// The process clock. Set by tests only; boards keep theirs in s_windows.
Entry s_process;
// An invalid QDateTime until a test sets one; constructing it costs nothing.
QDateTime s_fixed; // clazy:exclude=non-pod-global-static

// Top-level window -> its board's clock. GUI thread only, as every call of
// the module; an entry leaves with its window.
QHash<const QObject *, Entry> &windows()
{
    static QHash<const QObject *, Entry> table;
    return table;
}

QDateTime fixedMoment(void *)
{
    return s_fixed;
}

QDateTime ask(const Entry &entry)
{
    if (entry.source) {
        QDateTime moment = entry.source(entry.data);
        // A host clock that answers nonsense must not stop the board's clock.
        if (moment.isValid())
            return moment;
    }
    return QDateTime::currentDateTime();
}

const QObject *windowOf(const QObject *object)
{
    if (object && object->isWidgetType()) {
        const QWidget *window = static_cast<const QWidget *>(object)->window();
        // A board scaled down for a small screen shows its main window in a
        // graphics view, where that window is a window of its own: its clock
        // is the one of the view's window.
        while (const QGraphicsProxyWidget *proxy = window->graphicsProxyWidget()) {
            const QList<QGraphicsView *> views
                = proxy->scene() ? proxy->scene()->views() : QList<QGraphicsView *>();
            if (views.isEmpty())
                break;
            window = views.first()->window();
        }
        return window;
    }
    while (object && object->parent())
        object = object->parent();
    return object;
}

} // namespace

QDateTime YmClock::now()
{
    if (s_process.source)
        return ask(s_process);
    return QDateTime::currentDateTime();
}

void YmClock::setSource(Source source, void *data)
{
    s_process.source = source;
    s_process.data = source ? data : nullptr;
}

void YmClock::setFixed(const QDateTime &moment)
{
    s_fixed = moment;
    if (moment.isValid())
        setSource(&fixedMoment);
    else
        setSource(nullptr);
}

QDateTime YmClock::now(const QObject *object)
{
    const QHash<const QObject *, Entry> &table = windows();
    if (!table.isEmpty()) {
        auto found = table.constFind(windowOf(object));
        if (found != table.cend() && found->follows)
            found = table.constFind(found->follows);
        if (found != table.cend() && found->source)
            return ask(found.value());
    }
    return now();
}

namespace {

void store(const QObject *key, const Entry &entry)
{
    if (!key)
        return;
    QHash<const QObject *, Entry> &table = windows();
    if (!entry.source && !entry.follows) {
        table.remove(key);
        return;
    }
    if (!table.contains(key))
        QObject::connect(key, &QObject::destroyed, [key] { windows().remove(key); });
    table.insert(key, entry);
}

} // namespace

void YmClock::setSource(QObject *window, Source source, void *data)
{
    store(windowOf(window), {source, source ? data : nullptr, nullptr});
}

void YmClock::share(const QObject *board, QObject *window)
{
    const QObject *key = windowOf(window);
    const QObject *boardWindow = windowOf(board);
    if (key != boardWindow)
        store(key, {nullptr, nullptr, boardWindow});
}
