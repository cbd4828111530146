// libFuzzer target for the board's host interface. Each input is a little
// program: a sequence of calls of the facade (the six data calls, show, hide,
// a repeat of the last data call, resizes, clock changes and clock ticks,
// which make the host push the day again) whose arguments are arbitrary
// QVariant payloads decoded from the bytes. Every call runs against the same
// module instance.
//
// The input's first byte picks the mode. One input in eight repaints the
// whole board after every call, so that every painted panel sees every state
// the data can put it in; the others are data-only: the module's windows do
// not repaint themselves during the input, and one part of the board (the
// same byte picks which) is painted into a small image once, at the end,
// which is many times faster and reaches the models' corners sooner. One of
// those data-only inputs in seven is also a supervisor at the plan window:
// besides the host's calls it opens and closes the window, steps its date,
// regroups, filters, sorts and selects, as a user clicks. After every input the
// harness checks what must always hold (see checkInvariants) and aborts on a
// violation, so that a wrong figure is a finding like a crash.
//
//   fuzz_board -max_total_time=60 corpus/          fuzz (see docs/development.md)
//   fuzz_board --make-seeds DIR                    write the seed corpus
//   YM_FUZZ_BOARD_MODE=data|full|user fuzz_board   one mode only (for its speed)
//
// The seeds encode the shared sample day (YmWorkshopDay::simpleDay: twelve
// machines, four plans, three groups) followed by the reports a host sends
// during the day.
#include "ymclock.h"
#include "ymdashboardfigures.h"
#include "ymmetatypes.h"
#include "ymnotifymanager.h"
#include "ymresources.h"
#include "ymtableplanmodel.h"
#include "ymtableviewplanpage.h"
#include "ymworkshopmanage.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"
#include "ymworkshopplanratelabel.h"
#include "ymworkshopplanratepage.h"

#include "ymfuzzinput.h"
#include "ymfuzzsetup.h"
#include "ymworkshopday.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QGraphicsWidget>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QVariantHash>
#include <QVariantMap>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>

namespace {

// Strings the decoder can pick by index, so that keys in one call can match
// keys in another (machine keys, file names, groups) and the times and dates
// hit both the parsable and the unparsable cases.
const char *const kDictionary[] = {
    "",
    "08:00:00",
    "20:00:00",
    "00:00:00",
    "23:59:59",
    "24:00:00",
    "12:30",
    "99:99:99",
    "2024-03-05",
    "2024-02-30",
    "0000-00-00",
    "2024-03-05 08:15:00",
    "2024-03-05 25:00:00",
    "2024-03-06 00:00:01",
    "MAC-001",
    "MAC-002",
    "MAC-003",
    "PO-2412-A01",
    "PO-2412-B07",
    "PO-2412-A01.nc",
    "PO-2412-B07.nc",
    "注塑车间",
    "冲压车间",
    "1号机",
    "%1%2%3%",
    "-1",
    "2147483648",
    "1e308",
    "nan",
    " 42 ",
    "\n\t",
};
constexpr int kDictionarySize = int(sizeof(kDictionary) / sizeof(kDictionary[0]));
constexpr int kMaxDepth = 6;
// The longest list an input can send: more than the large workshop's 3,000
// order rows. Longer lists take the same paths, only slower: allowing 65,535
// doubled the time per input of a grown corpus.
constexpr int kLongList = 4096;
constexpr int kMaxPageSide = 2000;
constexpr int kMaxSteps = 24;
const QSize kStartSize(480, 270);
// Data-only inputs paint the board once, at the end, into an image of at most
// this side.
constexpr int kSmallSide = 160;
// Inputs whose first byte is a multiple of this repaint the whole board after
// every call; those whose first byte leaves kUserMode use the plan window too.
constexpr int kFullPaintShare = 8;
constexpr int kUserMode = 4;

enum Op : uint8_t {
    OpInitDatas,
    OpUpdateMacState,
    OpUpdateMacProcess,
    OpUpdateLv1Name,
    OpUpdateWorkTimeData,
    OpQueryDatePlan,
    OpShow,
    OpHide,
    OpResize,
    OpSetClock,
    OpTick,
    OpProcessEvents,
    OpRetranslate,
    OpRepeat, // the last data call again, as a host resends its latest report
    OpCount,
    // The supervisor's, in the user mode only; all but the first act on the
    // plan window only while it is open.
    UserOpenPlans = OpCount,
    UserClosePlans,
    UserStepDate, // previous day, next day or today
    UserPickDate,
    UserCriterion, // a grouping check box clicked
    UserOrder,     // an order combo box set
    UserFilter,    // filter type, fuzzy box and text, then the query button
    UserSort,      // a column header clicked
    UserSelect,
    UserPlanDialog, // add, edit or delete, with the dialog and message boxes answered
    UserOpEnd
};

enum class Mode { Data, Full, User };

enum Tag : uint8_t {
    TagInvalid,
    TagInt,
    TagLongLong,
    TagDouble,
    TagString,
    TagBool,
    TagList,
    TagPieceMap,
    TagVariantMap,
    TagStringList,
    TagSpecialNumber,
    TagDateTime,
    TagByteArray,
    TagUInt,
    TagVariantHash,
    TagCount
};

enum StringKind : uint8_t {
    StrNull,
    StrDictionary,
    StrUtf8,
    StrLong,
    StrNumber,
    StrDictionaryWithSuffix,
    StrUtf16,
    StrCount
};

// Reads the input front to back; past the end every read is 0, so any byte
// string is a valid program.
class Reader : public YmFuzzInput
{
public:
    using YmFuzzInput::YmFuzzInput;

