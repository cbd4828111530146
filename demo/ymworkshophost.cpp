#include "ymworkshophost.h"

#include "ymhostdatabase.h"
#include "ymreplayfeed.h"
#include "ymstopperiodsdialog.h"
#include "ymworkhoursdialog.h"
#include "ymworkshopsimulator.h"

#include <ymworkshopmanage.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSet>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kTimeFormat = QStringLiteral("HH:mm:ss");
constexpr int kMaxPlanned = 10000000;
// Without new pieces the day's progress mark is saved at most once a minute.
constexpr int kMarkEverySeconds = 60;
// Reconnection to a lost server: first after a second, then twice as long
// each time, at most every half minute.
constexpr int kFirstRetryMs = 1000;
constexpr int kLongestRetryMs = 30000;

YmWorkshopHost *hostOf(void *data)
{
    return static_cast<YmWorkshopHost *>(data);
}

QString markKey(const QDate &day)
{
    return QStringLiteral("producedUntil:") + day.toString(kDateFormat);
}

int sumOf(const QMap<QString, int> &pieces)
{
    int sum = 0;
    for (int qty : pieces)
        sum += qty;
    return sum;
}

} // namespace

YmWorkshopHost::YmWorkshopHost(YmHostDatabase *db, YmWorkshopManage *board, QObject *parent)
    : QObject(parent)
    , m_db(db)
    , m_board(board)
{
    m_board->setData(this);
    m_board->setQueryDatePlanCB([](void *d, const QString &date) { hostOf(d)->queryPlans(date); });
    m_board->setAddDatePlanCB(
        [](void *d, const QString &date, const QString &planName, const QString &fileName,
           const QMap<QString, int> &counts,
           int notify) { hostOf(d)->addPlan(date, planName, fileName, counts, notify); });
    m_board->setEditDatePlanCB([](void *d, const QString &date, const QString &oldPlan,
                                  const QString &newPlan, const QString &oldFile,
                                  const QString &newFile, const QMap<QString, int> &counts,
                                  int notify) {
        hostOf(d)->editPlan(date, oldPlan, newPlan, oldFile, newFile, counts, notify);
    });
    m_board->setDelDatePlanCB([](void *d, const QString &date, const QString &plan) {
        hostOf(d)->deletePlan(date, plan);
    });
    m_board->setPlanStopSettingPageShowCB([](void *d) { hostOf(d)->editStopPeriods(); });
    m_board->setPlanWorkTimeSettingPageShowCB([](void *d) { hostOf(d)->editWorkHours(); });
    m_board->setUpdateDateInitDataCB([](void *d) { hostOf(d)->dayChanged(); });
    m_board->setSaveKeyAttrCB([](void *d, const QString &key, const QString &value) {
        hostOf(d)->saveSetting(key, value);
    });
    m_board->setCurrentDateTimeCB([](void *d) { return hostOf(d)->now(); });
    connect(&m_timer, &QTimer::timeout, this, &YmWorkshopHost::tick);
    m_reconnectTimer.setSingleShot(true);
    connect(&m_reconnectTimer, &QTimer::timeout, this, &YmWorkshopHost::retryConnection);
    // Another host of the workshop changed plans: answered as our own changes.
    m_db->listenForPlanChanges([this](const QDate &day) { planChangedElsewhere(day); });
    useSimulation(0);
}

YmWorkshopHost::~YmWorkshopHost()
{
    // The board may outlive us: it must not call into a dead host.
    m_board->setQueryDatePlanCB(nullptr);
    m_board->setAddDatePlanCB(nullptr);
    m_board->setEditDatePlanCB(nullptr);
    m_board->setDelDatePlanCB(nullptr);
    m_board->setPlanStopSettingPageShowCB(nullptr);
    m_board->setPlanWorkTimeSettingPageShowCB(nullptr);
    m_board->setUpdateDateInitDataCB(nullptr);
    m_board->setSaveKeyAttrCB(nullptr);
    m_board->setCurrentDateTimeCB(nullptr);
    m_board->setData(nullptr);
    m_db->listenForPlanChanges({});
    delete m_offlineBanner;
}

