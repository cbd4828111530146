#include "ymsoakrun.h"

#include "ymhostdatabase.h"
#include "ymtableviewplanpage.h"
#include "ymworkshophost.h"
#include "ymworkshopmanage.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopmanagepage.h"
#include "ymworkshopplanratechart.h"
#include "ymworkshopplanratepage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

struct Plan
{
    QString file;
    QMap<QString, int> counts;
    int notify = 0;
};
using DayPlans = QMap<QString, Plan>; // plan name -> plan

// "plan|file|machine|planned|notify", sorted: a day's plans compared as a multiset.
QStringList rowsOf(const DayPlans &plans)
{
    QStringList rows;
    for (auto p = plans.cbegin(); p != plans.cend(); ++p) {
        for (auto c = p->counts.cbegin(); c != p->counts.cend(); ++c)
            rows << QStringLiteral("%1|%2|%3|%4|%5")
                        .arg(p.key(), p->file, c.key())
                        .arg(c.value())
                        .arg(p->notify);
    }
    rows.sort();
    return rows;
}

// Reads the host's database over a connection of its own.
class Checker
{
public:
    explicit Checker(const QString &path)
        : m_name(QStringLiteral("ymsoak-check"))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
    }
    ~Checker() { QSqlDatabase::removeDatabase(m_name); }

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    QStringList rows(const QString &date) const
    {
        QSqlQuery q(db());
        q.prepare(QStringLiteral("SELECT plan_name, file_name, mac_key, planned, notify_percent "
                                 "FROM plans WHERE plan_date = ?"));
        q.addBindValue(date);
        q.exec();
        QStringList rows;
        while (q.next())
            rows << QStringLiteral("%1|%2|%3|%4|%5")
                        .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString())
                        .arg(q.value(3).toInt())
                        .arg(q.value(4).toInt());
        rows.sort();
        return rows;
    }

    DayPlans plans(const QString &date) const
    {
        QSqlQuery q(db());
        q.prepare(QStringLiteral("SELECT plan_name, file_name, mac_key, planned, notify_percent "
                                 "FROM plans WHERE plan_date = ?"));
        q.addBindValue(date);
        q.exec();
        DayPlans plans;
        while (q.next()) {
            Plan &p = plans[q.value(0).toString()];
            p.file = q.value(1).toString();
            p.counts.insert(q.value(2).toString(), q.value(3).toInt());
            p.notify = q.value(4).toInt();
        }
        return plans;
    }

    QStringList dates() const
    {
        QSqlQuery q(db());
        q.exec(QStringLiteral("SELECT DISTINCT plan_date FROM plans"));
        QStringList dates;
        while (q.next())
            dates << q.value(0).toString();
        return dates;
    }

    QStringList machines() const
    {
        QSqlQuery q(db());
        q.exec(QStringLiteral("SELECT mac_key FROM machines ORDER BY mac_key"));
        QStringList keys;
        while (q.next())
            keys << q.value(0).toString();
        return keys;
    }

    QString setting(const QString &key) const
    {
        QSqlQuery q(db());
        q.prepare(QStringLiteral("SELECT value FROM plan_settings WHERE setting_key = ?"));
        q.addBindValue(key);
        return q.exec() && q.next() ? q.value(0).toString() : QString();
    }

    qint64 pieceCount(const QString &date) const
    {
        QSqlQuery q(db());
        q.prepare(QStringLiteral("SELECT coalesce(sum(quantity), 0) FROM pieces "
                                 "WHERE produced_at BETWEEN ? AND ?"));
        q.addBindValue(QString(date + QStringLiteral(" 00:00:00")));
        q.addBindValue(QString(date + QStringLiteral(" 23:59:59")));
        return q.exec() && q.next() ? q.value(0).toLongLong() : -1;
    }

    // The board's figures recounted from the stored plans and pieces: a file
    // planned once on a machine counts all its pieces; planned several times,
    // its pieces go in time order to the day's plans in order, each until full.
    struct Sums
    {
        qint64 planned = 0;
        qint64 completed = 0;
        QMap<QString, QPair<qint64, qint64>> perPlan;
        QMap<QString, QPair<qint64, qint64>> perGroup;
    };
    Sums recount(const QString &date) const
    {
        QHash<QString, QMap<QString, int>> pieces; // machine\nfile -> time -> quantity
        QSqlQuery q(db());
        q.prepare(QStringLiteral("SELECT mac_key, file_name, produced_at, quantity FROM pieces "
                                 "WHERE produced_at BETWEEN ? AND ?"));
        q.addBindValue(QString(date + QStringLiteral(" 00:00:00")));
        q.addBindValue(QString(date + QStringLiteral(" 23:59:59")));
        q.exec();
        while (q.next())
            pieces[q.value(0).toString() + QLatin1Char('\n') + q.value(1).toString()]
                  [q.value(2).toString()]
                += q.value(3).toInt();

        struct Row
        {
            QString plan, group, slot;
            int planned;
        };
        QList<Row> rows;
        QHash<QString, int> rowsPerSlot;
        q.prepare(QStringLiteral("SELECT p.plan_name, m.group_name, p.mac_key, p.file_name, "
                                 "p.planned FROM plans p JOIN machines m ON m.mac_key = p.mac_key "
                                 "WHERE p.plan_date = ? "
                                 "ORDER BY p.seq, p.plan_name, m.sort_order, p.mac_key"));
        q.addBindValue(date);
        q.exec();
        while (q.next()) {
            const QString slot = q.value(2).toString() + QLatin1Char('\n') + q.value(3).toString();
            rows.append({q.value(0).toString(), q.value(1).toString(), slot, q.value(4).toInt()});
            ++rowsPerSlot[slot];
        }
        Sums sums;
        for (const Row &row : rows) {
            qint64 done = 0;
            QMap<QString, int> &left = pieces[row.slot];
            if (rowsPerSlot.value(row.slot) == 1) {
                for (int n : left)
                    done += n;
            } else {
                while (done < row.planned && !left.isEmpty()) {
                    done += left.first();
                    left.erase(left.begin());
                }
            }
            sums.planned += row.planned;
            sums.completed += done;
            sums.perPlan[row.plan].first += row.planned;
            sums.perPlan[row.plan].second += done;
            sums.perGroup[row.group].first += row.planned;
            sums.perGroup[row.group].second += done;
        }
        return sums;
    }

