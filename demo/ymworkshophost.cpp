#include "ymworkshophost.h"

#include "ymhostdatabase.h"
#include "ymreplayfeed.h"
#include "ymstopperiodsdialog.h"
#include "ymworkhoursdialog.h"
#include "ymworkshopsimulator.h"

#include <ymworkshopmanage.h>

#include <QApplication>
#include <QSet>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kTimeFormat = QStringLiteral("HH:mm:ss");
constexpr int kMaxPlanned = 10000000;
// Without new pieces the day's progress mark is saved at most once a minute.
constexpr int kMarkEverySeconds = 60;

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
}

void YmWorkshopHost::useSimulation(quint64 seed)
{
    m_replay.reset();
    m_simulator = std::make_unique<YmWorkshopSimulator>(seed);
}

bool YmWorkshopHost::useReplay(const QString &path, const QDate &day, QStringList *problems)
{
    QSet<QString> known;
    for (const YmMachineRecord &m : m_db->machines())
        known.insert(m.key);
    auto replay = std::make_unique<YmReplayFeed>();
    if (!replay->load(path, day, known, problems))
        return false;
    m_simulator.reset();
    m_replay = std::move(replay);
    return true;
}

QDateTime YmWorkshopHost::firstReplayEvent() const
{
    return m_replay ? m_replay->firstEventTime() : QDateTime();
}

void YmWorkshopHost::report(const QString &text)
{
    emit problem(text);
}

void YmWorkshopHost::begin(const QDateTime &from, double speed)
{
    m_clock.start(from, speed);
    switchDay(from.date());
    runSource(from, false);
    loadDay();
    pushToday();
}

void YmWorkshopHost::start(int intervalMs)
{
    m_timer.start(intervalMs);
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
    for (const YmMachineRecord &m : m_machines)
        m_states.insert(m.key, m_simulator ? m_simulator->state(m.key) : m_replay->state(m.key));
}

void YmWorkshopHost::loadDay()
{
    m_machines = m_db->machines();
    m_plans = m_db->plans(m_day);
    m_pieces.clear();
    const QDateTime now = m_clock.now();
    const QTime upTo = now.date() == m_day ? now.time() : QTime();
    for (const YmPieceRecord &piece : m_db->pieces(m_day, upTo))
        m_pieces[piece.macKey][piece.fileName][piece.producedAt] += piece.quantity;
}