    template<typename T>
    T raw()
    {
        T value{};
        unsigned char bytes[sizeof(T)] = {};
        for (unsigned char &b : bytes)
            b = byte();
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }
    QByteArray bytes(int count)
    {
        const int n = int(qMin<size_t>(size_t(count), m_left));
        QByteArray out(reinterpret_cast<const char *>(m_data), n);
        m_data += n;
        m_left -= size_t(n);
        return out;
    }

    QString string()
    {
        switch (byte() % StrCount) {
        case StrNull:
            return QString();
        case StrDictionary:
            return QString::fromUtf8(kDictionary[byte() % kDictionarySize]);
        case StrUtf8:
            return QString::fromUtf8(bytes(byte()));
        case StrLong: {
            const QString unit = QString::fromUtf8(kDictionary[byte() % kDictionarySize]);
            const int times = 1 + raw<uint16_t>() % 4000;
            return unit.isEmpty() ? QString(times, QLatin1Char('x')) : unit.repeated(times);
        }
        case StrNumber:
            return QString::number(raw<int32_t>());
        case StrDictionaryWithSuffix:
            return QString::fromUtf8(kDictionary[byte() % kDictionarySize])
                   + QString::fromUtf8(bytes(byte() % 16));
        default: { // raw UTF-16, lone surrogates included
            const QByteArray units = bytes(2 * (byte() % 64));
            return QString(reinterpret_cast<const QChar *>(units.constData()), units.size() / 2);
        }
        }
    }

    QVariant variant(int depth = 0)
    {
        const uint8_t tag = byte() % TagCount;
        switch (tag) {
        case TagInvalid:
            return QVariant();
        case TagInt:
            return raw<int32_t>();
        case TagLongLong:
            return qlonglong(raw<int64_t>());
        case TagDouble:
            return raw<double>();
        case TagString:
            return string();
        case TagBool:
            return bool(byte() & 1);
        case TagList:
            return list(depth);
        case TagPieceMap: {
            YmPieceMap map;
            for (int n = byte() % 64; n > 0 && !atEnd(); --n)
                map.insert(string(), raw<int32_t>());
            return QVariant::fromValue(map);
        }
        case TagVariantMap: {
            QVariantMap map;
            for (int n = byte() % 32; n > 0 && !atEnd(); --n)
                map.insert(string(), depth < kMaxDepth ? variant(depth + 1) : QVariant());
            return map;
        }
        case TagStringList: {
            QStringList list;
            for (int n = byte() % 32; n > 0 && !atEnd(); --n)
                list << string();
            return list;
        }
        case TagSpecialNumber:
            return specialNumber(byte());
        case TagDateTime:
            return dateTime();
        case TagByteArray:
            return bytes(byte());
        case TagUInt:
            return raw<uint32_t>();
        default: {
            QVariantHash hash;
            for (int n = byte() % 16; n > 0 && !atEnd(); --n)
                hash.insert(string(), depth < kMaxDepth ? variant(depth + 1) : QVariant());
            return hash;
        }
        }
    }

    // Any length and any element types; nesting stops at kMaxDepth.
    QVariantList list(int depth = 0)
    {
        QVariantList out;
        if (depth >= kMaxDepth)
            return out;
        int count = byte();
        if (count == 255) // rare very long lists, cheap in bytes: past the end reads invalid
            count = raw<uint16_t>() % kLongList;
        out.reserve(count);
        for (int i = 0; i < count; ++i)
            out << (atEnd() ? QVariant() : variant(depth + 1));
        return out;
    }

    QDateTime dateTime()
    {
        switch (byte() % 3) {
        case 0:
            return QDateTime::fromMSecsSinceEpoch(raw<int64_t>());
        case 1:
            return QDateTime::fromString(string(), QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        default:
            return QDateTime(QDate(raw<int32_t>(), raw<int8_t>(), raw<int8_t>()),
                             QTime(raw<int8_t>(), raw<int8_t>(), raw<int8_t>()));
        }
    }

    static QVariant specialNumber(uint8_t which)
    {
        using I = std::numeric_limits<int>;
        using D = std::numeric_limits<double>;
        switch (which % 14) {
        case 0:
            return I::max();
        case 1:
            return I::min();
        case 2:
            return -1;
        case 3:
            return 0;
        case 4:
            return qlonglong(I::max()) + 1;
        case 5:
            return std::numeric_limits<qlonglong>::min();
        case 6:
            return D::quiet_NaN();
        case 7:
            return D::infinity();
        case 8:
            return -D::infinity();
        case 9:
            return D::max();
        case 10:
            return -0.0;
        case 11:
            return 2147483648.0;
        case 12:
            return D::denorm_min();
        default:
            return QStringLiteral("2147483647");
        }
    }
};

// Writes what Reader reads, for the seed corpus.
class Writer
{
public:
    explicit Writer(bool fullPaint = false) { byte(fullPaint ? 0 : 1); }
    explicit Writer(Mode mode)
    {
        byte(mode == Mode::User ? kUserMode : mode == Mode::Full ? 0 : 1);
    }

    QByteArray out;