void YmWorkshopHost::useSimulation(quint64 seed)
{
    m_replay.reset();
    m_simulator = std::make_unique<YmWorkshopSimulator>(seed);
}

bool YmWorkshopHost::useReplay(const QString &path, const QDate &day, QStringList *problems)
{
    QSet<QString> known;
    const QList<YmMachineRecord> machines = m_db->machines();
    for (const YmMachineRecord &m : machines)
        known.insert(m.key);
    auto replay = std::make_unique<YmReplayFeed>();
    if (!replay->load(path, day, known, problems))
        return false;
    m_simulator.reset();
    m_replay = std::move(replay);
    return true;
}

void YmWorkshopHost::useNoProduction()
{
    m_simulator.reset();
    m_replay.reset();
}

QDateTime YmWorkshopHost::firstReplayEvent() const
{
    return m_replay ? m_replay->firstEventTime() : QDateTime();
}

void YmWorkshopHost::report(const QString &text)
{
    emit problem(text);
}

void YmWorkshopHost::refuseChange(const QString &text, const QString &userText, Kept kept)
{
    // The log keeps the technical detail; the user reads the reason in the
    // board's language.
    report(text);
    emit changeRefused(userText);
    if (!m_warnUser)
        return;
    const QString message = kept == Kept::Plan ? tr("修改未保存，计划保持原样。\n%1")
                                               : tr("修改未保存，原有设置保持不变。\n%1");
    QMessageBox::warning(QApplication::activeWindow(), tr("提示"), message.arg(userText),
                         tr("确定"));
}

void YmWorkshopHost::begin(const QDateTime &from, double speed)
{
    m_clock.start(from, speed);
    // switchDay() loads the stored day; runSource() adds what it produces.
    switchDay(from.date());
    runSource(from, false);
    pushToday();
}

void YmWorkshopHost::start(int intervalMs)
{
    m_timer.start(intervalMs);
}

QTime YmWorkshopHost::storedUntil(const QDate &day) const
{
    return QTime::fromString(m_db->hostState(markKey(day)), kTimeFormat);
}

void YmWorkshopHost::switchDay(const QDate &day)
{
    m_day = day;
    if (!m_db->prepareDay(day))
        report(QStringLiteral("cannot prepare the plans of %1: %2")
                   .arg(day.toString(kDateFormat), m_db->errorText()));
    loadDay();

    // Production resumes where the stored day ends, never twice.
    const QTime mark = QTime::fromString(m_db->hostState(markKey(day)), kTimeFormat);
    const QDateTime position(day, mark.isValid() ? mark : QTime(0, 0));
    m_storedUntil = position;
    if (m_simulator) {
        m_simulator->setMachines(m_machines);
        m_simulator->setWorkDay(m_db->workStart(), m_db->workEnd(), m_db->stopPeriods());
        updateSourceJobs();
        m_simulator->startAt(position);
    } else if (m_replay) {
        m_replay->setMachines(m_machines);
        m_replay->startAt(position);
    }
    m_states.clear();
    for (const YmMachineRecord &m : qAsConst(m_machines))
        m_states.insert(m.key, m_simulator ? m_simulator->state(m.key)
                               : m_replay  ? m_replay->state(m.key)
                                           : 0);
}

void YmWorkshopHost::loadDay()
{
    m_machines = m_db->machines();
    m_plans = m_db->plans(m_day);
    const QDateTime now = m_clock.now();
    m_pieces = m_db->pieceMaps(m_day, now.date() == m_day ? now.time() : QTime());
}