private:
    QString m_name;
};

QMap<QString, QPair<qint64, qint64>> barsOf(const QVariantList &bars)
{
    QMap<QString, QPair<qint64, qint64>> out;
    for (const QVariant &bar : bars) {
        const QVariantList b = bar.toList();
        out.insert(b.value(0).toString(), {b.value(1).toLongLong(), b.value(2).toLongLong()});
    }
    return out;
}

YmTableViewPlanPage *planWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *page = qobject_cast<YmTableViewPlanPage *>(w))
            return page;
    }
    return nullptr;
}

// The soak itself: one object per run, stepped from the event loop.
class Soak
{
public:
    Soak(const YmSoakOptions &options, YmSoakResult *result,
         const std::function<void(const QString &)> &progress)
        : o(options)
        , r(*result)
        , m_progress(progress)
        , m_rng(options.seed ^ 0x5eedu)
    {}

    bool setUp(const QString &path);
    void step();
    void finish();
    bool done() const { return m_now >= m_end; }

private:
    void fail(const QString &text)
    {
        if (r.failures.size() < 50)
            r.failures << text;
    }
    int pick(int n) { return n > 0 ? int(m_rng.bounded(quint32(n))) : 0; }
    void act();
    void addPlan(bool duplicate);
    void editPlan();
    void deletePlan();
    void changeDate();
    void changeGrouping();
    DayPlans &expected(const QString &date);
    void checkDay(const QString &date, bool change);
    void checkWindow();
    bool checkTotals();
    void sample();
    QMap<QString, int> someMachines();

    const YmSoakOptions &o;
    YmSoakResult &r;
    std::function<void(const QString &)> m_progress;
    QRandomGenerator m_rng;
    QDate m_day;
    QDateTime m_now, m_end, m_nextSample;
    std::unique_ptr<Checker> m_check;
    YmHostDatabase m_db;
    std::unique_ptr<YmWorkshopManage> m_board;
    std::unique_ptr<YmWorkshopHost> m_host;
    YmWorkshopManageMainPage *m_main = nullptr;
    YmTableViewPlanPage *m_page = nullptr;
    QStringList m_machines;
    QMap<QString, DayPlans> m_expected; // the change log replayed on each day as first seen
    QMap<QString, QString> m_settings;  // what the plan window last reported
    int m_serial = 0;
};