void YmWorkshopHost::updateSourceJobs()
{
    if (!m_simulator)
        return;
    // Everything made today counts, also pieces ahead of a clock started earlier.
    QHash<QString, QMap<QString, int>> made;
    for (const YmPieceRecord &piece : m_db->pieces(m_day))
        made[piece.macKey][piece.fileName] += piece.quantity;
    QHash<QString, QList<YmWorkshopSimulator::Job>> jobs;
    for (const YmPlanRecord &plan : m_plans) {
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
    while (now.date() > m_day && m_day.isValid()) {
        runSource(QDateTime(m_day, QTime(23, 59, 59)), true);
        switchDay(m_day.addDays(1));
        pushToday();
    }
    runSource(now, true);
}

void YmWorkshopHost::runSource(const QDateTime &until, bool tellBoard)
{
    YmProductionBatch batch;
    if (m_simulator)
        batch = m_simulator->advanceTo(until);
    else if (m_replay)
        batch = m_replay->advanceTo(until);
    else
        return;
    if (!storeBatch(batch, until))
        return;
    for (const YmStateChange &change : batch.states)
        m_states.insert(change.macKey, change.state);
    const QString today = m_day.toString(kDateFormat);
    for (const YmPieceRecord &piece : batch.pieces) {
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
    if (!m_db->storePieces(batch.pieces, markKey(m_day), mark.time().toString(kTimeFormat))) {
        report(QStringLiteral("%1 pieces could not be stored: %2")
                   .arg(batch.pieces.size())
                   .arg(m_db->errorText()));
        return false;
    }
    m_storedUntil = mark;
    return true;
}

void YmWorkshopHost::tellBoard(const YmProductionBatch &batch)
{
    QHash<QString, QString> names;
    for (const YmMachineRecord &m : m_machines)
        names.insert(m.key, m.name);
    for (const YmStateChange &change : batch.states)
        m_board->updateMacState(change.macKey, change.state, names.value(change.macKey));

    // Per machine and file, the pieces that are new in this batch.
    QMap<QString, QMap<QString, PieceMap>> fresh;
    const QString today = m_day.toString(kDateFormat);
    for (const YmPieceRecord &piece : batch.pieces) {
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
        for (const YmPieceRecord &piece : m_db->pieces(day))
            pieces[piece.macKey][piece.fileName][piece.producedAt] += piece.quantity;
    }
    QHash<QString, const YmMachineRecord *> machines;
    for (const YmMachineRecord &m : m_machines)
        machines.insert(m.key, &m);

    // A machine may carry several plans on one file: like the board, hand the
    // file's pieces out in time order, plan by plan, each up to its quantity.
    QHash<QString, int> rowsPerFile;
    for (const YmPlanRecord &plan : plans)
        ++rowsPerFile[plan.macKey + QLatin1Char('\n') + plan.fileName];
    QHash<QString, PieceMap> remaining;

    QVariantList rows;
    const QString date = day.toString(kDateFormat);
    for (const YmPlanRecord &plan : plans) {
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
    return {QVariant(orderRows(m_day)),
            m_db->setting(QStringLiteral("PlanFilterCheck"), QStringLiteral("0")).toInt(),
            m_db->setting(QStringLiteral("PlanCheckOrder"), QStringLiteral("0")).toInt(),
            m_db->setting(QStringLiteral("PlanFilter"), QStringLiteral("0")).toInt()};
}

void YmWorkshopHost::pushToday()
{
    QVariantList macList;
    for (const YmMachineRecord &m : m_machines)
        macList.append(QVariant(QVariantList{m.key, m.name, stateOf(m.key)}));
    QVariantList stopList;
    for (const YmStopPeriod &stop : m_db->stopPeriods())
        stopList.append(QVariant(QVariantList{stop.name, stop.start, stop.end}));
    const QTime start = m_db->workStart();
    const QTime end = m_db->workEnd();
    m_board->initDatas(planData(), macList, stopList, start.toString(kTimeFormat),
                       end.toString(kTimeFormat), start.secsTo(end) / 60.0);
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
    if (day.isValid())
        m_board->queryDatePlan(date, orderRows(day));
}

QMap<QString, int> YmWorkshopHost::checkedCounts(const QMap<QString, int> &macCounts)
{
    QSet<QString> known;
    for (const YmMachineRecord &m : m_machines)
        known.insert(m.key);
    QMap<QString, int> counts;
    for (auto it = macCounts.cbegin(); it != macCounts.cend(); ++it) {
        if (!known.contains(it.key()))
            report(QStringLiteral("unknown machine %1 left out of the plan").arg(it.key()));
        else if (it.value() > 0)
            counts.insert(it.key(), qMin(it.value(), kMaxPlanned));
    }
    return counts;
}

void YmWorkshopHost::answerPlanChange(const QDate &day)
{
    if (day == m_day) {
        m_plans = m_db->plans(m_day);
        updateSourceJobs();
    }
    m_board->queryDatePlan(day.toString(kDateFormat), orderRows(day));
    if (day == m_day)
        pushToday();
}

void YmWorkshopHost::addPlan(const QString &date, const QString &planName, const QString &fileName,
                             const QMap<QString, int> &macCounts, int notifyPercent)
{
    const QDate day = parseDate(date);
    if (!day.isValid())
        return;
    const QString name = planName.trimmed();
    const QMap<QString, int> counts = checkedCounts(macCounts);
    if (name.isEmpty() || fileName.trimmed().isEmpty())
        report(QStringLiteral("a plan needs a name and a file"));
    else if (m_db->hasPlan(day, name))
        report(QStringLiteral("plan %1 already exists on %2").arg(name, date));
    else if (counts.isEmpty())
        report(QStringLiteral("plan %1 has no machine with a quantity").arg(name));
    else if (!m_db->addPlan(day, name, fileName.trimmed(), counts, qMax(0, notifyPercent)))
        report(QStringLiteral("plan %1 could not be stored: %2").arg(name, m_db->errorText()));
    answerPlanChange(day);
}

void YmWorkshopHost::editPlan(const QString &date, const QString &oldPlanName,
                              const QString &newPlanName, const QString &oldFileName,
                              const QString &newFileName, const QMap<QString, int> &macCounts,
                              int notifyPercent)
{
    Q_UNUSED(oldFileName) // a plan is known by its name on its day
    const QDate day = parseDate(date);
    if (!day.isValid())
        return;
    const QString name = newPlanName.trimmed();
    const QMap<QString, int> counts = checkedCounts(macCounts);
    if (!m_db->hasPlan(day, oldPlanName))
        report(QStringLiteral("there is no plan %1 on %2").arg(oldPlanName, date));
    else if (name.isEmpty() || newFileName.trimmed().isEmpty())
        report(QStringLiteral("a plan needs a name and a file"));
    else if (name != oldPlanName && m_db->hasPlan(day, name))
        report(QStringLiteral("plan %1 already exists on %2").arg(name, date));
    else if (counts.isEmpty())
        report(QStringLiteral("plan %1 has no machine with a quantity").arg(name));
    else if (!m_db->editPlan(day, oldPlanName, name, newFileName.trimmed(), counts,
                             qMax(0, notifyPercent)))
        report(QStringLiteral("plan %1 could not be changed: %2").arg(name, m_db->errorText()));
    answerPlanChange(day);
}

void YmWorkshopHost::deletePlan(const QString &date, const QString &planName)
{
    const QDate day = parseDate(date);
    if (!day.isValid())
        return;
    if (!m_db->deletePlan(day, planName))
        report(QStringLiteral("plan %1 could not be deleted: %2").arg(planName, m_db->errorText()));
    answerPlanChange(day);
}

void YmWorkshopHost::editStopPeriods()
{
    YmStopPeriodsDialog dialog(m_db->stopPeriods(), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!m_db->setStopPeriods(dialog.periods())) {
        report(QStringLiteral("the stop periods could not be stored: %1").arg(m_db->errorText()));
        return;
    }
    if (m_simulator)
        m_simulator->setWorkDay(m_db->workStart(), m_db->workEnd(), m_db->stopPeriods());
    pushToday();
}

void YmWorkshopHost::editWorkHours()
{
    YmWorkHoursDialog dialog(m_db->workStart(), m_db->workEnd(), QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QTime start = dialog.startTime();
    const QTime end = dialog.endTime();
    if (!m_db->setWorkHours(start, end)) {
        report(QStringLiteral("the work hours could not be stored: %1").arg(m_db->errorText()));
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
    if (!m_db->setSetting(key, value))
        report(QStringLiteral("setting %1 could not be stored: %2").arg(key, m_db->errorText()));
}