    void byte(uint8_t b) { out.append(char(b)); }
    template<typename T>
    void raw(T value)
    {
        out.append(reinterpret_cast<const char *>(&value), sizeof(T));
    }
    void op(Op o) { byte(o); }
    void string(const QString &s)
    {
        for (int i = 0; i < kDictionarySize; ++i) {
            if (s == QString::fromUtf8(kDictionary[i])) {
                byte(StrDictionary);
                byte(uint8_t(i));
                return;
            }
        }
        const QByteArray utf8 = s.toUtf8().left(255);
        byte(StrUtf8);
        byte(uint8_t(utf8.size()));
        out.append(utf8);
    }
    void variant(const QVariant &v)
    {
        switch (v.userType()) {
        case QMetaType::Int:
            byte(TagInt);
            raw<int32_t>(v.toInt());
            return;
        case QMetaType::Double:
            byte(TagDouble);
            raw<double>(v.toDouble());
            return;
        case QMetaType::QString:
            byte(TagString);
            string(v.toString());
            return;
        case QMetaType::Bool:
            byte(TagBool);
            byte(v.toBool());
            return;
        case QMetaType::QVariantList:
            byte(TagList);
            list(v.toList());
            return;
        default:
            break;
        }
        if (v.userType() == qMetaTypeId<YmPieceMap>()) {
            const YmPieceMap map = v.value<YmPieceMap>();
            byte(TagPieceMap);
            byte(uint8_t(qMin(map.size(), 63)));
            int n = 0;
            for (auto it = map.cbegin(); it != map.cend() && n < 63; ++it, ++n) {
                string(it.key());
                raw<int32_t>(it.value());
            }
            return;
        }
        byte(TagInvalid);
    }
    void list(const QVariantList &l)
    {
        if (l.size() >= 255) {
            byte(255);
            raw<uint16_t>(uint16_t(qMin(l.size(), kLongList - 1)));
        } else {
            byte(uint8_t(l.size()));
        }
        for (const QVariant &v : l)
            variant(v);
    }
};

// The host the fuzzer plays: it answers the day change and the plan window's
// date queries by pushing data again, from inside the callback, as a real
// host does.
struct Host
{
    YmWorkshopManage *board = nullptr;
    QDateTime now;
    QVariantList planData;
    QVariantList macList;
    int depth = 0; // a callback that pushes data may trigger the next callback
};
Host g_host;
QApplication *g_app = nullptr;

QDateTime hostNow(void *data)
{
    return static_cast<Host *>(data)->now;
}

void hostDayChanged(void *data)
{
    Host *host = static_cast<Host *>(data);
    if (host->depth > 2)
        return;
    ++host->depth;
    host->board->initDatas(host->planData, host->macList, {}, QStringLiteral("08:00:00"),
                           QStringLiteral("20:00:00"), 600);
    --host->depth;
}

void hostQueryDatePlan(void *data, const QString &date)
{
    Host *host = static_cast<Host *>(data);
    if (host->depth > 2)
        return;
    ++host->depth;
    host->board->queryDatePlan(date, host->planData.value(0).toList());
    --host->depth;
}

YmWorkshopManagePage *page()
{
    return YmWorkshopManagePrivate::get(g_host.board)->page;
}

// Showing, resizing or processing events makes a window paint all of itself
// into its backing store, a whole-board paint the data-only mode is there to
// avoid: its inputs run with the windows' updates off, pop-ups created on the
// way included, and turn them on only for the window of the one small paint at
// the end. The windows are the ones seen polished (every window is, before it
// is first shown): asking the application for its top-level widgets walks
// every widget it has, twice an input.
class WindowUpdates : public QObject
{
public:
    WindowUpdates() { qApp->installEventFilter(this); }

    void setEnabled(bool enabled)
    {
        m_enabled = enabled;
        m_windows.removeAll(nullptr);
        for (const QPointer<QWidget> &w : qAsConst(m_windows)) {
            if (w->isWindow())
                w->setUpdatesEnabled(enabled); // a no-op for a window already so
        }
    }

    // For the paint at the end of a data-only input: render() skips a widget
    // whose updates are off.
    static void enableFor(QWidget *w) { w->window()->setUpdatesEnabled(true); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Polish && watched->isWidgetType()) {
            auto *w = static_cast<QWidget *>(watched);
            if (w->isWindow()) {
                if (!m_windows.contains(w))
                    m_windows << w;
                if (w->updatesEnabled() != m_enabled)
                    w->setUpdatesEnabled(m_enabled);
            }
        }
        return false;
    }

private:
    bool m_enabled = true;
    QList<QPointer<QWidget>> m_windows;
};
WindowUpdates *g_updates = nullptr;

// One canvas for every repaint: a fresh multi-megabyte image per call would
// cost more than the painting itself. maxSide clips the paint to the top-left
// corner: the small paints of the data-only mode.
void renderInto(QWidget *w, int maxSide)
{
    static QImage canvas;
    const QSize size = w->size().boundedTo(QSize(maxSide, maxSide));
    if (size.isEmpty())
        return;
    if (canvas.width() < size.width() || canvas.height() < size.height())
        canvas = QImage(size.expandedTo(canvas.size()), QImage::Format_ARGB32_Premultiplied);
    // Only the part painted into: the canvas keeps the size of the largest
    // full paint, and clearing all of it would cost more than a small paint.
    {
        QPainter clear(&canvas);
        clear.setCompositionMode(QPainter::CompositionMode_Source);
        clear.fillRect(QRect(QPoint(), size), Qt::transparent);
    }
    WindowUpdates::enableFor(w);
    w->render(&canvas, QPoint(), QRegion(0, 0, size.width(), size.height()));
}

void repaint(int maxSide)
{
    if (YmWorkshopManagePage *p = page())
        renderInto(p, maxSide);
}

// Data-only inputs paint one part of the board, which the mode byte picks:
// the board's own band or one of its docked panels. Across inputs every part
// sees the states the data puts it in, at a fraction of a whole paint.
void repaintOnePart(uint8_t mode, int maxSide)
{
    YmWorkshopManagePage *p = page();
    if (!p || !p->mainPage())
        return;
    // Asked of the main page: on a small screen it lives in the scaled view's
    // scene, no longer under the board's window.
    const QList<QDockWidget *> docks = p->mainPage()->findChildren<QDockWidget *>();
    const int which = mode / kFullPaintShare % (docks.size() + 1);
    renderInto(which == docks.size() ? static_cast<QWidget *>(p) : docks.at(which), maxSide);
}

// Every other window of the module (plan window, pop-ups), once per input.
void repaintOtherWindows(int maxSide)
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w != page())
            renderInto(w, maxSide);
    }
}