void YmWorkshopHost::updateSourceJobs()
{
    if (!m_simulator)
        return;
    // Everything made today counts, also pieces ahead of a clock started earlier.
    QHash<QString, QMap<QString, int>> made;
    if (m_storedUntil <= m_clock.now()) {
        // Nothing stored beyond the clock: the day in memory is all of it.
        for (auto mac = m_pieces.cbegin(); mac != m_pieces.cend(); ++mac)
            for (auto file = mac->cbegin(); file != mac->cend(); ++file)
                made[mac.key()][file.key()] = sumOf(file.value());
    } else {
        made = m_db->madeOn(m_day);
    }
    QHash<QString, QList<YmWorkshopSimulator::Job>> jobs;
    for (const YmPlanRecord &plan : qAsConst(m_plans)) {
        QList<YmWorkshopSimulator::Job> &list = jobs[plan.macKey];
        int i = 0;
        while (i < list.size() && list.at(i).first != plan.fileName)
            ++i;
        if (i == list.size())
            list.append({plan.fileName, 0});
        list[i].second += plan.planned;
    }
    for (auto it = jobs.begin(); it != jobs.end(); ++it) {
        for (YmWorkshopSimulator::Job &job : it.value())
            job.second = qMax(0, job.second - made.value(it.key()).value(job.first));
    }
    m_simulator->setJobs(jobs);
}

void YmWorkshopHost::tick()
{
    const QDateTime now = m_clock.now();
    // A new day needs its plans from the database: offline, the day waits.
    while (now.date() > m_day && m_day.isValid() && !m_offline) {
        runSource(QDateTime(m_day, QTime(23, 59, 59)), true);
        switchDay(m_day.addDays(1));
        pushToday();
    }
    runSource(now.date() > m_day ? QDateTime(m_day, QTime(23, 59, 59)) : now, true);
}

void YmWorkshopHost::runSource(const QDateTime &until, bool tellBoard)
{
    if (m_offline && m_pendingCount >= m_pendingLimit) {
        // The workshop's clock holds; what it skips is produced on reconnection.
        if (!m_pendingFullTold) {
            m_pendingFullTold = true;
            report(QStringLiteral("%1 pieces wait for the database server, as many as are kept "
                                  "in memory; production is taken in again once it is back")
                       .arg(m_pendingCount));
        }
        return;
    }
    YmProductionBatch batch;
    if (m_simulator)
        batch = m_simulator->advanceTo(until);
    else if (m_replay)
        batch = m_replay->advanceTo(until);
    else
        return;
    if (!storeBatch(batch, until))
        return;
    for (const YmStateChange &change : qAsConst(batch.states))
        m_states.insert(change.macKey, change.state);
    const QString today = m_day.toString(kDateFormat);
    for (const YmPieceRecord &piece : qAsConst(batch.pieces)) {
        if (piece.producedAt.startsWith(today))
            m_pieces[piece.macKey][piece.fileName][piece.producedAt] += piece.quantity;
    }
    if (tellBoard)
        this->tellBoard(batch);
}

bool YmWorkshopHost::storeBatch(const YmProductionBatch &batch, const QDateTime &position)
{
    if (batch.pieces.isEmpty() && m_storedUntil.secsTo(position) < kMarkEverySeconds)
        return true;
    const QDateTime mark
        = position.date() == m_day ? position : QDateTime(m_day, QTime(23, 59, 59));
    const QString value = mark.time().toString(kTimeFormat);
    if (m_offline) {
        keepPending(batch.pieces, markKey(m_day), value, false);
        m_storedUntil = mark;
        return true;
    }
    if (!m_db->storePieces(batch.pieces, markKey(m_day), value)) {
        // The server may have taken the commit before the connection broke.
        if (checkConnection()) {
            keepPending(batch.pieces, markKey(m_day), value, true);
            m_storedUntil = mark;
            return true;
        }
        // Told once per kind of failure, not four times a second.
        if (m_db->errorText() != m_storeProblem) {
            m_storeProblem = m_db->errorText();
            report(QStringLiteral("production could not be stored (%1 pieces now, more may "
                                  "follow): %2")
                       .arg(batch.pieces.size())
                       .arg(m_storeProblem));
        }
        return false;
    }
    if (!m_storeProblem.isEmpty()) {
        m_storeProblem.clear();
        report(QStringLiteral("production is stored again"));
    }
    m_storedUntil = mark;
    return true;
}

