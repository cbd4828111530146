// A short soak of the demo host: two simulated hours on 100 machines with a
// user adding, editing, deleting plans, changing the date and the grouping in
// the plan window. Nothing the user changed is lost or doubled, the board's
// totals equal a recount from the database, and memory does not run away.
#include "ymplatformmessagefilter.h"
#include "ymresources.h"
#include "ymsoakrun.h"

#include <QtTest>

class TstHostSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        YmPlatformMessageFilter::install();
        ymRegisterResources();
    }

    void twoHoursOnAHundredMachines()
    {
        YmSoakOptions options;
        options.machines = 100;
        options.day = QDate(2026, 3, 5);
        // The last hour of work and the first quiet hour after it.
        options.from = QTime(17, 0);
        options.hours = 2;
        options.stepSeconds = 30;
        options.actionsPerHour = 240; // one action every other tick
        options.seed = 7;
        const YmSoakResult r = YmSoakRun::run(options);
        for (const QString &line : r.summary())
            qInfo("%s", qPrintable(line));

        QVERIFY2(r.ok(), qPrintable(r.failures.join(QLatin1Char('\n'))));
        QCOMPARE(r.ticks, 240);
        // Enough of each kind of action to mean something.
        QVERIFY(r.adds >= 20);
        QVERIFY(r.edits >= 20);
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
        // Resident memory measured and bounded over the run.
        QVERIFY(r.rssStartKb > 0);
        QVERIFY2(r.rssEndKb - r.rssStartKb < 64 * 1024,
                 qPrintable(QStringLiteral("grew %1 KiB").arg(r.rssEndKb - r.rssStartKb)));
    }
};

QTEST_MAIN(TstHostSoak)
#include "tst_hostsoak.moc"
