#include "ymchartscale.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopverticalbarchart.h"

#include <QtTest>

#include <climits>

using namespace YmChartScale;

const QRgb kHPlanned = qRgb(22, 92, 154), kVCompleted = qRgb(134, 117, 231);

class TstBarcharts : public QObject
{
    Q_OBJECT
    static QVariant bar(QVariant p, QVariant c) { return QVariantList{QStringLiteral("n"), p, c}; }
    static QImage render(QWidget &w, QSize s) { return w.resize(s), w.grab().toImage(); }

private slots:
    // The axis end and, where given, the ten horizontal ticks followed by the six
    // vertical labels.
    void scaleAndLabels_data()
    {
        QTest::addColumn<qint64>("reference");
        QTest::addColumn<bool>("hasBars");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<QString>("labels");
        const auto row = [](const char *name, qint64 r, bool bars, qint64 max, const char *l = "") {
            QTest::newRow(name) << r << bars << max << QString::fromLatin1(l);
        };
        row("7", 7, true, 8);
        row("10", 10, true, 11);
        row("11", 11, true, 21);
        row("80", 80, true, 90, "9 18 27 36 45 54 63 72 81 90 90 75 60 45 30 15");
        row("100", 100, true, 110);
        row("101", 101, true, 201);
        row("120", 120, true, 220, "22 44 66 88 110 132 154 176 198 220 220 184 148 112 76 40");
        row("950", 950, true, 1050);
        row("empty", 500, false, 1, "0 0 0 0 0 0 0 0 0 0 1 1 1 1 1 1");
        row("negative", -5000, true, 1);
        row("LLONG_MAX terminates", LLONG_MAX, true, LLONG_MAX);
    }
    void scaleAndLabels()
    {
        QFETCH(qint64, reference);
        QFETCH(bool, hasBars);
        QFETCH(QString, labels);
        const qint64 top = scaleMax(reference, hasBars);
        QTEST(top, "expected");
        QStringList got;
        for (int k = 1; k <= 10; ++k)
            got << QString::number(tickValue(top, k));
        for (int i = 0; i <= 5; ++i)
            got << QString::number(valueLabel(top, i));
        QCOMPARE(labels.isEmpty() ? labels : got.join(QLatin1Char(' ')), labels);
    }

    void barPixels()
    {
        YmWorkshopHorizontalBarChart hc;
        hc.setBarData({bar(50, 20), bar(30, 30)});
        // 561 wide, the planned bar's length ends at about 0.7 of a pixel.
        const HorizontalLayout h = hc.layoutFor(QSize(561, 430));
        const QImage hi = render(hc, QSize(561, 430));
        const int x0 = truncPixels(h.left), y = truncPixels(horizontalBarTop(h, 1)) + 1;
        const int endP = x0 + truncPixels(barLength(h.fullLength, 50, 90));
        const int endC = x0 + truncPixels(barLength(h.fullLength, 20, 90));
        // The lowest bar: completed, then planned up to trunc(lenP) and not beyond.
        QCOMPARE(hi.pixel(endC - 1, y), qRgb(45, 198, 255));
        QCOMPARE(hi.pixel(endC + 1, y), kHPlanned);
        QCOMPARE(hi.pixel(endP - 1, y), kHPlanned);
        QVERIFY(hi.pixel(endP, y) != kHPlanned);

        YmWorkshopVerticalBarchart vc;
        vc.setBarData({bar(40, 10), bar(120, 130)});
        const VerticalLayout v = vc.layoutFor(QSize(900, 330));
        const QImage vi = render(vc, QSize(900, 330));
        const int t40 = int(v.axisY - 40 * v.unit), x1 = int(verticalPlannedX(v, 0)) + 3;
        const int x2 = int(verticalPlannedX(v, 1) + v.barW) + 3;
        // Planned bars are translucent (here over the window's grey), completed
        // ones opaque beside them; the second group's completed bar rises above
        // its planned one.
        QCOMPARE(vi.pixel(x1, t40 + 2), qRgb(187, 178, 235));
        QVERIFY(vi.pixel(x1, t40 - 2) != vi.pixel(x1, t40 + 2));
        QCOMPARE(vi.pixel(x1 + int(v.barW), int(v.axisY - 10 * v.unit) + 2), kVCompleted);
        QCOMPARE(vi.pixel(x2, int(v.axisY - 120 * v.unit) - 2), kVCompleted);
        QVERIFY(vi.pixel(x2, int(v.axisY - 130 * v.unit) - 3) != kVCompleted);
    }

    // Malformed entries read as empty / 0 and both charts still paint their
    // axes; the horizontal scale follows the planned sum, the vertical one the
    // largest plan.
    void malformedListsPaint_data()
    {
        QTest::addColumn<QVariantList>("bars");
        QTest::addColumn<qint64>("hMax");
        QTest::addColumn<qint64>("vMax");
        const QString x = QStringLiteral("x"), n30 = QStringLiteral("30");
        const QVariantList junk{QVariantList{x}, x, QVariantMap{{x, 5}}, {}, bar(-1, -7)};
        QTest::newRow("empty") << QVariantList() << 1LL << 1LL;
        QTest::newRow("junk, negative") << junk << 1LL << 1LL;
        QTest::newRow("text") << QVariantList{bar(x, x), bar(n30, 1)} << 40LL << 40LL;
        QTest::newRow("extra fields")
            << QVariantList{QVariant(QVariantList{x, 50, 1, 2})} << 60LL << 60LL;
        QTest::newRow("huge") << QVariantList{bar(INT_MAX, INT_MAX), bar(INT_MAX, INT_MIN)}
                              << 5294967294LL << 3147483647LL;
    }
    void malformedListsPaint()
    {
        QFETCH(QVariantList, bars);
        const QSize size(560, 430);
        YmWorkshopHorizontalBarChart hc;
        YmWorkshopVerticalBarchart vc;
        hc.setBarData(bars);
        vc.setBarData(bars);
        const HorizontalLayout h = hc.layoutFor(size);
        QTEST(h.scaleMax, "hMax");
        QTEST(vc.layoutFor(size).scaleMax, "vMax");
        const QRgb ha = render(hc, size).pixel(qRound(h.left), (h.topY + int(h.baseY)) / 2);
        const QRgb va = render(vc, size).pixel(size.width() / 2, vc.layoutFor(size).axisY);
        QVERIFY(qBlue(ha) > 150 && qRed(ha) < 120 && qBlue(va) > 150 && qRed(va) < 120);
    }
};

QTEST_MAIN(TstBarcharts)
#include "tst_barcharts.moc"
