// One report, one truth: the order chart, the gauge, the plan window and the
// statistics table show the counts of the board's order rows, whatever the
// reports bring (several plans on one machine and file, unknown files and
// machines, repeated and out-of-order pieces, malformed entries).
#undef QT_NO_CAST_FROM_ASCII

#include "ymclock.h"
#include "ymharness.h"
#include "ymliteralorderrows.h"
#include "ymtableviewplanpage.h"
#include "ymtableviewwidget.h"
#include "ymtestsupport.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopmanagemainpage.h"
#include "ymworkshopplanratechart.h"
#include "ymworkshopplanratepage.h"
#include "ymworkshopplantable.h"

#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

namespace {

using Literal = YmLiteralOrderRows;
using Sums = QMap<QString, QPair<qint64, qint64>>;

const QDate kToday(2024, 5, 2);

QString pieceKey(int second)
{
    return QDateTime(kToday, QTime(8, 0)).addSecs(second).toString("yyyy-MM-dd hh:mm:ss");
}

// The board below the band, its plan window shown with one row per order row.
struct Board
{
    Board()
    {
        YmClock::setFixed(QDateTime(kToday, QTime(15, 0)));
        main.resize(1600, 900);
    }
    ~Board() { YmClock::setFixed(QDateTime()); }

    void load(const QVector<Literal::Row> &rows, const QVariantList &macs)
    {
        literal.rows = rows;
        QVariantList payload;
        for (const Literal::Row &r : rows)
            payload << QVariant(QVariantList{r.plan, QVariant(), r.mac, QString(r.mac + "-name"),
                                             "G", r.file, r.planned, r.completed, 0,
                                             QVariant::fromValue(r.pieces)});
        main.initDatas({payload, 0, 123, 1}, macs, {}, "08:00:00", "18:00:00", 600);
        page = topLevels<YmTableViewPlanPage>().value(0);
        page->show();
    }

    // The views' counts.
    Sums chartByPlan() const
    {
        Sums sums;
        for (const QVariant &bar : chart()->barData()) {
            const QVariantList b = bar.toList();
            sums.insert(b.value(0).toString(), {b.value(1).toLongLong(), b.value(2).toLongLong()});
        }
        return sums;
    }
    Sums windowByPlan() const
    {
        Sums sums;
        const QAbstractItemModel *m = &page->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            auto &s = sums[m->index(r, 0).data().toString()];
            s.first += m->index(r, 3).data().toLongLong();
            s.second += m->index(r, 4).data().toLongLong();
        }
        return sums;
    }
    Sums tableByMachine() const
    {
        Sums sums;
        const YmTableModel &m = main.findChild<YmWorkshopPlanTable *>()->tableWidget()->model();
        for (int r = 0; r < m.rowCount(); ++r)
            sums.insert(m.rowKey(r), {m.rowCounts(r).first, m.rowCounts(r).second});
        return sums;
    }
    QPair<qint64, qint64> gauge() const
    {
        const auto *rate = main.findChild<YmWorkshopPlanRatePage *>()->chart();
        return {qint64(rate->total()), qint64(rate->completed())};
    }
    const YmWorkshopHorizontalBarChart *chart() const
    {
        return main.findChild<YmWorkshopHorizontalBarChart *>(
            "dockWidgetContents_datePlanTotalProgress");
    }

    YmWorkshopManageMainPage main;
    YmTableViewPlanPage *page = nullptr;
    Literal literal;
};

Sums clamped(Sums sums)
{
    for (auto &s : sums)
        s = {Literal::clamp(s.first), Literal::clamp(s.second)};
    return sums;
}

QString text(const Sums &sums)
{
    QStringList parts;
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        parts << QString("%1 %2/%3").arg(it.key()).arg(it->second).arg(it->first);
    return parts.join(", ");
}

} // namespace