bool Soak::setUp(const QString &path)
{
    m_day = o.day.isValid() ? o.day : QDate::currentDate();
    if (m_db.open(path) != YmHostDatabase::Status::Ok || !m_db.seedIfEmpty(m_day, o.machines)) {
        fail(QStringLiteral("database: %1").arg(m_db.errorText()));
        return false;
    }
    m_check = std::make_unique<Checker>(path);
    m_machines = m_check->machines();
    m_board = std::make_unique<YmWorkshopManage>();
    m_host = std::make_unique<YmWorkshopHost>(&m_db, m_board.get());
    QObject::connect(m_host.get(), &YmWorkshopHost::problem, [](const QString &text) {
        std::fprintf(stderr, "host: %s\n", qPrintable(text));
    });
    m_host->useSimulation(o.seed);
    m_now = QDateTime(m_day, o.from.isValid() ? o.from : QTime(0, 0));
    m_end = qMin(m_now.addSecs(qint64(o.hours) * 3600), QDateTime(m_day, QTime(23, 59, 59)));
    m_host->begin(m_now, 0);
    m_board->show();

    m_main = YmWorkshopManagePrivate::get(m_board.get())->page->mainPage();
    m_page = planWindow();
    if (!m_page) {
        fail(QStringLiteral("no plan window after the first load"));
        return false;
    }
    m_page->resize(1280, 800);
    m_page->show();
    QObject::connect(m_main, &YmWorkshopManageMainPage::sAddDatePlan,
                     [this] { ++r.planCallbacks; });
    QObject::connect(m_main, &YmWorkshopManageMainPage::sEditDatePlan,
                     [this] { ++r.planCallbacks; });
    QObject::connect(m_main, &YmWorkshopManageMainPage::sDelDatePlan,
                     [this] { ++r.planCallbacks; });
    QObject::connect(m_main, &YmWorkshopManageMainPage::sQueryDatePlan,
                     [this] { ++r.queryCallbacks; });
    QObject::connect(m_page, &YmTableViewPlanPage::sSaveKeyAttr,
                     [this](const QString &key, const QString &value) {
                         ++r.settingCallbacks;
                         m_settings.insert(key, value);
                     });
    QCoreApplication::processEvents();
    r.rssStartKb = YmSoakRun::residentKb();
    m_nextSample = QDateTime(m_day, QTime(m_now.time().hour(), 0)).addSecs(3600);
    sample();
    return true;
}

void Soak::step()
{
    m_now = qMin(m_now.addSecs(o.stepSeconds), m_end);
    m_host->clock().start(m_now, 0);
    m_host->tick();
    ++r.ticks;
    // On average actionsPerHour actions an hour, at most one a tick.
    const double chance = o.actionsPerHour * o.stepSeconds / 3600.0;
    if (m_rng.generateDouble() < chance)
        act();
    if (m_now >= m_nextSample || m_now >= m_end) {
        sample();
        m_nextSample = m_nextSample.addSecs(3600);
    }
}

void Soak::act()
{
    ++r.actions;
    const int what = pick(100);
    if (what < 30)
        addPlan(false);
    else if (what < 55)
        editPlan();
    else if (what < 70)
        deletePlan();
    else if (what < 75)
        addPlan(true);
    else if (what < 88)
        changeDate();
    else
        changeGrouping();
    checkWindow();
}

DayPlans &Soak::expected(const QString &date)
{
    // Before its first change a day is what the database holds.
    if (!m_expected.contains(date))
        m_expected.insert(date, m_check->plans(date));
    return m_expected[date];
}

QMap<QString, int> Soak::someMachines()
{
    QMap<QString, int> counts;
    const int n = 1 + pick(4);
    while (counts.size() < n)
        counts.insert(m_machines.at(pick(m_machines.size())), 10 * (1 + pick(40)));
    return counts;
}

