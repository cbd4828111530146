// A short soak of the demo host: two simulated hours on 100 machines with a
// user adding, editing, deleting plans, changing the date and the grouping in
// the plan window. Nothing the user changed is lost or doubled, the board's
// totals equal a recount from the database, and memory does not run away.
#include "ymharness.h"
#include "ymhostdatabase.h"
#include "ymsoakrun.h"

#include <QtTest>

class TstHostSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void largeWorkshopSeed()
    {
        YmHostDatabase db;
        QCOMPARE(db.open(QStringLiteral(":memory:")), YmHostDatabase::Status::Ok);
        QVERIFY(db.seedIfEmpty(QDate(2026, 3, 5), 500));
        const QList<YmMachineRecord> machines = db.machines();
        QCOMPARE(machines.size(), 500);
        QMap<QString, int> perGroup;
        for (const YmMachineRecord &m : machines)
            ++perGroup[m.group];
        // 500 / 12.5 = 40 groups of 12 and 13 machines in turn.
        QCOMPARE(perGroup.size(), 40);
        QCOMPARE(perGroup.value(QStringLiteral("注塑车间")), 12);
        QCOMPARE(perGroup.value(QStringLiteral("冲压车间")), 13);
        QCOMPARE(machines.last().group, QStringLiteral("装配车间10"));
        const QList<YmPlanRecord> plans = db.plans(QDate(2026, 3, 5));
        // Per group of 12: 4 + 4 machines on the first plan, 4 + 4 on the second;
        // of 13: 5 + 4 and 4 + 4. 20 * 16 + 20 * 17 rows.
        QCOMPARE(plans.size(), 660);
        QCOMPARE(plans.last().planName, QStringLiteral("PO-1080"));
        QCOMPARE(plans.last().fileName, QStringLiteral("DG-7788-10.nc"));
        QCOMPARE(plans.last().macKey, QStringLiteral("MAC-500"));
    }

    void twoHoursOnAHundredMachines()
    {
        YmSoakOptions options;
        options.machines = 100;
        options.day = QDate(2026, 3, 5);
        // The last hour of work and the first quiet hour after it.
        options.from = QTime(17, 0);
        options.hours = 2;
        options.stepSeconds = 60;
        options.actionsPerHour = 60 * 60; // an action every tick
        options.seed = 7;
        const YmSoakResult r = YmSoakRun::run(options);
        for (const QString &line : r.summary())
            qInfo("%s", qPrintable(line));

        QVERIFY2(r.ok(), qPrintable(r.failures.join(QLatin1Char('\n'))));
        QCOMPARE(r.ticks, 120);
        QCOMPARE(r.actions, 120);
        // Enough of each kind of action to mean something.
        QVERIFY(r.adds >= 10);
        QVERIFY(r.edits >= 10);
        QVERIFY(r.deletes >= 10);
        QVERIFY(r.refusedAdds >= 2);
        QVERIFY(r.dateChanges >= 10);
        QVERIFY(r.groupingChanges >= 10);
        // Every change reached the host once and is stored once.
        QCOMPARE(r.planCallbacks, r.adds + r.edits + r.deletes + r.refusedAdds);
        QCOMPARE(r.changesFound, r.changesMade);
        QCOMPARE(r.changesMade, r.adds + r.edits + r.deletes);
        QCOMPARE(r.refusedFound, 0);
        QVERIFY(r.finalStateOk);
        QVERIFY(r.settingsOk);
        QCOMPARE(r.windowMismatches, 0);
        QCOMPARE(r.windowChecks, r.actions);
        // Samples at 17:00, 18:00 and 19:00, each with the board equal to the recount.
        QCOMPARE(r.hours.size(), 3);
        QCOMPARE(r.totalsMismatches, 0);
        QVERIFY(r.dbCompleted > 0);
        QCOMPARE(r.boardCompleted, r.dbCompleted);
        QCOMPARE(r.boardPlanned, r.dbPlanned);
        QVERIFY(r.piecesStored >= r.dbCompleted);
        // Resident memory measured, and flat over the hour after production stopped.
        QVERIFY(r.rssStartKb > 0);
        QCOMPARE(r.hours.at(1).at, QTime(18, 0));
        QVERIFY(r.hours.at(1).rssKb > 0);
        QVERIFY2(r.rssEveningGrowthKb < 8 * 1024,
                 qPrintable(QStringLiteral("grew %1 KiB").arg(r.rssEveningGrowthKb)));
    }
};

QTEST_MAIN(TstHostSoak)
#include "tst_hostsoak.moc"
