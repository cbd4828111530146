// A board on a workshop wall lives as long as its host: the module created and
// destroyed over and over in one process leaves no window and no memory behind.
#include "ymharness.h"
#include "ymmetatypes.h"
#include "ymworkshopmanage.h"
#include "ymworkshopmanage_p.h"
#include "ymworkshopmanagepage.h"

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QProcess>
#include <QtTest>

#include <cstdlib>
#include <malloc.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define YM_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define YM_ASAN 1
#endif
#ifdef YM_ASAN
#include <sanitizer/allocator_interface.h>
#endif

namespace {

// Bytes the allocator holds for live allocations (ASan keeps its own heap,
// which mallinfo does not see), and what a hundred boards may add to them
// after the warm-up without anything being lost. ASan's count is exact; glibc's
// also holds chunks parked in its per-thread caches and Qt's caches still
// filling, which level off near 110 KB. One board's widget tree is several
// hundred kilobytes, so a board lost in every round stands far above either.
#ifdef YM_ASAN
qint64 liveHeapBytes()
{
    return qint64(__sanitizer_get_current_allocated_bytes());
}
constexpr qint64 kHeapNoise = 8 * 1024;
#else
qint64 liveHeapBytes()
{
    return qint64(mallinfo2().uordblks);
}
constexpr qint64 kHeapNoise = 256 * 1024;
#endif

QVariant orderRow(int m, int plan)
{
    const QString key = QStringLiteral("MAC-%1").arg(m);
    const QString planName = QStringLiteral("PO-%1").arg(plan);
    const YmPieceMap pieces{{QStringLiteral("2024-03-05 08:15:00"), 4}};
    // Threshold 0: no pop-up, whose process-wide manager outlives the boards.
    return QVariantList{planName,
                        QVariant(),
                        key,
                        key,
                        QStringLiteral("G%1").arg(m % 3),
                        QString(planName + QStringLiteral(".nc")),
                        100,
                        4 * m,
                        0,
                        QVariant::fromValue(pieces)};
}

// One board's life: the day pushed, shown, a few reports, painted, destroyed.
void boardLifetime(QPointer<YmWorkshopManagePage> *pageOut = nullptr)
{
    YmWorkshopManage board;
    QVariantList rows;
    QVariantList macs;
    for (int m = 0; m < 12; ++m) {
        rows << orderRow(m, m % 4);
        macs << QVariant(QVariantList{QStringLiteral("MAC-%1").arg(m), QString(), m % 4});
    }
    board.initDatas({QVariant(rows), 1, 0, 0}, macs, {}, QStringLiteral("08:00:00"),
                    QStringLiteral("20:00:00"), 600);
    board.show();
    board.updateMacProcess(QStringLiteral("MAC-1"),
                           {QVariant(QVariantList{QStringLiteral("PO-1.nc"), QVariant(), 9})});
    board.updateMacState(QStringLiteral("MAC-2"), 3, QStringLiteral("renamed"));
    board.updateLv1Name(QStringLiteral("G1"), QStringLiteral("G9"));
    board.queryDatePlan(QStringLiteral("2024-03-05"), rows);
    YmWorkshopManagePage *page = YmWorkshopManagePrivate::get(&board)->page;
    QImage image(page->size(), QImage::Format_ARGB32_Premultiplied);
    page->render(&image);
    if (pageOut)
        *pageOut = page;
}

// A host that ends with exit() while a pop-up is still fading in: its
// QApplication is never destroyed, so the pop-ups go down with the statics at
// exit, after Qt has already torn down its own.
[[noreturn]] void hostExitsWithPopupsShowing(int argc, char **argv)
{
    auto *app = new QApplication(argc, argv);
    Q_UNUSED(app)
    YmHarness::start();
    static YmWorkshopManage *board = new YmWorkshopManage;
    QVariantList row = orderRow(1, 1).toList();
    row[8] = 1; // 4 of 100 is above 1 %
    board->initDatas({QVariant(QVariantList{QVariant(row)}), 0, 0, 0}, {}, {}, QString(), QString(),
                     0);
    board->show();
    QCoreApplication::processEvents();
    std::exit(0);
}

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

class TstRobustness : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { YmHarness::start(); }

    void createAndDestroyHundredTimes()
    {
        const int windowsBefore = QApplication::topLevelWidgets().size();
        // Warm-up: fonts, glyphs, style data and Qt's own caches load once.
        for (int i = 0; i < 10; ++i) {
            boardLifetime();
            settle();
        }
        const qint64 before = liveHeapBytes();
        for (int i = 0; i < 100; ++i) {
            QPointer<YmWorkshopManagePage> page;
            boardLifetime(&page);
            QVERIFY(page.isNull());
            settle();
        }
        const qint64 growth = liveHeapBytes() - before;
        QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
        qInfo("heap growth over 100 boards: %lld bytes", growth);
        QVERIFY2(growth < kHeapNoise, qPrintable(QString::number(growth)));
    }

    void hostExitsWithPopupsShowing()
    {
        QProcess host;
        // That host leaves its application to the system to reclaim: nothing
        // for a leak check to judge there.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ASAN_OPTIONS"),
                   env.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
        host.setProcessEnvironment(env);
        host.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--exit-with-popups")});
        QVERIFY(host.waitForFinished(120000));
        const QByteArray errors = host.readAllStandardError();
        QVERIFY2(host.exitStatus() == QProcess::NormalExit, errors.constData());
        QVERIFY2(host.exitCode() == 0, errors.constData());
    }
};

int main(int argc, char **argv)
{
    if (argc > 1 && qstrcmp(argv[1], "--exit-with-popups") == 0)
        hostExitsWithPopupsShowing(argc, argv);
    QApplication app(argc, argv);
    TstRobustness test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_robustness.moc"