void Soak::addPlan(bool duplicate)
{
    const QString date = m_page->shownDateText();
    DayPlans &plans = expected(date);
    if (duplicate) {
        // A name the day already has: the host refuses, nothing changes.
        if (plans.isEmpty())
            return addPlan(false);
        ++r.refusedAdds;
        const QString name = plans.keys().at(pick(plans.size()));
        emit m_page->sAddDatePlan(date, name, QStringLiteral("DUP.nc"), someMachines(), 50);
        if (m_check->rows(date) != rowsOf(plans))
            ++r.refusedFound;
        return;
    }
    ++r.adds;
    const QString name = QStringLiteral("SOAK-%1").arg(++m_serial, 5, 10, QLatin1Char('0'));
    QString file = QStringLiteral("SF-%1.nc").arg(pick(20));
    if (!plans.isEmpty() && pick(2) == 0)
        file = plans.value(plans.keys().at(pick(plans.size()))).file;
    const Plan plan{file, someMachines(), pick(3) == 0 ? 0 : 50 + pick(51)};
    emit m_page->sAddDatePlan(date, name, plan.file, plan.counts, plan.notify);
    plans.insert(name, plan);
    checkDay(date, true);
}

void Soak::editPlan()
{
    const QString date = m_page->shownDateText();
    DayPlans &plans = expected(date);
    if (plans.isEmpty())
        return addPlan(false);
    ++r.edits;
    const QString oldName = plans.keys().at(pick(plans.size()));
    Plan plan = plans.take(oldName);
    const QString oldFile = plan.file;
    QString newName = oldName;
    if (pick(2) == 0)
        newName = QStringLiteral("SOAK-%1").arg(++m_serial, 5, 10, QLatin1Char('0'));
    if (pick(3) == 0)
        plan.file = QStringLiteral("SF-%1.nc").arg(pick(20));
    // Other quantities, and now and then one machine more or one less.
    for (int &count : plan.counts)
        count = 10 * (1 + pick(40));
    if (pick(3) == 0)
        plan.counts.insert(m_machines.at(pick(m_machines.size())), 10 * (1 + pick(40)));
    if (plan.counts.size() > 1 && pick(3) == 0)
        plan.counts.erase(plan.counts.begin() + pick(plan.counts.size()));
    plan.notify = pick(3) == 0 ? 0 : 50 + pick(51);
    emit m_page->sEditDatePlan(date, oldName, newName, oldFile, plan.file, plan.counts,
                               plan.notify);
    plans.insert(newName, plan);
    checkDay(date, true);
}

void Soak::deletePlan()
{
    const QString date = m_page->shownDateText();
    DayPlans &plans = expected(date);
    if (plans.isEmpty())
        return addPlan(false);
    ++r.deletes;
    const QString name = plans.keys().at(pick(plans.size()));
    emit m_page->sDelDatePlan(date, name);
    plans.remove(name);
    checkDay(date, true);
}

void Soak::changeDate()
{
    ++r.dateChanges;
    // The user wanders at most two days from today and comes back.
    const qint64 offset = m_day.daysTo(m_page->shownDate());
    QString button;
    const int choice = pick(3);
    if (offset >= 2 || (offset > 0 && choice == 0))
        button = QStringLiteral("pushButton_prev");
    else if (offset <= -2 || (offset < 0 && choice == 0))
        button = QStringLiteral("pushButton_next");
    else
        button = choice == 1   ? QStringLiteral("pushButton_prev")
                 : choice == 2 ? QStringLiteral("pushButton_next")
                               : QStringLiteral("pushButton");
    if (auto *b = m_page->findChild<QPushButton *>(button))
        b->click();
}

void Soak::changeGrouping()
{
    ++r.groupingChanges;
    const QStringList boxes = {QStringLiteral("checkBox_plan"), QStringLiteral("checkBox_file"),
                               QStringLiteral("checkBox_mac")};
    const int choice = pick(4);
    if (choice < 3) {
        if (auto *box = m_page->findChild<QCheckBox *>(boxes.at(choice)))
            box->click();
    } else if (auto *combo = m_page->findChild<QComboBox *>(QStringLiteral("comboBox_idx1"))) {
        if (combo->count() > 0)
            combo->setCurrentIndex(pick(combo->count()));
    }
}

void Soak::checkDay(const QString &date, bool change)
{
    const bool same = m_check->rows(date) == rowsOf(expected(date));
    if (change) {
        ++r.changesMade;
        if (same)
            ++r.changesFound;
        else
            fail(QStringLiteral("change %1 on %2 is not stored as made")
                     .arg(r.changesMade)
                     .arg(date));
    }
}