class TstOneTruth : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    // Two plans of 100 on one machine and file; 150 pieces arrive. The first
    // plan is full, the second has the rest, in every view.
    void sharedFile()
    {
        Board b;
        b.load({{"P1", "k1", "F", 100, 0, {}}, {"P2", "k1", "F", 100, 0, {}}},
               {QVariant(QVariantList{"k1", "M1", 2})});
        YmPieceMap pieces;
        for (int i = 0; i < 150; ++i)
            pieces.insert(pieceKey(i * 60), 1);
        b.main.updateMacProcess("k1",
                                {QVariant(QVariantList{"F", QVariant::fromValue(pieces), 150})});
        QCOMPARE(text(b.chartByPlan()), QString("P1 100/100, P2 50/100"));
        QCOMPARE(text(b.windowByPlan()), QString("P1 100/100, P2 50/100"));
        QCOMPARE(text(b.tableByMachine()), QString("k1 150/200"));
        QCOMPARE(b.gauge(), (QPair<qint64, qint64>(200, 150)));
        // The host's answer for today, with stale counts or other plans: the
        // window keeps showing the board's rows.
        b.main.queryDatePlan(
            "2024-05-02", {orderRow("P1", "k1", "F", 100, 0), orderRow("P2", "k1", "F", 100, 0)});
        QCOMPARE(text(b.windowByPlan()), QString("P1 100/100, P2 50/100"));
        b.main.queryDatePlan("2024-05-02", {orderRow("P7", "k1", "F", 30, 3)});
        QCOMPARE(text(b.windowByPlan()), QString("P1 100/100, P2 50/100"));
        // Another day shows what the host sent for it.
        b.page->findChild<QPushButton *>("pushButton_next")->click();
        b.main.queryDatePlan("2024-05-03", {orderRow("P9", "k1", "F", 10, 4)});
        QCOMPARE(text(b.windowByPlan()), QString("P9 4/10"));
    }

    // Random days and report streams; after every call all views agree with
    // each other and with the literal fold of the reports.
    void randomStreams_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 12; ++seed)
            QTest::newRow(qPrintable(QString("seed %1").arg(seed))) << seed;
    }
    void randomStreams()
    {
        QFETCH(quint32, seed);
        QRandomGenerator rng(seed);
        const QStringList macs{"k1", "k2", "k3"}, files{"F1", "F2", "F3"};
        QVector<Literal::Row> rows;
        for (int r = rng.bounded(2, 9); r > 0; --r) {
            Literal::Row row;
            row.plan = QString("P%1").arg(rng.bounded(4));
            row.mac = macs.at(rng.bounded(macs.size()));
            row.file = files.at(rng.bounded(2)); // F3 stays a file no row has
            row.planned = rng.bounded(0, 40);
            row.completed = rng.bounded(0, 5);
            rows << row;
        }
        QVariantList machines;
        for (const QString &mac : macs)
            machines << QVariant(QVariantList{mac, QString(mac + "-name"), 1});
        Board b;
        b.load(rows, machines);

        for (int call = 0; call < 40; ++call) {
            const QString mac
                = rng.bounded(8) == 0 ? QString("k9") : macs.at(rng.bounded(macs.size()));
            QVariantList process;
            QList<Literal::Row> read; // what each entry reads as
            for (int e = rng.bounded(0, 4); e > 0; --e) {
                Literal::Row entry;
                entry.file = files.at(rng.bounded(files.size()));
                // Keys from a small range: repeats of earlier reports and keys
                // out of order are the rule, not the exception.
                for (int p = rng.bounded(0, 12); p > 0; --p)
                    entry.pieces.insert(pieceKey(rng.bounded(0, 40) * 30), rng.bounded(1, 4));
                entry.completed = rng.bounded(0, 60);
                const QVariant map = QVariant::fromValue(entry.pieces);
                switch (rng.bounded(6)) {
                case 0: // not a list at all: no file, nothing
                    process << QVariant(42);
                    entry = Literal::Row();
                    break;
                case 1: // too short: no pieces, 0 completed
                    process << QVariant(QVariantList{entry.file});
                    entry.pieces.clear();
                    entry.completed = 0;
                    break;
                case 2: // numbers as text
                    process << QVariant(
                        QVariantList{entry.file, map, QString::number(entry.completed)});
                    break;
                default:
                    process << QVariant(QVariantList{entry.file, map, entry.completed});
                }
                read << entry;
            }
            b.main.updateMacProcess(mac, process);
            if (std::any_of(rows.cbegin(), rows.cend(),
                            [&](const Literal::Row &r) { return r.mac == mac; }))
                b.literal.apply(mac, read);

            const QString where = QString("call %1").arg(call);
            const Sums plans = clamped(b.literal.byPlan());
            QVERIFY2(text(b.chartByPlan()) == text(plans),
                     qPrintable(where + " chart: " + text(b.chartByPlan()) + " vs " + text(plans)));
            QVERIFY2(
                text(b.windowByPlan()) == text(plans),
                qPrintable(where + " window: " + text(b.windowByPlan()) + " vs " + text(plans)));
            const Sums machines = clamped(b.literal.byMachine());
            QVERIFY2(text(b.tableByMachine()) == text(machines),
                     qPrintable(where + " table: " + text(b.tableByMachine()) + " vs "
                                + text(machines)));
            qint64 planned = 0, completed = 0;
            for (const auto &s : plans) {
                planned += s.first;
                completed += s.second;
            }
            QVERIFY2(b.gauge() == (QPair<qint64, qint64>(planned, completed)),
                     qPrintable(where + " gauge"));
        }
    }
};

QTEST_MAIN(TstOneTruth)
#include "tst_onetruth.moc"
