#include "ymitempixmaptext.h"
#include "ymmacstatepage.h"
#include "ymmetatypes.h"
#include "ymresources.h"

#include <QGridLayout>
#include <QImage>
#include <QPainter>
#include <QtTest>

#include <limits>

namespace {
struct Place
{
    int row;
    int column;
};

Place placeOf(const YmMacStatePage &page, const QWidget *item)
{
    auto *grid = qobject_cast<QGridLayout *>(page.layout());
    const int index = grid ? grid->indexOf(const_cast<QWidget *>(item)) : -1;
    if (index < 0)
        return {-1, -1};
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return {row, column};
}

// Places of online, working, abnormal, offline as "r,c r,c r,c r,c".
QString places(const YmMacStatePage &page)
{
    QStringList out;
    for (const YmItemPixmapText *item :
         {page.onlineItem(), page.workingItem(), page.abnormalItem(), page.offlineItem()}) {
        const Place p = placeOf(page, item);
        out << QStringLiteral("%1,%2").arg(p.row).arg(p.column);
    }
    return out.join(QLatin1Char(' '));
}

const QString kOneRow = QStringLiteral("0,0 0,1 0,2 0,3");
const QString kTwoRows = QStringLiteral("0,0 0,1 1,0 1,1");
} // namespace

class TstMacstate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void freshPage();
    void counterSetters_data();
    void counterSetters();
    void rearrangeAt300();
    void captionOnlyWithoutPixmap();
    void pixmapCentredOnUpperThreeQuarters();
};

void TstMacstate::initTestCase()
{
    ymRegisterResources();
    ymRegisterMetaTypes();
}

void TstMacstate::freshPage()
{
    YmMacStatePage page;
    QCOMPARE(page.onlineItem()->text(), QStringLiteral("在线 0"));
    QCOMPARE(page.workingItem()->text(), QStringLiteral("工作 0"));
    QCOMPARE(page.abnormalItem()->text(), QStringLiteral("异常 0"));
    QCOMPARE(page.offlineItem()->text(), QStringLiteral("离线 0"));
    QCOMPARE(page.onlineItem()->textColor(), QColor(12, 202, 244));
    QCOMPARE(page.workingItem()->textColor(), QColor(49, 231, 156));
    QCOMPARE(page.abnormalItem()->textColor(), QColor(223, 74, 95));
    QCOMPARE(page.offlineItem()->textColor(), QColor(200, 200, 200));
    for (const YmItemPixmapText *item :
         {page.onlineItem(), page.workingItem(), page.abnormalItem(), page.offlineItem()}) {
        QCOMPARE(item->parentWidget(), &page);
        QCOMPARE(item->textSize(), 14.0);
        QCOMPARE(item->pixmap().size(), QSize(200, 200));
    }
    QVERIFY(page.isSingleRow());
    QCOMPARE(places(page), kOneRow);
    QCOMPARE(page.layout()->contentsMargins(), QMargins(0, 0, 0, 20));
}

void TstMacstate::counterSetters_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("caption");
    QTest::newRow("online 7") << 0 << 7 << QStringLiteral("在线 7");
    QTest::newRow("working 12") << 1 << 12 << QStringLiteral("工作 12");
    QTest::newRow("abnormal 3") << 2 << 3 << QStringLiteral("异常 3");
    QTest::newRow("offline 0") << 3 << 0 << QStringLiteral("离线 0");
    QTest::newRow("negative shown unchanged") << 0 << -4 << QStringLiteral("在线 -4");
    QTest::newRow("huge shown unchanged")
        << 3 << std::numeric_limits<int>::max() << QStringLiteral("离线 2147483647");
}

void TstMacstate::counterSetters()
{
    QFETCH(int, which);
    QFETCH(int, count);
    QFETCH(QString, caption);
    YmMacStatePage page;
    using Setter = void (YmMacStatePage::*)(int);
    const Setter setters[] = {&YmMacStatePage::setOnlineCount, &YmMacStatePage::setWorkingCount,
                              &YmMacStatePage::setAbnormalCount, &YmMacStatePage::setOfflineCount};
    (page.*setters[which])(count);
    const YmItemPixmapText *items[]
        = {page.onlineItem(), page.workingItem(), page.abnormalItem(), page.offlineItem()};
    const QStringList initial = {QStringLiteral("在线 0"), QStringLiteral("工作 0"),
                                 QStringLiteral("异常 0"), QStringLiteral("离线 0")};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(items[i]->text(), i == which ? caption : initial.at(i));
}

void TstMacstate::rearrangeAt300()
{
    YmMacStatePage page;
    page.resize(900, 250);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(places(page), kOneRow);

    page.resize(900, 300);
    QCOMPARE(places(page), kTwoRows);
    QVERIFY(!page.isSingleRow());

    page.resize(900, 400);
    QCOMPARE(places(page), kTwoRows);
    QVERIFY(!page.isSingleRow());

    page.resize(900, 299);
    QCOMPARE(places(page), kOneRow);
    QVERIFY(page.isSingleRow());
    // The counters survive the re-arrangements as the page's children.
    QCOMPARE(page.findChildren<YmItemPixmapText *>().size(), 4);
    QCOMPARE(page.layout()->count(), 4);
    QCOMPARE(page.layout()->contentsMargins(), QMargins(0, 0, 0, 20));

    // Laid out: the abnormal counter sits below online in two rows.
    page.resize(900, 320);
    QTRY_VERIFY(page.abnormalItem()->geometry().top() >= page.onlineItem()->geometry().bottom());
    QCOMPARE(page.abnormalItem()->geometry().left(), page.onlineItem()->geometry().left());
}

void TstMacstate::captionOnlyWithoutPixmap()
{
    YmItemPixmapText item;
    item.setText(QStringLiteral("在线 0"));
    item.setPixmap(QPixmap(QStringLiteral(":/image/does-not-exist.png")));
    item.setTextColor(QColor(255, 0, 0));
    const QSize size(200, 160);
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    {
        QPainter p(&img);
        item.draw(&p, QRect(QPoint(0, 0), size));
    }
    int above = 0;
    int below = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (img.pixel(x, y) != qRgb(0, 0, 0))
                ++(y < 120 ? above : below);
    QCOMPARE(above, 0);
    QVERIFY(below > 20);
}

void TstMacstate::pixmapCentredOnUpperThreeQuarters()
{
    QPixmap red(20, 20);
    red.fill(Qt::red);
    YmItemPixmapText item;
    item.setPixmap(red);
    // w 300, h 296: q = 222, so the picture spans x 140..159 and y 101..120.
    const QSize size(300, 296);
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    {
        QPainter p(&img);
        item.draw(&p, QRect(QPoint(0, 0), size));
    }
    QCOMPARE(img.pixel(140, 101), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(159, 120), qRgb(255, 0, 0));
    QCOMPARE(img.pixel(139, 101), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(140, 100), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(160, 120), qRgb(0, 0, 0));
    QCOMPARE(img.pixel(159, 121), qRgb(0, 0, 0));
}

QTEST_MAIN(TstMacstate)
#include "tst_macstate.moc"
