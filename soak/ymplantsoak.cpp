#include "ymplantsoak.h"

#include "ymdashboardfigures.h"
#include "ymhostdatabase.h"
#include "ymworkshophost.h"
#include "ymworkshopmanage.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QRandomGenerator>
#include <QTimer>

#include <memory>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
constexpr int kLiveBoundMs = 1000;

struct Plan
{
    QString file;
    QMap<QString, int> counts;
    int notify = 0;
};
using DayPlans = QMap<QString, Plan>;

QString rowText(const QString &plan, const QString &file, const QString &mac, int planned,
                int notify)
{
    return QStringLiteral("%1|%2|%3|%4|%5").arg(plan, file, mac).arg(planned).arg(notify);
}

QStringList rowsOf(const DayPlans &plans)
{
    QStringList rows;
    for (auto p = plans.cbegin(); p != plans.cend(); ++p)
        for (auto c = p->counts.cbegin(); c != p->counts.cend(); ++c)
            rows << rowText(p.key(), p->file, c.key(), c.value(), p->notify);
    rows.sort();
    return rows;
}

QStringList rowsOf(const QList<YmPlanRecord> &records)
{
    QStringList rows;
    for (const YmPlanRecord &r : records)
        rows << rowText(r.planName, r.fileName, r.macKey, r.planned, r.notifyPercent);
    rows.sort();
    return rows;
}

// One host with its board: producing, or a second board of a workshop.
struct Station
{
    QString workshop;
    YmHostDatabase db;
    std::unique_ptr<YmWorkshopManage> board;
    std::unique_ptr<YmWorkshopHost> host;
    QStringList problems;

    YmWorkshopManageMainPage *main() const
    {
        return YmWorkshopManagePrivate::get(board.get())->page->mainPage();
    }
    QStringList shownRows() const
    {
        QStringList rows;
        for (const YmOrderRecord &r : main()->model().rows())
            rows << rowText(r.planName, r.fileName, r.macKey, r.planned, r.notifyNum);
        rows.sort();
        return rows;
    }
    QStringList shownPlans() const
    {
        QStringList names;
        for (const YmOrderRecord &r : main()->model().rows())
            names << r.planName;
        names.removeDuplicates();
        return names;
    }
};

class Plant
{
public:
    Plant(const YmPlantSoakOptions &options, YmPlantSoakResult *result,
          const std::function<void(const QString &)> &progress)
        : o(options)
        , r(*result)
        , m_progress(progress)
        , m_rng(options.seed ^ 0x91a7u)
    {}

    bool setUp();
    void step();
    bool done() const { return m_now >= m_end; }
    void finish();

private:
    void fail(const QString &text)
    {
        if (r.failures.size() < 50)
            r.failures << text;
    }
    int pick(int n) { return n > 0 ? int(m_rng.bounded(quint32(n))) : 0; }
    std::unique_ptr<Station> open(const QString &workshop, bool producing);
    QMap<QString, int> someMachines();
    // One user's change of a plan (name empty: a new one); whether it was stored.
    bool change(Station &user, int workshop, QString name, bool *conflict);
    void checkStored(int workshop);
    void checkLive(int workshop);
    void checkTotals();

    const YmPlantSoakOptions &o;
    YmPlantSoakResult &r;
    std::function<void(const QString &)> m_progress;
    QRandomGenerator m_rng;
    QDate m_day;
    QDateTime m_now, m_end, m_nextSample;
    std::vector<std::unique_ptr<Station>> m_producing;
    std::vector<std::unique_ptr<Station>> m_office; // of the first two workshops
    std::vector<DayPlans> m_expected;
    QStringList m_machines;
    int m_serial = 0;
};

std::unique_ptr<Station> Plant::open(const QString &workshop, bool producing)
{
    auto s = std::make_unique<Station>();
    s->workshop = workshop;
    if (s->db.open(o.target, workshop) != YmHostDatabase::Status::Ok
        || !s->db.seedIfEmpty(m_day, o.machines)) {
        fail(QStringLiteral("%1: %2").arg(workshop, s->db.errorText()));
        return nullptr;
    }
    s->board = std::make_unique<YmWorkshopManage>();
    s->host = std::make_unique<YmWorkshopHost>(&s->db, s->board.get());
    Station *raw = s.get();
    QObject::connect(s->host.get(), &YmWorkshopHost::problem,
                     [raw](const QString &text) { raw->problems << text; });
    if (producing)
        s->host->useSimulation(o.seed + quint64(qHash(workshop)));
    else
        s->host->useNoProduction();
    s->host->begin(m_now, 0);
    return s;
}