void YmWorkshopHost::tellBoard(const YmProductionBatch &batch)
{
    QHash<QString, QString> names;
    for (const YmMachineRecord &m : qAsConst(m_machines))
        names.insert(m.key, m.name);
    for (const YmStateChange &change : qAsConst(batch.states))
        m_board->updateMacState(change.macKey, change.state, names.value(change.macKey));

    // Per machine and file, the pieces that are new in this batch.
    QMap<QString, QMap<QString, PieceMap>> fresh;
    const QString today = m_day.toString(kDateFormat);
    for (const YmPieceRecord &piece : qAsConst(batch.pieces)) {
        if (piece.producedAt.startsWith(today))
            fresh[piece.macKey][piece.fileName][piece.producedAt] += piece.quantity;
    }
    for (auto it = fresh.cbegin(); it != fresh.cend(); ++it)
        m_board->updateMacProcess(it.key(), processOf(it.key(), it.value()));
}

QVariantList YmWorkshopHost::processOf(const QString &macKey,
                                       const QMap<QString, PieceMap> &fresh) const
{
    // Like a collector's report: per file the pieces made since the last
    // report and the file's count for the day. Only new pieces, because where
    // one machine carries several plans of a file the board hands every piece
    // it is offered to the next plan that lacks it.
    QVariantList process;
    for (auto it = fresh.cbegin(); it != fresh.cend(); ++it) {
        const int total = sumOf(m_pieces.value(macKey).value(it.key()));
        process.append(QVariant(QVariantList{it.key(), QVariant::fromValue(it.value()), total}));
    }
    return process;
}

int YmWorkshopHost::stateOf(const QString &macKey) const
{
    return m_states.value(macKey, 0);
}

QVariantList YmWorkshopHost::orderRows(const QDate &day) const
{
    const bool isToday = day == m_day;
    const QList<YmPlanRecord> plans = isToday ? m_plans : m_db->plans(day);
    QHash<QString, QMap<QString, PieceMap>> pieces;
    if (isToday) {
        pieces = m_pieces;
    } else if (day < m_day) {
        const QList<YmPieceRecord> dayPieces = m_db->pieces(day);
        for (const YmPieceRecord &piece : dayPieces)
            pieces[piece.macKey][piece.fileName][piece.producedAt] += piece.quantity;
    }
    QHash<QString, const YmMachineRecord *> machines;
    for (const YmMachineRecord &m : qAsConst(m_machines))
        machines.insert(m.key, &m);

    // A machine may carry several plans on one file: like the board, hand the
    // file's pieces out in time order, plan by plan, each up to its quantity.
    QHash<QString, int> rowsPerFile;
    for (const YmPlanRecord &plan : plans)
        ++rowsPerFile[plan.macKey + QLatin1Char('\n') + plan.fileName];
    QHash<QString, PieceMap> remaining;

    QVariantList rows;
    const QString date = day.toString(kDateFormat);
    QHash<QString, int> &versions = m_shownVersions[day];
    versions.clear();
    for (const YmPlanRecord &plan : plans) {
        versions.insert(plan.planName, plan.version);
        const QString fileKey = plan.macKey + QLatin1Char('\n') + plan.fileName;
        const PieceMap all = pieces.value(plan.macKey).value(plan.fileName);
        PieceMap taken;
        int completed = 0;
        if (rowsPerFile.value(fileKey) == 1) {
            taken = all;
            completed = sumOf(all);
        } else {
            if (!remaining.contains(fileKey))
                remaining.insert(fileKey, all);
            PieceMap &left = remaining[fileKey];
            while (completed < plan.planned && !left.isEmpty()) {
                auto first = left.begin();
                taken.insert(first.key(), first.value());
                completed += first.value();
                left.erase(first);
            }
        }
        const YmMachineRecord *mac = machines.value(plan.macKey);
        rows.append(
            QVariant(QVariantList{plan.planName, date, plan.macKey, mac ? mac->name : plan.macKey,
                                  mac ? mac->group : QString(), plan.fileName, plan.planned,
                                  completed, plan.notifyPercent, QVariant::fromValue(taken)}));
    }
    return rows;
}