bool g_supervised = false; // the input was the supervisor's

[[noreturn]] void violated(const char *what, const QString &detail)
{
    std::fprintf(stderr, "invariant violated: %s: %s\n", what, qPrintable(detail));
    std::abort();
}

QString rowText(const YmOrderRecord &r)
{
    return QStringLiteral("%1/%2/%3 %4 of %5")
        .arg(r.planName, r.macKey, r.fileName)
        .arg(r.completed)
        .arg(r.planned);
}

// Planned and completed pieces summed without overflow.
struct Sums
{
    QString name;
    qint64 planned = 0;
    qint64 completed = 0;

    template<typename Row>
    void add(const Row &r)
    {
        planned += r.planned;
        completed += r.completed;
    }
    QString text() const { return QStringLiteral("%1/%2").arg(completed).arg(planned); }
};

template<typename Rows>
Sums sumOf(const Rows &rows)
{
    Sums sums;
    for (const auto &r : rows)
        sums.add(r);
    return sums;
}

// What must hold whatever the host sent: the board's figures agree with its
// rows, the plan window shows today's rows as the board counts them, no plan
// waits twice in the notification queue, and no window is off the screen.
void checkInvariants()
{
    YmWorkshopManagePage *p = page();
    if (!p || !p->mainPage())
        return;
    const YmWorkshopManageMainPage *main = p->mainPage();
    const YmOrderModel &model = main->model();
    const QVector<YmOrderRecord> &rows = model.rows();

    const Sums total = sumOf(rows);
    const YmDashboardFigures figures = model.dashboardFigures();
    if (figures.totalPlanned != YmDashboardFigures::saturatedInt(total.planned)
        || figures.totalCompleted != YmDashboardFigures::saturatedInt(total.completed))
        violated("totals are the sums of the rows", QStringLiteral("%1/%2 shown, %3 summed")
                                                        .arg(figures.totalCompleted)
                                                        .arg(figures.totalPlanned)
                                                        .arg(total.text()));
    // Each bar is its plan's or group's rows summed, clamped to the int range
    // on its own, in the order the rows first name them; only when no bar is
    // clamped do the bars add up to the totals.
    const auto checkBars = [&](const char *what, const QVariantList &bars,
                               QString YmOrderRecord::*name) {
        QVector<Sums> expected;
        QHash<QString, int> index;
        for (const YmOrderRecord &r : rows) {
            auto it = index.find(r.*name);
            if (it == index.end()) {
                it = index.insert(r.*name, expected.size());
                expected.append(Sums{r.*name});
            }
            expected[*it].add(r);
        }
        if (bars.size() != expected.size())
            violated(what,
                     QStringLiteral("%1 bars, %2 names").arg(bars.size()).arg(expected.size()));
        bool clamped = false;
        Sums shown;
        for (int i = 0; i < bars.size(); ++i) {
            const QVariantList bar = bars.at(i).toList();
            const Sums &e = expected.at(i);
            const Sums b{bar.value(0).toString(), YmDashboardFigures::saturatedInt(e.planned),
                         YmDashboardFigures::saturatedInt(e.completed)};
            if (bar.value(0).toString() != e.name || bar.value(1).toInt() != b.planned
                || bar.value(2).toInt() != b.completed)
                violated(what, QStringLiteral("bar %1: %2 %3/%4 shown, %5 %6 summed")
                                   .arg(i)
                                   .arg(b.name)
                                   .arg(bar.value(2).toInt())
                                   .arg(bar.value(1).toInt())
                                   .arg(e.name, b.text()));
            clamped = clamped || b.planned != e.planned || b.completed != e.completed;
            shown.add(b);
        }
        if (!clamped && (shown.planned != total.planned || shown.completed != total.completed))
            violated("the bars add up to the totals",
                     QStringLiteral("bars %1, rows %2").arg(shown.text(), total.text()));
    };
    checkBars("a plan's bar is the sum of its rows", figures.planBars, &YmOrderRecord::planName);
    checkBars("a group's bar is the sum of its rows", figures.groupBars, &YmOrderRecord::groupName);
    QHash<QString, QPair<qint64, qint64>> byMachine; // planned, completed
    for (const YmOrderRecord &r : rows) {
        if (r.isRecord && model.hasMachine(r.macKey)) {
            byMachine[r.macKey].first += r.planned;
            byMachine[r.macKey].second += r.completed;
        }
    }
    for (auto it = byMachine.cbegin(); it != byMachine.cend(); ++it) {
        const YmOrderModel::MachineCounts m = model.machineCounts(it.key());
        if (m.planned != it->first || m.completed != it->second)
            violated("a machine's counts are the sums of its rows",
                     QStringLiteral("%1: %2/%3 counted, %4/%5 summed")
                         .arg(it.key())
                         .arg(m.completed)
                         .arg(m.planned)
                         .arg(it->second)
                         .arg(it->first));
    }
    if (const auto *rate = main->findChild<const YmWorkshopPlanRatePage *>()) {
        const int outstanding = rate->outstandingLabel()->value();
        if (outstanding < 0 && figures.totalCompleted <= figures.totalPlanned)
            violated("no negative outstanding count unless completed exceeds plan",
                     QStringLiteral("outstanding %1 of %2/%3")
                         .arg(outstanding)
                         .arg(figures.totalCompleted)
                         .arg(figures.totalPlanned));
    }

    if (const YmTableViewPlanPage *plans = main->planPage()) {
        if (plans->shownDate() == YmClock::today(plans)) {
            const QVector<YmOrderRecord> &shown = plans->model().planList();
            if (shown.size() != rows.size())
                violated("the plan window shows today's order rows",
                         QStringLiteral("%1 rows shown, %2 on the board")
                             .arg(shown.size())
                             .arg(rows.size()));
            for (int i = 0; i < rows.size(); ++i) {
                const YmOrderRecord &a = shown.at(i);
                const YmOrderRecord &b = rows.at(i);
                if (a.planName != b.planName || a.macKey != b.macKey || a.fileName != b.fileName
                    || a.planned != b.planned || a.completed != b.completed)
                    violated("the plan window shows today's order rows",
                             QStringLiteral("row %1: %2 shown, %3 on the board")
                                 .arg(i)
                                 .arg(rowText(a), rowText(b)));
            }
        }
    }

    // Whatever day and grouping it shows, the plan window's table adds up to
    // the plans it groups, unless a group's sum left the int range.
    if (const YmTableViewPlanPage *plans = main->planPage()) {
        const YmTablePlanModel &table = plans->model();
        const auto atLimit = [](int n) {
            return n == std::numeric_limits<int>::max() || n == std::numeric_limits<int>::min();
        };
        const bool clamped = std::any_of(table.rows().cbegin(), table.rows().cend(),
                                         [&](const YmTablePlanModel::TableRow &r) {
                                             return atLimit(r.planned) || atLimit(r.completed);
                                         });
        const Sums shown = sumOf(table.rows());
        const Sums plansSum = sumOf(table.planList());
        if (!table.isStale() && table.groupColumnCount() > 0 && !clamped
            && (shown.planned != plansSum.planned || shown.completed != plansSum.completed))
            violated("the plan window's table adds up to its plans",
                     QStringLiteral("table %1, plans %2").arg(shown.text(), plansSum.text()));
    }

    if (YmNotifyManager *notify = YmNotifyManager::existingInstance()) {
        QSet<QString> waiting;
        for (const QString &key : notify->queueKeys()) {
            if (key.isEmpty())
                continue;
            if (waiting.contains(key))
                violated("one waiting notification per plan", key);
            waiting.insert(key);
        }
    }

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // The platform's windows: a shown widget window has one, and the list is
    // short, where the application's top-level widgets are found among all
    // of its widgets.
    const QWindowList windows = QGuiApplication::topLevelWindows();
    // Nor larger than four design sizes each way (the board's bound for a
    // window of an extreme shape): the backing store of a window sized by its
    // data can take gigabytes.
    const QSize largest(4 * 1920, 4 * 1080);
    for (const QWindow *w : windows) {
        if (!w->isVisible())
            continue;
        if (w->width() > largest.width() || w->height() > largest.height())
            violated(
                "no window larger than four design sizes",
                QStringLiteral("%1 %2x%3").arg(w->objectName()).arg(w->width()).arg(w->height()));
        if (!w->frameGeometry().intersects(screen))
            violated("no window off the screen", QStringLiteral("%1 at %2,%3 %4x%5")
                                                     .arg(w->objectName())
                                                     .arg(w->x())
                                                     .arg(w->y())
                                                     .arg(w->width())
                                                     .arg(w->height()));
    }
}

