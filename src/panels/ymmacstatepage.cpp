#include "ymmacstatepage.h"

#include "ymitempixmaptext.h"
#include "ymresources.h"

#include <QEvent>
#include <QGridLayout>
#include <QResizeEvent>

namespace {
// Below this height the counters sit in one row, from it on in two.
constexpr int kTwoRowHeight = 300;

YmItemPixmapText *makeCounter(QWidget *page, const QString &pixmap, const QColor &color)
{
    auto *item = new YmItemPixmapText(page);
    item->setPixmap(ymBoardPixmap(pixmap));
    item->setTextColor(color);
    return item;
}
} // namespace

YmMacStatePage::YmMacStatePage(QWidget *parent)
    : QWidget(parent)
{
    auto *grid = new QGridLayout;
    online = makeCounter(this, QStringLiteral(":/image/blue.png"), QColor(12, 202, 244));
    grid->addWidget(online, 0, 0);
    working = makeCounter(this, QStringLiteral(":/image/green.png"), QColor(49, 231, 156));
    grid->addWidget(working, 0, 1);
    abnormal = makeCounter(this, QStringLiteral(":/image/red.png"), QColor(223, 74, 95));
    grid->addWidget(abnormal, 0, 2);
    offline = makeCounter(this, QStringLiteral(":/image/gray.png"), QColor(200, 200, 200));
    grid->addWidget(offline, 0, 3);
    grid->setContentsMargins(0, 0, 0, 20);
    setLayout(grid);
    showCounts();
}

void YmMacStatePage::showCounts()
{
    online->setText(tr("在线 %1").arg(onlineCount));
    working->setText(tr("工作 %1").arg(workingCount));
    abnormal->setText(tr("异常 %1").arg(abnormalCount));
    offline->setText(tr("离线 %1").arg(offlineCount));
}

void YmMacStatePage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        showCounts();
    QWidget::changeEvent(event);
}

void YmMacStatePage::setOnlineCount(int n)
{
    onlineCount = n;
    online->setText(tr("在线 %1").arg(n));
}

void YmMacStatePage::setWorkingCount(int n)
{
    workingCount = n;
    working->setText(tr("工作 %1").arg(n));
}

void YmMacStatePage::setAbnormalCount(int n)
{
    abnormalCount = n;
    abnormal->setText(tr("异常 %1").arg(n));
}

void YmMacStatePage::setOfflineCount(int n)
{
    offlineCount = n;
    offline->setText(tr("离线 %1").arg(n));
}

void YmMacStatePage::arrangeItems(bool twoRows)
{
    auto *grid = qobject_cast<QGridLayout *>(layout());
    if (!grid)
        return;
    // Only the layout items go; the counters stay children of the page.
    while (QLayoutItem *item = grid->takeAt(0))
        delete item;
    if (twoRows) {
        grid->addWidget(online, 0, 0);
        grid->addWidget(working, 0, 1);
        grid->addWidget(abnormal, 1, 0);
        grid->addWidget(offline, 1, 1);
    } else {
        grid->addWidget(online, 0, 0);
        grid->addWidget(working, 0, 1);
        grid->addWidget(abnormal, 0, 2);
        grid->addWidget(offline, 0, 3);
    }
}

void YmMacStatePage::resizeEvent(QResizeEvent *event)
{
    const int h = event->size().height();
    if (h >= kTwoRowHeight && singleRow) {
        arrangeItems(true);
        singleRow = false;
    } else if (h < kTwoRowHeight && !singleRow) {
        arrangeItems(false);
        singleRow = true;
    }
    QWidget::resizeEvent(event);
}