QVariantList YmWorkshopHost::planData() const
{
    // Offline the board gets the settings it was last given.
    if (!m_offline)
        m_planSettings
            = {m_db->setting(QStringLiteral("PlanFilterCheck"), QStringLiteral("0")).toInt(),
               m_db->setting(QStringLiteral("PlanCheckOrder"), QStringLiteral("0")).toInt(),
               m_db->setting(QStringLiteral("PlanFilter"), QStringLiteral("0")).toInt()};
    return QVariantList{QVariant(orderRows(m_day))} + m_planSettings;
}

void YmWorkshopHost::pushToday()
{
    QVariantList macList;
    for (const YmMachineRecord &m : qAsConst(m_machines))
        macList.append(QVariant(QVariantList{m.key, m.name, stateOf(m.key)}));
    if (!m_offline) {
        m_stopList.clear();
        const QList<YmStopPeriod> stops = m_db->stopPeriods();
        for (const YmStopPeriod &stop : stops)
            m_stopList.append(QVariant(QVariantList{stop.name, stop.start, stop.end}));
        m_workStart = m_db->workStart();
        m_workEnd = m_db->workEnd();
    }
    m_board->initDatas(planData(), macList, m_stopList, m_workStart.toString(kTimeFormat),
                       m_workEnd.toString(kTimeFormat), m_workStart.secsTo(m_workEnd) / 60.0);
}

QDate YmWorkshopHost::parseDate(const QString &date)
{
    const QDate day = QDate::fromString(date, kDateFormat);
    if (!day.isValid())
        report(QStringLiteral("the board sent a bad date \"%1\"").arg(date));
    return day;
}

void YmWorkshopHost::queryPlans(const QString &date)
{
    const QDate day = parseDate(date);
    if (!day.isValid())
        return;
    m_queriedDay = day;
    // Offline only today's plans are at hand; the window keeps what it shows.
    if (m_offline && day != m_day) {
        report(QStringLiteral("the plans of %1 cannot be read while the database server is "
                              "away")
                   .arg(date));
        return;
    }
    m_board->queryDatePlan(date, orderRows(day));
}

QMap<QString, int> YmWorkshopHost::checkedCounts(const QMap<QString, int> &macCounts, int *tooLarge)
{
    *tooLarge = 0;
    QSet<QString> known;
    for (const YmMachineRecord &m : qAsConst(m_machines))
        known.insert(m.key);
    QMap<QString, int> counts;
    for (auto it = macCounts.cbegin(); it != macCounts.cend(); ++it) {
        if (!known.contains(it.key()))
            report(QStringLiteral("unknown machine %1 left out of the plan").arg(it.key()));
        else if (it.value() > kMaxPlanned)
            *tooLarge = it.value(); // refused whole, never cut
        else if (it.value() > 0)
            counts.insert(it.key(), it.value());
    }
    return counts;
}

bool YmWorkshopHost::refusePlan(const QDate &day, const QString &name, const QString &fileName,
                                const QMap<QString, int> &counts, int tooLarge, int notifyPercent,
                                const QString &oldName)
{
    const QString date = day.toString(kDateFormat);
    if (name.isEmpty() || fileName.trimmed().isEmpty())
        refuseChange(QStringLiteral("a plan needs a name and a file"),
                     tr("计划需要订单计划名称和文件"));
    else if (name != oldName && m_db->hasPlan(day, name))
        refuseChange(QStringLiteral("plan %1 already exists on %2").arg(name, date),
                     tr("%2 已有计划 %1，请换一个名称").arg(name, date));
    else if (tooLarge > 0)
        refuseChange(QStringLiteral("plan %1: quantity %2 is above %3")
                         .arg(name)
                         .arg(tooLarge)
                         .arg(kMaxPlanned),
                     tr("计划 %1 的数量 %2 超过上限 %3").arg(name).arg(tooLarge).arg(kMaxPlanned));
    else if (counts.isEmpty())
        refuseChange(QStringLiteral("plan %1 has no machine with a quantity").arg(name),
                     tr("计划 %1 没有设置数量的设备").arg(name));
    else if (notifyPercent < 0 || notifyPercent > 100)
        refuseChange(QStringLiteral("plan %1: notify percent %2 is not 0 to 100")
                         .arg(name)
                         .arg(notifyPercent),
                     tr("提示百分比必须是 0 到 100 之间的整数"));
    else
        return false;
    return true;
}