template<typename T>
T *part(QWidget *w, const char *name)
{
    return w->findChild<T *>(QLatin1String(name));
}

// What the supervisor types into the plan dialog, read before the dialog
// opens, so that a change of one field does not shift the next step.
struct DialogEntry
{
    QString texts[4]; // plan name, file, planned count, notify percent
    uint8_t machines[3] = {};
    QString counts[3]; // the machines' own planned counts
    bool accept = true;

    explicit DialogEntry(Reader &in)
    {
        for (QString &t : texts)
            t = in.string();
        for (int i = 0; i < 3; ++i) {
            machines[i] = in.byte();
            counts[i] = in.string();
        }
        accept = in.byte() % 4 != 0;
    }

    // The plan dialog filled in; the machines are clicked by index among its
    // check boxes, their counts typed into the count fields.
    void fill(QWidget *dialog) const
    {
        const char *const names[] = {"lineEdit_planName", "lineEdit_fileName", "lineEdit_planCount",
                                     "lineEdit_notifyNum"};
        for (int i = 0; i < 4; ++i) {
            if (auto *edit = part<QLineEdit>(dialog, names[i]))
                edit->setText(texts[i]);
        }
        QWidget *left = part<QWidget>(dialog, "scrollAreaWidgetContents_left");
        const QList<QAbstractButton *> boxes
            = left ? left->findChildren<QAbstractButton *>() : QList<QAbstractButton *>();
        for (uint8_t m : machines) {
            if (!boxes.isEmpty())
                boxes.at(m % boxes.size())->click();
        }
        QWidget *right = part<QWidget>(dialog, "scrollAreaWidgetContents_right");
        const QList<QLineEdit *> fields
            = right ? right->findChildren<QLineEdit *>() : QList<QLineEdit *>();
        for (int i = 0; i < fields.size() && i < 3; ++i)
            fields.at(i)->setText(counts[i]);
    }
};