void Soak::checkWindow()
{
    // The plan window shows the stored plans of its day (plan, machine, planned)
    // and, on today, the board's own completed counts row for row.
    ++r.windowChecks;
    QStringList shown;
    for (const YmOrderRecord &row : m_page->model().planList())
        shown << QStringLiteral("%1|%2|%3").arg(row.planName, row.macKey).arg(row.planned);
    QStringList stored;
    for (const QString &row : m_check->rows(m_page->shownDateText())) {
        const QStringList f = row.split(QLatin1Char('|'));
        stored << QStringLiteral("%1|%2|%3").arg(f.value(0), f.value(2), f.value(3));
    }
    shown.sort();
    if (shown != stored) {
        ++r.windowMismatches;
        fail(QStringLiteral("the plan window shows %1 rows for %2, the database holds %3")
                 .arg(shown.size())
                 .arg(m_page->shownDateText())
                 .arg(stored.size()));
    }
    if (m_page->shownDateText() != m_day.toString(kDateFormat) || !m_page->isVisible())
        return;
    const QVector<YmOrderRecord> &board = m_main->model().rows();
    const QVector<YmOrderRecord> &window = m_page->model().planList();
    bool same = board.size() == window.size();
    for (int i = 0; same && i < board.size(); ++i)
        same = board.at(i).planName == window.at(i).planName
               && board.at(i).completed == window.at(i).completed;
    if (!same) {
        ++r.windowMismatches;
        fail(QStringLiteral("the plan window's completed counts differ from the board's on %1")
                 .arg(m_page->shownDateText()));
    }
}

bool Soak::checkTotals()
{
    ++r.totalsChecks;
    const QString today = m_day.toString(kDateFormat);
    const Checker::Sums sums = m_check->recount(today);
    const YmDashboardFigures figures = m_main->model().dashboardFigures();
    const auto *gauge = m_main->findChild<YmWorkshopPlanRatePage *>();
    r.boardPlanned = figures.totalPlanned;
    r.boardCompleted = figures.totalCompleted;
    r.dbPlanned = sums.planned;
    r.dbCompleted = sums.completed;
    QStringList wrong;
    if (figures.totalPlanned != sums.planned || figures.totalCompleted != sums.completed)
        wrong << QStringLiteral("totals %1/%2, recount %3/%4")
                     .arg(figures.totalCompleted)
                     .arg(figures.totalPlanned)
                     .arg(sums.completed)
                     .arg(sums.planned);
    if (!gauge || qint64(gauge->chart()->total()) != sums.planned
        || qint64(gauge->chart()->completed()) != sums.completed)
        wrong << QStringLiteral("completion gauge differs from the recount");
    if (barsOf(figures.planBars) != sums.perPlan)
        wrong << QStringLiteral("per-plan bars differ from the recount");
    if (barsOf(figures.groupBars) != sums.perGroup)
        wrong << QStringLiteral("per-group bars differ from the recount");
    if (wrong.isEmpty())
        return true;
    ++r.totalsMismatches;
    fail(
        QStringLiteral("at %1: %2").arg(m_now.time().toString(), wrong.join(QStringLiteral("; "))));
    return false;
}

void Soak::sample()
{
    YmSoakHour hour;
    hour.at = m_now.time();
    hour.totalsOk = checkTotals();
    hour.rssKb = YmSoakRun::residentKb();
    hour.pieces = m_check->pieceCount(m_day.toString(kDateFormat));
    hour.actions = r.actions;
    r.hours << hour;
    if (m_progress)
        m_progress(QStringLiteral("%1  rss %2 MiB  pieces %3  actions %4  totals %5")
                       .arg(hour.at.toString(QStringLiteral("HH:mm")))
                       .arg(hour.rssKb / 1024.0, 0, 'f', 1)
                       .arg(hour.pieces)
                       .arg(hour.actions)
                       .arg(hour.totalsOk ? QStringLiteral("ok") : QStringLiteral("WRONG")));
}