bool Plant::setUp()
{
    m_day = QDate::currentDate();
    m_now = QDateTime(m_day, o.from);
    m_end = qMin(m_now.addSecs(qint64(o.hours) * 3600), QDateTime(m_day, QTime(23, 59, 0)));
    // Workshops of this run only, so that a server used before does not count.
    const QString run = QString::number(QDateTime::currentSecsSinceEpoch(), 36);
    for (int w = 0; w < o.workshops; ++w) {
        auto station = open(QStringLiteral("车间%1-%2").arg(w + 1).arg(run), true);
        if (!station)
            return false;
        m_producing.push_back(std::move(station));
    }
    for (int w = 0; w < qMin(2, o.workshops); ++w) {
        auto station = open(m_producing[size_t(w)]->workshop, false);
        if (!station)
            return false;
        m_office.push_back(std::move(station));
    }
    for (const auto &s : m_producing) {
        DayPlans plans;
        for (const YmPlanRecord &rec : s->db.plans(m_day)) {
            Plan &p = plans[rec.planName];
            p.file = rec.fileName;
            p.counts.insert(rec.macKey, rec.planned);
            p.notify = rec.notifyPercent;
        }
        m_expected.push_back(plans);
    }
    for (const YmMachineRecord &m : m_producing.front()->db.machines())
        m_machines << m.key;
    m_nextSample = QDateTime(m_day, QTime(m_now.time().hour(), 0)).addSecs(3600);
    return true;
}

QMap<QString, int> Plant::someMachines()
{
    QMap<QString, int> counts;
    const int n = 1 + pick(4);
    while (counts.size() < n)
        counts.insert(m_machines.at(pick(m_machines.size())), 10 * (1 + pick(40)));
    return counts;
}

bool Plant::change(Station &user, int workshop, QString name, bool *conflict)
{
    ++r.changes;
    const QString date = m_day.toString(kDateFormat);
    DayPlans &plans = m_expected[size_t(workshop)];
    const int problemsBefore = user.problems.size();
    bool stored = false;
    Plan plan{QStringLiteral("PF-%1.nc").arg(pick(12)), someMachines(), 50 + pick(51)};
    QString what;
    if (name.isEmpty()) {
        name = QStringLiteral("PLANT-%1").arg(++m_serial, 5, 10, QLatin1Char('0'));
        what = QStringLiteral("add");
        stored = user.host->addPlan(date, name, plan.file, plan.counts, plan.notify);
        if (stored)
            plans.insert(name, plan);
    } else if (pick(4) == 0) {
        what = QStringLiteral("delete");
        stored = user.host->deletePlan(date, name);
        if (stored)
            plans.remove(name);
    } else {
        what = QStringLiteral("edit");
        const QString oldFile = plans.value(name).file;
        stored
            = user.host->editPlan(date, name, name, oldFile, plan.file, plan.counts, plan.notify);
        if (stored)
            plans.insert(name, plan);
    }
    if (stored) {
        ++r.stored;
        return true;
    }
    const QString told = user.problems.mid(problemsBefore).join(QLatin1Char('\n'));
    *conflict = told.contains(QStringLiteral("on another board"));
    if (!*conflict)
        fail(QStringLiteral("%1 of %2 in %3 neither stored nor refused as a conflict: %4")
                 .arg(what, name, user.workshop, told));
    return false;
}

void Plant::checkStored(int workshop)
{
    const QStringList stored = rowsOf(m_producing[size_t(workshop)]->db.plans(m_day));
    if (stored != rowsOf(m_expected[size_t(workshop)]))
        fail(QStringLiteral("at %1 the plans of %2 differ from the changes made")
                 .arg(m_now.time().toString(), m_producing[size_t(workshop)]->workshop));
}