void YmWorkshopHost::answerPlanChange(const QDate &day)
{
    if (m_offline && day != m_day)
        return;
    if (day == m_day && !m_offline) {
        m_plans = m_db->plans(m_day);
        updateSourceJobs();
    }
    m_board->queryDatePlan(day.toString(kDateFormat), orderRows(day));
    if (day == m_day)
        pushToday();
}

void YmWorkshopHost::planChangedElsewhere(const QDate &day)
{
    if (m_offline)
        return;
    if (day == m_day) {
        m_plans = m_db->plans(m_day);
        updateSourceJobs();
    }
    // The plan window is answered only for the day it shows.
    if (day == m_queriedDay || (!m_queriedDay.isValid() && day == m_day))
        m_board->queryDatePlan(day.toString(kDateFormat), orderRows(day));
    if (day == m_day)
        pushToday();
}

void YmWorkshopHost::refuseConflictOr(const QString &failure, const QString &userFailure)
{
    if (m_db->lastWasConflict())
        refuseChange(QStringLiteral("%1 on another board before this change was stored; the "
                                    "stored plans are shown")
                         .arg(m_db->errorText()),
                     tr("计划已在另一个看板上被修改，现在显示的是已保存的计划。"));
    else
        refuseChange(failure + QStringLiteral(": ") + m_db->errorText(),
                     userFailure + writeFailureText());
}

QString YmWorkshopHost::writeFailureText() const
{
    switch (m_db->lastWriteFailure()) {
    case YmHostDatabase::WriteFailure::FileGone:
        return tr("（数据库文件已被移走或替换：请恢复文件或重新启动）");
    case YmHostDatabase::WriteFailure::ReadOnly:
        return tr("（数据库为只读，无法写入）");
    case YmHostDatabase::WriteFailure::Other:
        break;
    }
    return tr("（数据库拒绝了修改）");
}

int YmWorkshopHost::shownVersion(const QDate &day, const QString &planName) const
{
    return m_shownVersions.value(day).value(planName, 0);
}

bool YmWorkshopHost::refuseWhileOffline(const QString &what, Kept kept)
{
    if (!m_offline)
        return false;
    refuseChange(QStringLiteral("%1: the database server cannot be reached, so nothing can be "
                                "stored; try again when it is back")
                     .arg(what),
                 tr("数据库服务器无法连接，修改不能保存；请在连接恢复后重试。"), kept);
    return true;
}

bool YmWorkshopHost::checkConnection()
{
    if (m_offline)
        return true;
    if (!m_db->connectionLost())
        return false;
    goOffline();
    return true;
}

void YmWorkshopHost::goOffline()
{
    m_offline = true;
    m_pendingFullTold = false;
    m_reconnectDelayMs = kFirstRetryMs;
    m_reconnectTimer.start(m_reconnectDelayMs);
    report(QStringLiteral("the connection to the database server is lost: the board shows the "
                          "last data, production is kept in memory until it is back"));
    showOfflineBanner(true);
}

void YmWorkshopHost::keepPending(const QList<YmPieceRecord> &pieces, const QString &key,
                                 const QString &value, bool uncertain)
{
    // Batches made offline are certainly not stored and are merged; the one
    // whose commit failed with the connection stays apart, to be checked.
    if (!uncertain && !m_pending.isEmpty() && !m_pending.last().uncertain
        && m_pending.last().markKey == key) {
        m_pending.last().pieces.append(pieces);
        m_pending.last().markValue = value;
    } else {
        m_pending.append({pieces, key, value, uncertain});
    }
    m_pendingCount += pieces.size();
}