// Add, edit or delete: the button clicked while a timer answers whatever
// modal window comes up (the plan dialog filled in once, then accepted or
// cancelled; every message box with its first button), as a user would,
// and gives up on a window that keeps coming back.
void planDialog(YmTableViewPlanPage *plans, Reader &in)
{
    const char *const buttons[] = {"btnAdd", "btnEdit", "btnDel"};
    auto *button = part<QAbstractButton>(plans, buttons[in.byte() % 3]);
    const DialogEntry entry(in);
    if (!button || !button->isEnabled())
        return;
    bool filled = false;
    int answers = 0;
    QTimer answer;
    answer.setInterval(0);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = qobject_cast<QDialog *>(modal);
        if (!dialog)
            return;
        if (++answers > 8) {
            dialog->reject();
        } else if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            if (QAbstractButton *first = box->buttons().value(0))
                QMetaObject::invokeMethod(first, &QAbstractButton::click, Qt::QueuedConnection);
            else
                box->reject();
        } else if (dialog->objectName() == QLatin1String("YmPlanDataDlg") && !filled) {
            filled = true;
            entry.fill(dialog);
            // Clicked from the event loop, not from this slot: the timer does
            // not fire again while its slot runs, so a message box the click
            // opens would wait for ever.
            if (auto *done = part<QAbstractButton>(dialog, entry.accept ? "btn_ok" : "btn_cancel"))
                QMetaObject::invokeMethod(done, &QAbstractButton::click, Qt::QueuedConnection);
        } else {
            dialog->reject();
        }
    });
    answer.start();
    button->click();
}

// One click or entry of the supervisor at an open plan window.
void userAction(YmTableViewPlanPage *plans, int op, Reader &in)
{
    QTableView *view = part<QTableView>(plans, "tableView");
    switch (op) {
    case UserStepDate: {
        const char *const buttons[] = {"pushButton_prev", "pushButton_next", "pushButton"};
        if (auto *button = part<QAbstractButton>(plans, buttons[in.byte() % 3]))
            button->click();
        break;
    }
    case UserPickDate:
        if (auto *date = part<QDateEdit>(plans, "dateEdit"))
            date->setDate(in.dateTime().date());
        break;
    case UserCriterion: {
        const char *const boxes[] = {"checkBox_plan", "checkBox_file", "checkBox_mac"};
        if (auto *box = part<QAbstractButton>(plans, boxes[in.byte() % 3]))
            box->click();
        break;
    }
    case UserOrder: {
        const char *const combos[] = {"comboBox_idx1", "comboBox_idx2", "comboBox_idx3"};
        if (auto *combo = part<QComboBox>(plans, combos[in.byte() % 3]))
            combo->setCurrentIndex(in.byte() % (combo->count() + 1) - 1);
        break;
    }
    case UserFilter: {
        if (auto *type = part<QComboBox>(plans, "comboBox_filterType"))
            type->setCurrentIndex(in.byte() % qMax(1, type->count()));
        if (auto *fuzzy = part<QAbstractButton>(plans, "checkBox_fuzzyMatch"))
            fuzzy->setChecked(in.byte() & 1);
        if (auto *text = part<QLineEdit>(plans, "lineEdit_filter"))
            text->setText(in.string());
        if (auto *query = part<QAbstractButton>(plans, "btnQuery"))
            query->click();
        break;
    }
    case UserSort:
        if (view) {
            QHeaderView *header = view->horizontalHeader();
            const int column = in.byte() % qMax(1, header->count());
            QTest::mouseClick(
                header->viewport(), Qt::LeftButton, {},
                QPoint(header->sectionViewportPosition(column) + 2, header->height() / 2));
        }
        break;
    case UserSelect:
        if (view && view->model())
            view->selectRow(in.raw<uint16_t>() % qMax(1, view->model()->rowCount()));
        break;
    default: // UserPlanDialog
        planDialog(plans, in);
        break;
    }
}

YmTableViewPlanPage *planWindow()
{
    return page() && page()->mainPage() ? page()->mainPage()->planPage() : nullptr;
}

Mode modeOf(uint8_t byte)
{
    // YM_FUZZ_BOARD_MODE forces one mode, to measure each alone.
    static const QByteArray forced = qgetenv("YM_FUZZ_BOARD_MODE");
    if (forced == "data")
        return Mode::Data;
    if (forced == "full")
        return Mode::Full;
    if (forced == "user")
        return Mode::User;
    switch (byte % kFullPaintShare) {
    case 0:
        return Mode::Full;
    case kUserMode:
        return Mode::User;
    default:
        return Mode::Data;
    }
}