void Soak::finish()
{
    r.rssEndKb = YmSoakRun::residentKb();
    r.piecesStored = m_check->pieceCount(m_day.toString(kDateFormat));
    // Every day the user touched: what the database holds is exactly the
    // change log replayed on what it held before.
    bool same = true;
    for (auto it = m_expected.cbegin(); it != m_expected.cend(); ++it) {
        if (m_check->rows(it.key()) != rowsOf(it.value())) {
            same = false;
            fail(QStringLiteral("the plans of %1 differ from the change log").arg(it.key()));
        }
    }
    r.finalStateOk = same;
    if (r.refusedFound > 0)
        fail(QStringLiteral("%1 refused adds changed the database").arg(r.refusedFound));
    r.settingsOk = true;
    for (auto it = m_settings.cbegin(); it != m_settings.cend(); ++it) {
        if (m_check->setting(it.key()) != it.value()) {
            r.settingsOk = false;
            fail(QStringLiteral("setting %1 stored as \"%2\", the window said \"%3\"")
                     .arg(it.key(), m_check->setting(it.key()), it.value()));
        }
    }
    // Production ends with the work day; from then on nothing new arrives
    // but the user's clicks, so memory must not grow.
    const QTime quiet = m_db.workEnd();
    qint64 first = -1;
    for (const YmSoakHour &h : r.hours) {
        if (h.at >= quiet && first < 0)
            first = h.rssKb;
        if (h.at >= quiet)
            r.rssEveningGrowthKb = h.rssKb - first;
    }
    m_host.reset();
    m_board.reset();
}

} // namespace

qint64 YmSoakRun::residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

YmSoakResult YmSoakRun::run(const YmSoakOptions &options,
                            const std::function<void(const QString &)> &progress)
{
    YmSoakResult result;
    QElapsedTimer elapsed;
    elapsed.start();
    QTemporaryDir dir;
    const QString path
        = options.dbPath.isEmpty() ? dir.filePath(QStringLiteral("soak.db")) : options.dbPath;
    {
        Soak soak(options, &result, progress);
        if (soak.setUp(path)) {
            // Stepped from the event loop, so repaints, timers, animations and
            // deferred deletes run between the ticks as they would live.
            QEventLoop loop;
            QTimer timer;
            QObject::connect(&timer, &QTimer::timeout, [&] {
                soak.step();
                if (soak.done())
                    loop.quit();
            });
            timer.start(0);
            loop.exec();
            soak.finish();
        }
    }
    result.seconds = elapsed.elapsed() / 1000.0;
    return result;
}

QStringList YmSoakResult::summary() const
{
    QStringList out;
    out << QStringLiteral("ticks %1 in %2 s").arg(ticks).arg(seconds, 0, 'f', 1);
    out << QStringLiteral("user actions %1: %2 adds, %3 edits, %4 deletes, %5 refused adds, "
                          "%6 date changes, %7 grouping changes")
               .arg(actions)
               .arg(adds)
               .arg(edits)
               .arg(deletes)
               .arg(refusedAdds)
               .arg(dateChanges)
               .arg(groupingChanges);
    out << QStringLiteral("host callbacks: %1 plan changes, %2 date queries, %3 settings")
               .arg(planCallbacks)
               .arg(queryCallbacks)
               .arg(settingCallbacks);
    out << QStringLiteral("plan changes made %1, found in the database exactly once %2; "
                          "refused adds that changed it %3; final state %4; settings %5")
               .arg(changesMade)
               .arg(changesFound)
               .arg(refusedFound)
               .arg(finalStateOk ? QStringLiteral("ok") : QStringLiteral("WRONG"))
               .arg(settingsOk ? QStringLiteral("ok") : QStringLiteral("WRONG"));
    out << QStringLiteral("plan window checks %1, mismatches %2")
               .arg(windowChecks)
               .arg(windowMismatches);
    out << QStringLiteral("totals checks %1, mismatches %2; board %3/%4, database %5/%6 "
                          "(completed/planned); pieces stored %7")
               .arg(totalsChecks)
               .arg(totalsMismatches)
               .arg(boardCompleted)
               .arg(boardPlanned)
               .arg(dbCompleted)
               .arg(dbPlanned)
               .arg(piecesStored);
    QStringList perHour;
    for (const YmSoakHour &h : hours)
        perHour << QStringLiteral("%1 %2")
                       .arg(h.at.toString(QStringLiteral("HH:mm")))
                       .arg(h.rssKb / 1024.0, 0, 'f', 1);
    out << QStringLiteral("rss MiB per simulated hour: %1").arg(perHour.join(QStringLiteral(", ")));
    out << QStringLiteral("rss start %1 MiB, end %2 MiB, growth after production %3 MiB")
               .arg(rssStartKb / 1024.0, 0, 'f', 1)
               .arg(rssEndKb / 1024.0, 0, 'f', 1)
               .arg(rssEveningGrowthKb / 1024.0, 0, 'f', 1);
    for (const QString &f : failures)
        out << QStringLiteral("FAILED: %1").arg(f);
    return out;
}
