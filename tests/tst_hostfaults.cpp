// The demo host when its database goes away or turns read-only under it: the
// user's plan change is refused with a clear message (problem signal, and a
// message box when the host warns the user), the database and the plan window
// keep the day as it was, and writing resumes once the file is back.
#include "ymharness.h"
#include "ymhostdatabase.h"
#include "ymtableviewplanpage.h"
#include "ymtestdatabase.h"
#include "ymworkshophost.h"
#include "ymworkshopmanage.h"

#include "ymtestsupport.h"
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <QtTest>

namespace {

QStringList stored(const YmHostDatabase &db)
{
    QStringList out;
    for (const YmPlanRecord &p : db.plans(kDay))
        out << QStringLiteral("%1|%2|%3").arg(p.planName, p.macKey).arg(p.planned);
    return out;
}

QStringList shown(const YmTableViewPlanPage *page)
{
    QStringList out;
    for (const QVariant &v : asPayload(page->model().planList())) {
        const QVariantList r = v.toList();
        out << QStringLiteral("%1|%2|%3")
                   .arg(r.value(0).toString(), r.value(2).toString())
                   .arg(r.value(6).toInt());
    }
    return out;
}

// The host's own connection: what a read-only mount would do to it.
void setQueryOnly(bool on)
{
    for (const QString &name : QSqlDatabase::connectionNames()) {
        if (name.startsWith(QLatin1String("ymhost-")))
            QSqlQuery(QSqlDatabase::database(name))
                .exec(QStringLiteral("PRAGMA query_only = %1").arg(on ? 1 : 0));
    }
}

struct Workshop
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("workshop.db"));
    YmHostDatabase db;
    YmWorkshopManage board;
    std::unique_ptr<YmWorkshopHost> host;
    YmTableViewPlanPage *page = nullptr;

    Workshop()
    {
        if (db.open(path) != YmHostDatabase::Status::Ok || !db.seedIfEmpty(kDay))
            qFatal("cannot open %s", qPrintable(db.errorText()));
        host = std::make_unique<YmWorkshopHost>(&db, &board);
        host->useSimulation(3);
        host->begin(QDateTime(kDay, QTime(7, 0)), 0);
        page = topLevels<YmTableViewPlanPage>().value(0);
    }
};

} // namespace

class TstHostFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void editsRefusedWhileTheFileIsGone_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("removed") << "removed";
        QTest::newRow("renamed") << "renamed";
        QTest::newRow("replaced") << "replaced";
        QTest::newRow("read-only") << "read-only";
    }
    void editsRefusedWhileTheFileIsGone()
    {
        QFETCH(QString, fault);
        Workshop w;
        QVERIFY(w.page);
        const QStringList before = stored(w.db);
        QCOMPARE(shown(w.page), before);
        const QString moved = w.path + QStringLiteral(".moved");

        // Given the file goes away (or turns read-only) while the host runs
        if (fault == QLatin1String("removed"))
            QVERIFY(QFile::remove(w.path));
        else if (fault == QLatin1String("renamed"))
            QVERIFY(QFile::rename(w.path, moved));
        else if (fault == QLatin1String("replaced")) {
            QVERIFY(QFile::rename(w.path, moved));
            QVERIFY(QFile::copy(moved, w.path));
        } else
            setQueryOnly(true);
        // The log says why in English, the user reads it in the board's language.
        const bool readOnly = fault == QLatin1String("read-only");
        const QString why
            = readOnly ? QStringLiteral("read-only") : QStringLiteral("removed or replaced");
        const QString told = readOnly ? QStringLiteral("数据库为只读")
                                      : QStringLiteral("数据库文件已被移走或替换");

        // When the user adds, edits and deletes plans in the plan window
        QSignalSpy problems(w.host.get(), &YmWorkshopHost::problem);
        w.host->setWarnUser(true);
        {
            ModalScript script({press()});
            emit w.page->sAddDatePlan(kDate, QStringLiteral("PO-2001"), QStringLiteral("N.nc"),
                                      {{QStringLiteral("MAC-001"), 40}}, 80);
            QCOMPARE(script.seen.size(), 1);
            const QString box = script.seen.first();
            QVERIFY2(box.startsWith(QStringLiteral("提示|")) && box.contains(told)
                         && !box.contains(why),
                     qPrintable(box));
        }
        w.host->setWarnUser(false);
        QVERIFY(!w.host->editPlan(kDate, QStringLiteral("PO-1001"), QStringLiteral("PO-1001"),
                                  QStringLiteral("HX-1020.nc"), QStringLiteral("HX-1020.nc"),
                                  {{QStringLiteral("MAC-001"), 5}}, 10));
        QVERIFY(!w.host->deletePlan(kDate, QStringLiteral("PO-1002")));

        // Then each is refused with the reason, and nothing changed anywhere
        QCOMPARE(problems.count(), 3);
        for (const QList<QVariant> &p : problems)
            QVERIFY2(p.value(0).toString().contains(why), qPrintable(p.value(0).toString()));
        QCOMPARE(stored(w.db), before);
        QCOMPARE(shown(w.page), before);

        // A refused change of the work hours says the settings stay, not a plan
        w.host->setWarnUser(true);
        {
            ModalScript script(
                {[](QWidget *dialog) { qobject_cast<QDialog *>(dialog)->accept(); }, press()});
            w.host->editWorkHours();
            QVERIFY(script.seen.value(0).startsWith(QStringLiteral("dialog:")));
            QVERIFY2(script.seen.value(1).startsWith(
                         QStringLiteral("提示|修改未保存，原有设置保持不变。\n工作时间未能保存")),
                     qPrintable(script.seen.value(1)));
        }
        w.host->setWarnUser(false);

        // And production is not stored either, which is told once, not every tick
        problems.clear();
        for (int minute = 1; minute <= 90; ++minute) {
            w.host->clock().start(QDateTime(kDay, QTime(8, 0).addSecs(60 * minute)), 0);
            w.host->tick();
        }
        QCOMPARE(problems.count(), 1);
        QVERIFY(problems.at(0).value(0).toString().startsWith(QLatin1String("production")));

        // Once the file is back, the next change is stored
        if (fault == QLatin1String("removed"))
            return; // a removed file does not come back
        if (fault == QLatin1String("read-only"))
            setQueryOnly(false);
        else {
            QFile::remove(w.path);
            QVERIFY(QFile::rename(moved, w.path));
        }
        QVERIFY(w.host->addPlan(kDate, QStringLiteral("PO-2001"), QStringLiteral("N.nc"),
                                {{QStringLiteral("MAC-001"), 40}}, 80));
        QCOMPARE(stored(w.db), before + QStringList{QStringLiteral("PO-2001|MAC-001|40")});
        QCOMPARE(shown(w.page), stored(w.db));
    }
};

QTEST_MAIN(TstHostFaults)
#include "tst_hostfaults.moc"