void YmWorkshopHost::retryConnection()
{
    if (!m_offline)
        return;
    const auto later = [this] {
        m_reconnectDelayMs = qMin(2 * m_reconnectDelayMs, kLongestRetryMs);
        m_reconnectTimer.start(m_reconnectDelayMs);
    };
    if (!m_db->reconnect())
        return later();
    const int kept = m_pendingCount;
    while (!m_pending.isEmpty()) {
        const Pending &batch = m_pending.first();
        // Marks only grow: a mark as far as this batch's means it is stored.
        const bool stored = batch.uncertain && m_db->hostState(batch.markKey) >= batch.markValue;
        if (!stored && !m_db->storePieces(batch.pieces, batch.markKey, batch.markValue)) {
            if (!m_db->connectionLost())
                report(QStringLiteral("production kept offline could not be stored yet: %1")
                           .arg(m_db->errorText()));
            return later();
        }
        m_pendingCount -= batch.pieces.size();
        m_pending.removeFirst();
    }
    m_offline = false;
    m_reconnectTimer.stop();
    showOfflineBanner(false);
    report(QStringLiteral("the database server is back; %1 pieces kept meanwhile are stored")
               .arg(kept));
    // Plans may have changed meanwhile on other boards.
    planChangedElsewhere(m_day);
    if (m_queriedDay.isValid() && m_queriedDay != m_day)
        planChangedElsewhere(m_queriedDay);
}

void YmWorkshopHost::showOfflineBanner(bool shown)
{
    if (!shown) {
        if (m_offlineBanner)
            m_offlineBanner->hide();
        return;
    }
    QWidget *window = nullptr;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->windowTitle() == QStringLiteral("车间管理看板"))
            window = w;
    }
    if (!window)
        return;
    if (!m_offlineBanner) {
        m_offlineBanner = new QLabel(window);
        m_offlineBanner->setObjectName(QStringLiteral("hostOfflineBanner"));
        m_offlineBanner->setAlignment(Qt::AlignCenter);
        m_offlineBanner->setStyleSheet(QStringLiteral(
            "QLabel { background: rgba(160, 20, 20, 220); color: white; padding: 6px 18px; "
            "border-radius: 6px; font-size: 18px; }"));
        m_offlineBanner->setText(tr("数据库服务器连接中断：看板显示最后的数据，产量暂存内存，"
                                    "连接恢复后写入"));
    }
    m_offlineBanner->adjustSize();
    m_offlineBanner->move((window->width() - m_offlineBanner->width()) / 2, 4);
    m_offlineBanner->raise();
    m_offlineBanner->show();
}

bool YmWorkshopHost::addPlan(const QString &date, const QString &planName, const QString &fileName,
                             const QMap<QString, int> &macCounts, int notifyPercent)
{
    const QDate day = parseDate(date);
    if (!day.isValid())
        return false;
    bool stored = false;
    const QString name = planName.trimmed();
    int tooLarge = 0;
    const QMap<QString, int> counts = checkedCounts(macCounts, &tooLarge);
    if (refuseWhileOffline(QStringLiteral("plan %1 was not added").arg(name)))
        ;
    else if (!refusePlan(day, name, fileName, counts, tooLarge, notifyPercent, QString())
             && !(stored = m_db->addPlan(day, name, fileName.trimmed(), counts, notifyPercent)))
        refuseChange(QStringLiteral("plan %1 could not be stored: %2").arg(name, m_db->errorText()),
                     tr("计划 %1 未能保存").arg(name) + writeFailureText());
    if (!stored)
        checkConnection();
    answerPlanChange(day);
    return stored;
}