void run(Reader &in)
{
    const uint8_t modeByte = in.byte();
    const Mode mode = modeOf(modeByte);
    const bool fullPaint = mode == Mode::Full;
    g_supervised = mode == Mode::User;
    g_updates->setEnabled(fullPaint);
    YmWorkshopManage &board = *g_host.board;
    std::function<void()> last;
    const auto call = [&last](std::function<void()> f) {
        last = std::move(f);
        last();
    };
    for (int steps = 0; !in.atEnd() && steps < kMaxSteps; ++steps) {
        const int op = in.byte() % (mode == Mode::User ? int(UserOpEnd) : int(OpCount));
        switch (op) {
        case OpInitDatas: {
            const QVariantList planData = in.list();
            const QVariantList macList = in.list();
            const QVariantList stopList = in.list();
            const QString start = in.string();
            const QString end = in.string();
            const double minutes = in.variant().toDouble();
            call([=, &board] {
                g_host.planData = planData;
                g_host.macList = macList;
                board.initDatas(planData, macList, stopList, start, end, minutes);
            });
            break;
        }
        case OpUpdateMacState: {
            const QString key = in.string();
            const int state = in.variant().toInt();
            const QString name = in.string();
            call([=, &board] { board.updateMacState(key, state, name); });
            break;
        }
        case OpUpdateMacProcess: {
            const QString key = in.string();
            const QVariantList process = in.list();
            call([=, &board] { board.updateMacProcess(key, process); });
            break;
        }
        case OpUpdateLv1Name: {
            const QString oldName = in.string();
            const QString newName = in.string();
            call([=, &board] { board.updateLv1Name(oldName, newName); });
            break;
        }
        case OpUpdateWorkTimeData: {
            const QString start = in.string();
            const QString end = in.string();
            const int minutes = in.variant().toInt();
            call([=, &board] { board.updateWorkTimeData(start, end, minutes); });
            break;
        }
        case OpQueryDatePlan: {
            const QString date = in.string();
            const QVariantList plans = in.list();
            call([=, &board] { board.queryDatePlan(date, plans); });
            break;
        }
        case OpShow:
            board.show();
            break;
        case OpHide:
            board.hide();
            break;
        case OpResize: {
            const int w = in.raw<uint16_t>() % (kMaxPageSide + 1);
            const int h = in.raw<uint16_t>() % (kMaxPageSide + 1);
            if (page()) {
                page()->setWindowState(Qt::WindowNoState);
                page()->resize(w, h);
            }
            break;
        }
        case OpSetClock:
            g_host.now = in.dateTime();
            break;
        case OpTick:
            if (page())
                page()->tick(g_host.now.date());
            break;
        case OpProcessEvents:
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCoreApplication::processEvents();
            break;
        case OpRetranslate:
            board.retranslateUi(in.variant().toInt());
            break;
        case OpRepeat:
            if (last)
                last();
            break;
        case UserOpenPlans:
            if (YmTableViewPlanPage *plans = planWindow())
                plans->showNormal();
            break;
        case UserClosePlans:
            if (YmTableViewPlanPage *plans = planWindow())
                plans->close();
            break;
        default:
            if (YmTableViewPlanPage *plans = planWindow(); plans && plans->isVisible())
                userAction(plans, op, in);
            break;
        }
        if (fullPaint)
            repaint(kMaxPageSide);
    }
    if (fullPaint) {
        repaintOtherWindows(kMaxPageSide);
    } else {
        repaintOnePart(modeByte, kSmallSide);
        if (YmTableViewPlanPage *plans = planWindow(); plans && plans->isVisible())
            renderInto(plans, kSmallSide);
    }
    checkInvariants();
}

void startInput()
{
    // Inputs replay on their own: the same clock, an empty board, no pop-ups
    // left over from the input before.
    g_host.now = QDateTime(QDate(2024, 3, 5), QTime(10, 0));
    g_host.planData.clear();
    g_host.macList.clear();
    // A supervisor leaves the plan window with a grouping, filter, sort and
    // selection of its own: the board makes a new one at the next load.
    if (g_supervised) {
        delete planWindow();
        g_supervised = false;
    }
    g_host.board->initDatas({}, {}, {}, QString(), QString(), 0);
    g_host.board->hide();
    if (page()) {
        page()->setWindowState(Qt::WindowNoState);
        page()->resize(kStartSize);
        // The plan window back on today, whatever day the input before left
        // it on.
        if (page()->mainPage() && page()->mainPage()->planPage())
            page()->mainPage()->planPage()->showToday();
    }
    YmNotifyManager::destroyInstance();
}

// The sample day is YmWorkshopDay::simpleDay() of the shared support library:
// twelve machines, one order row each, four plans over three groups, piece
// maps that start at 08:00, 08:00 to 20:00 at 600 minutes and no stops (the
// seeds' smaller days are its first one or two machines).

void writeInitDatas(Writer &w, const QVariantList &rows, const QVariantList &macs)
{
    w.op(OpInitDatas);
    w.list({QVariant(rows), 1, 0, 0});
    w.list(macs);
    w.list({});
    w.string(QStringLiteral("08:00:00"));
    w.string(QStringLiteral("20:00:00"));
    w.variant(600.0);
}

void writeProcess(Writer &w, const QString &key, const QVariantList &entries)
{
    w.op(OpUpdateMacProcess);
    w.string(key);
    w.list(entries);
}