void Plant::checkLive(int workshop)
{
    // Both boards of the workshop show what is stored within a second.
    const QStringList stored = rowsOf(m_expected[size_t(workshop)]);
    Station &a = *m_producing[size_t(workshop)];
    Station &b = *m_office[size_t(workshop)];
    ++r.liveChecks;
    QElapsedTimer timer;
    timer.start();
    while ((a.shownRows() != stored || b.shownRows() != stored) && timer.elapsed() < kLiveBoundMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    r.liveWorstMs = qMax(r.liveWorstMs, timer.elapsed());
    if (a.shownRows() != stored || b.shownRows() != stored) {
        ++r.liveLate;
        fail(QStringLiteral("at %1 a board of %2 did not show the stored plans within a second")
                 .arg(m_now.time().toString(), a.workshop));
    }
}

void Plant::step()
{
    m_now = qMin(m_now.addSecs(o.stepSeconds), m_end);
    for (auto *group : {&m_producing, &m_office})
        for (const auto &s : *group) {
            s->host->clock().start(m_now, 0);
            s->host->tick();
        }
    ++r.ticks;
    const double chance = o.actionsPerHour * o.stepSeconds / 3600.0;
    for (int w = 0; w < int(m_office.size()); ++w) {
        Station *users[2] = {m_producing[size_t(w)].get(), m_office[size_t(w)].get()};
        bool changed = false;
        for (int u = 0; u < 2; ++u) {
            if (m_rng.generateDouble() >= chance)
                continue;
            Station &user = *users[u];
            const QStringList names = user.shownPlans();
            const QString name
                = names.isEmpty() || pick(3) == 0 ? QString() : names.at(pick(names.size()));
            bool conflict = false;
            const bool stored = change(user, w, name, &conflict);
            changed |= stored;
            r.otherConflicts += conflict;
            // Now and then the other user changes the same plan in the same
            // moment, before the news reached that board: refused, not lost.
            if (stored && !name.isEmpty() && pick(4) == 0) {
                ++r.refused;
                Station &other = *users[1 - u];
                if (change(other, w, name, &conflict)) {
                    fail(QStringLiteral("at %1 a crossing change of %2 overwrote the first")
                             .arg(m_now.time().toString(), name));
                } else if (conflict) {
                    ++r.refusedReported;
                }
            }
            checkStored(w);
        }
        if (changed)
            checkLive(w);
    }
    if (m_now >= m_nextSample || m_now >= m_end) {
        checkTotals();
        m_nextSample = m_nextSample.addSecs(3600);
    }
}

void Plant::checkTotals()
{
    // Each producing board against a recount from the server: a file planned
    // once on a machine counts all its pieces; planned several times, its
    // pieces go in time order to the day's plans in order, each until full.
    int wrong = 0;
    for (const auto &s : m_producing) {
        ++r.totalsChecks;
        QHash<QString, QMap<QString, int>> pieces;
        for (const YmPieceRecord &p : s->db.pieces(m_day, m_now.time()))
            pieces[p.macKey + QLatin1Char('\n') + p.fileName][p.producedAt] += p.quantity;
        const QList<YmPlanRecord> plans = s->db.plans(m_day);
        QHash<QString, int> rowsPerSlot;
        for (const YmPlanRecord &p : plans)
            ++rowsPerSlot[p.macKey + QLatin1Char('\n') + p.fileName];
        qint64 planned = 0;
        qint64 completed = 0;
        for (const YmPlanRecord &p : plans) {
            const QString slot = p.macKey + QLatin1Char('\n') + p.fileName;
            QMap<QString, int> &left = pieces[slot];
            qint64 done = 0;
            if (rowsPerSlot.value(slot) == 1) {
                for (int n : left)
                    done += n;
            } else {
                while (done < p.planned && !left.isEmpty()) {
                    done += left.first();
                    left.erase(left.begin());
                }
            }
            planned += p.planned;
            completed += done;
        }
        const YmDashboardFigures figures = s->main()->model().dashboardFigures();
        if (figures.totalPlanned != planned || figures.totalCompleted != completed) {
            ++wrong;
            ++r.totalsMismatches;
            fail(QStringLiteral("at %1 %2 shows %3/%4, the server recounts %5/%6")
                     .arg(m_now.time().toString(), s->workshop)
                     .arg(figures.totalCompleted)
                     .arg(figures.totalPlanned)
                     .arg(completed)
                     .arg(planned));
        }
    }
    if (m_progress)
        m_progress(QStringLiteral("%1  changes %2 (stored %3, crossing refused %4)  live worst "
                                  "%5 ms  totals %6")
                       .arg(m_now.time().toString(QStringLiteral("HH:mm")))
                       .arg(r.changes)
                       .arg(r.stored)
                       .arg(r.refusedReported)
                       .arg(r.liveWorstMs)
                       .arg(wrong == 0 ? QStringLiteral("ok") : QStringLiteral("WRONG")));
}

void Plant::finish()
{
    for (int w = 0; w < int(m_producing.size()); ++w) {
        checkStored(w);
        for (const YmPieceRecord &p : m_producing[size_t(w)]->db.pieces(m_day))
            r.piecesStored += p.quantity;
    }
    if (r.refusedReported != r.refused)
        fail(QStringLiteral("%1 crossing changes, %2 refused with a message")
                 .arg(r.refused)
                 .arg(r.refusedReported));
    m_office.clear();
    m_producing.clear();
}

} // namespace

YmPlantSoakResult YmPlantSoak::run(const YmPlantSoakOptions &options,
                                   const std::function<void(const QString &)> &progress)
{
    YmPlantSoakResult result;
    QElapsedTimer elapsed;
    elapsed.start();
    {
        Plant plant(options, &result, progress);
        if (plant.setUp()) {
            QEventLoop loop;
            QTimer timer;
            QObject::connect(&timer, &QTimer::timeout, [&] {
                plant.step();
                if (plant.done())
                    loop.quit();
            });
            timer.start(0);
            loop.exec();
            plant.finish();
        }
    }
    result.seconds = elapsed.elapsed() / 1000.0;
    return result;
}

QStringList YmPlantSoakResult::summary() const
{
    QStringList out;
    out << QStringLiteral("ticks %1 in %2 s").arg(ticks).arg(seconds, 0, 'f', 1);
    out << QStringLiteral("plan changes %1: stored and found exactly once %2; crossing changes "
                          "%3, refused with a message %4; refused on a board not yet told %5")
               .arg(changes)
               .arg(stored)
               .arg(refused)
               .arg(refusedReported)
               .arg(otherConflicts);
    out << QStringLiteral("other board up to date: %1 checks, %2 late, worst %3 ms")
               .arg(liveChecks)
               .arg(liveLate)
               .arg(liveWorstMs);
    out << QStringLiteral("totals checks %1, mismatches %2; pieces stored %3")
               .arg(totalsChecks)
               .arg(totalsMismatches)
               .arg(piecesStored);
    for (const QString &f : failures)
        out << QStringLiteral("FAILED: %1").arg(f);
    return out;
}