bool YmWorkshopHost::editPlan(const QString &date, const QString &oldPlanName,
                              const QString &newPlanName, const QString &oldFileName,
                              const QString &newFileName, const QMap<QString, int> &macCounts,
                              int notifyPercent)
{
    Q_UNUSED(oldFileName) // a plan is known by its name on its day
    const QDate day = parseDate(date);
    if (!day.isValid())
        return false;
    bool stored = false;
    const QString name = newPlanName.trimmed();
    int tooLarge = 0;
    const QMap<QString, int> counts = checkedCounts(macCounts, &tooLarge);
    if (refuseWhileOffline(QStringLiteral("plan %1 was not changed").arg(oldPlanName)))
        ;
    else if (!m_db->hasPlan(day, oldPlanName) && shownVersion(day, oldPlanName) > 0)
        refuseChange(
            QStringLiteral("plan %1 was deleted on another board before this change; "
                           "the stored plans are shown")
                .arg(oldPlanName),
            tr("计划 %1 已在另一个看板上被删除，现在显示的是已保存的计划。").arg(oldPlanName));
    else if (!m_db->hasPlan(day, oldPlanName))
        refuseChange(QStringLiteral("there is no plan %1 on %2").arg(oldPlanName, date),
                     tr("%2 没有计划 %1").arg(oldPlanName, date));
    else if (!refusePlan(day, name, newFileName, counts, tooLarge, notifyPercent, oldPlanName)
             && !(stored = m_db->editPlan(day, oldPlanName, name, newFileName.trimmed(), counts,
                                          notifyPercent, shownVersion(day, oldPlanName))))
        refuseConflictOr(QStringLiteral("plan %1 could not be changed").arg(oldPlanName),
                         tr("计划 %1 未能修改").arg(oldPlanName));
    if (!stored)
        checkConnection();
    answerPlanChange(day);
    return stored;
}

bool YmWorkshopHost::deletePlan(const QString &date, const QString &planName)
{
    const QDate day = parseDate(date);
    if (!day.isValid())
        return false;
    if (refuseWhileOffline(QStringLiteral("plan %1 was not deleted").arg(planName))) {
        answerPlanChange(day);
        return false;
    }
    const bool stored = m_db->deletePlan(day, planName, shownVersion(day, planName));
    if (!stored) {
        refuseConflictOr(QStringLiteral("plan %1 could not be deleted").arg(planName),
                         tr("计划 %1 未能删除").arg(planName));
        checkConnection();
    }
    answerPlanChange(day);
    return stored;
}

void YmWorkshopHost::editStopPeriods()
{
    if (refuseWhileOffline(QStringLiteral("the stop periods cannot be changed"), Kept::Settings))
        return;
    YmStopPeriodsDialog dialog(m_db->stopPeriods(), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!m_db->setStopPeriods(dialog.periods())) {
        refuseChange(
            QStringLiteral("the stop periods could not be stored: %1").arg(m_db->errorText()),
            tr("停机时段未能保存") + writeFailureText(), Kept::Settings);
        return;
    }
    if (m_simulator)
        m_simulator->setWorkDay(m_db->workStart(), m_db->workEnd(), m_db->stopPeriods());
    pushToday();
}

void YmWorkshopHost::editWorkHours()
{
    if (refuseWhileOffline(QStringLiteral("the work hours cannot be changed"), Kept::Settings))
        return;
    YmWorkHoursDialog dialog(m_db->workStart(), m_db->workEnd(), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QTime start = dialog.startTime();
    const QTime end = dialog.endTime();
    if (!m_db->setWorkHours(start, end)) {
        refuseChange(
            QStringLiteral("the work hours could not be stored: %1").arg(m_db->errorText()),
            tr("工作时间未能保存") + writeFailureText(), Kept::Settings);
        return;
    }
    if (m_simulator)
        m_simulator->setWorkDay(start, end, m_db->stopPeriods());
    m_board->updateWorkTimeData(start.toString(kTimeFormat), end.toString(kTimeFormat),
                                start.secsTo(end) / 60);
}

void YmWorkshopHost::dayChanged()
{
    // The board saw the date turn; make sure the workshop has, then reload.
    tick();
    pushToday();
}

void YmWorkshopHost::saveSetting(const QString &key, const QString &value)
{
    // The plan window repeats its settings after every load; only a change is written.
    if (m_offline || m_db->setting(key) == value)
        return;
    if (!m_db->setSetting(key, value))
        report(QStringLiteral("setting %1 could not be stored: %2").arg(key, m_db->errorText()));
}