QMap<QString, QByteArray> makeSeeds()
{
    QMap<QString, QByteArray> seeds;
    const QVariantList rows = YmWorkshopDay::simpleDay().rows;
    const QVariantList macs = YmWorkshopDay::simpleDay().macList;
    {
        Writer w(true); // the day as the demo host pushes it, then shown, fully painted
        writeInitDatas(w, rows, macs);
        w.op(OpShow);
        seeds.insert(QStringLiteral("sample-day"), w.out);
    }
    {
        Writer w; // a morning of machine reports
        writeInitDatas(w, rows, macs);
        w.op(OpShow);
        for (int m = 0; m < 6; ++m) {
            const QVariantList row = rows.at(m).toList();
            writeProcess(w, row.at(2).toString(),
                         {QVariant(QVariantList{row.at(5), QVariant(), row.at(7).toInt() + 9})});
            w.op(OpUpdateMacState);
            w.string(row.at(2).toString());
            w.variant(m % 4);
            w.string(row.at(3).toString());
        }
        w.op(OpTick);
        seeds.insert(QStringLiteral("reports"), w.out);
    }
    {
        Writer w; // one plan on two rows of one machine: pieces handed out in key order
        QVariantList two;
        for (int planned : {10, 5})
            two << QVariant(
                QVariantList{QStringLiteral("PO-2412-A01"), QVariant(), QStringLiteral("MAC-001"),
                             QStringLiteral("1号机"), QStringLiteral("注塑车间"),
                             QStringLiteral("PO-2412-A01.nc"), planned, 0, 50, QVariant()});
        writeInitDatas(w, two, YmWorkshopDay::simpleDay(1).macList);
        const YmPieceMap pieces{{QStringLiteral("2024-03-05 08:15:00"), 4},
                                {QStringLiteral("2024-03-05 09:15:00"), 4},
                                {QStringLiteral("2024-03-05 10:15:00"), 4}};
        writeProcess(w, QStringLiteral("MAC-001"),
                     {QVariant(QVariantList{QStringLiteral("PO-2412-A01.nc"),
                                            QVariant::fromValue(pieces), 12})});
        seeds.insert(QStringLiteral("shared-file"), w.out);
    }
    {
        Writer w; // a host resends the day's pieces so far with every report
        QVariantList two;
        for (int planned : {10, 5})
            two << QVariant(
                QVariantList{QStringLiteral("PO-2412-B07"), QVariant(), QStringLiteral("MAC-002"),
                             QStringLiteral("2号机"), QStringLiteral("冲压车间"),
                             QStringLiteral("PO-2412-B07.nc"), planned, 0, 0, QVariant()});
        writeInitDatas(w, two, YmWorkshopDay::simpleDay(2).macList);
        YmPieceMap pieces;
        for (const char *time : {"08:15:00", "08:45:00", "09:15:00"}) {
            pieces.insert(QStringLiteral("2024-03-05 ") + QLatin1String(time), 2);
            writeProcess(w, QStringLiteral("MAC-002"),
                         {QVariant(QVariantList{QStringLiteral("PO-2412-B07.nc"),
                                                QVariant::fromValue(pieces), 2 * pieces.size()})});
            w.op(OpRepeat);
        }
        seeds.insert(QStringLiteral("resent-pieces"), w.out);
    }
    {
        Writer w; // renames, work hours, a date query, the clock passing midnight
        writeInitDatas(w, rows, macs);
        w.op(OpUpdateLv1Name);
        w.string(QStringLiteral("注塑车间"));
        w.string(QStringLiteral("冲压车间"));
        w.op(OpUpdateWorkTimeData);
        w.string(QStringLiteral("08:00:00"));
        w.string(QStringLiteral("20:00:00"));
        w.variant(600);
        w.op(OpQueryDatePlan);
        w.string(QStringLiteral("2024-03-05"));
        w.list(rows.mid(0, 4));
        w.op(OpSetClock);
        w.byte(1);
        w.string(QStringLiteral("2024-03-06 00:00:01"));
        w.op(OpTick);
        w.op(OpShow);
        w.op(OpHide);
        seeds.insert(QStringLiteral("day-change"), w.out);
    }
    {
        Writer w(true); // the board shrunk and grown around the data, fully painted
        writeInitDatas(w, rows.mid(0, 5), macs.mid(0, 5));
        w.op(OpShow);
        w.op(OpResize);
        w.raw<uint16_t>(320);
        w.raw<uint16_t>(200);
        w.op(OpResize);
        w.raw<uint16_t>(1920);
        w.raw<uint16_t>(1080);
        w.op(OpProcessEvents);
        seeds.insert(QStringLiteral("resize"), w.out);
    }
    {
        Writer w(Mode::User); // a supervisor at the plan window during the day
        writeInitDatas(w, rows, macs);
        w.op(Op(UserOpenPlans));
        w.op(Op(UserStepDate));
        w.byte(0); // the day before
        w.op(Op(UserStepDate));
        w.byte(2); // back to today
        w.op(Op(UserCriterion));
        w.byte(2); // without the machines
        w.op(Op(UserFilter));
        w.byte(0);
        w.byte(0);
        w.string(QStringLiteral("PO-2412-A01"));
        w.op(Op(UserSort));
        w.byte(1);
        w.op(Op(UserSelect));
        w.raw<uint16_t>(0);
        writeProcess(w, rows.at(0).toList().at(2).toString(),
                     {QVariant(QVariantList{rows.at(0).toList().at(5), QVariant(), 40})});
        w.op(Op(UserPlanDialog)); // a new plan on three machines
        w.byte(0);
        for (const char *text : {"PO-2412-Z99", "PO-2412-Z99.nc", "100", "90"})
            w.string(QString::fromUtf8(text));
        uint8_t machine = 0; // the first three machines
        for (const char *count : {"40", "30", "30"}) {
            w.byte(machine++);
            w.string(QString::fromUtf8(count));
        }
        w.byte(1); // accepted
        w.op(Op(UserClosePlans));
        seeds.insert(QStringLiteral("supervisor"), w.out);
    }
    return seeds;
}

void shutdown()
{
    YmNotifyManager::destroyInstance();
    delete g_host.board;
    g_host.board = nullptr;
    delete g_updates;
    g_updates = nullptr;
    delete g_app;
    g_app = nullptr;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    g_app = ymFuzzSetUp(argc, argv, "fuzz_board", makeSeeds);
    ymRegisterMetaTypes();
    ymRegisterResources();

    g_updates = new WindowUpdates;
    g_host.board = new YmWorkshopManage;
    g_host.board->setData(&g_host);
    g_host.board->setCurrentDateTimeCB(hostNow);
    g_host.board->setUpdateDateInitDataCB(hostDayChanged);
    g_host.board->setQueryDatePlanCB(hostQueryDatePlan);

    // Fonts, glyph caches and style data load once per process; loading them
    // here keeps them out of the per-input leak check.
    const YmWorkshopDay sample = YmWorkshopDay::simpleDay();
    g_host.board->initDatas(sample.planData, sample.macList, {}, QStringLiteral("08:00:00"),
                            QStringLiteral("20:00:00"), 600);
    g_host.board->show();
    repaint(kMaxPageSide);
    repaintOtherWindows(kMaxPageSide);
    startInput();
    // libFuzzer ends with exit(); tear the board and the application down
    // first, so that the exit-time leak check sees a process that cleaned up.
    // Qt keeps the styles of graphics widgets (the scaled-down board's view
    // holds some) in a global torn down at exit in reverse order of creation:
    // create it now, so that it outlives the handler that deletes the board.
    {
        QGraphicsWidget createsTheStyleRegistry;
    }
    std::atexit(shutdown);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    startInput();
    Reader in(data, size);
    run(in);
    return 0;
}
