#include "ymworkshopplanratechart.h"

#include "ymcompletionrate.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {
// Least room, in the gauge's 200-unit frame, between the caption and the
// percentage under it.
constexpr double kCaptionGap = 2.5;
} // namespace

YmWorkshopPlanRateChart::YmWorkshopPlanRateChart(QWidget *parent)
    : QWidget(parent)
{}

void YmWorkshopPlanRateChart::setCompleted(int completed)
{
    m_completed = completed;
    update();
}

void YmWorkshopPlanRateChart::setTotal(int total)
{
    m_total = total;
    update();
}

double YmWorkshopPlanRateChart::percent() const
{
    return YmCompletionRate::percent(m_total, m_completed);
}

int YmWorkshopPlanRateChart::span() const
{
    return YmCompletionRate::span(percent(), scaleDegrees());
}

QString YmWorkshopPlanRateChart::totalText() const
{
    // Fixed notation: a double would otherwise print as 1.00077e+07.
    return tr("今日总单: %1 ").arg(m_total, 0, 'f', 0);
}

QString YmWorkshopPlanRateChart::percentText() const
{
    return QStringLiteral("%1%").arg(YmCompletionRate::percentText(percent()));
}

void YmWorkshopPlanRateChart::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // The gauge changes with its two numbers, its size and its font; between
    // such changes a repaint copies the pixels it left.
    const QRect r = rect();
    const int geometry[4] = {r.x(), r.y(), r.width(), r.height()};
    const double numbers[2] = {m_completed, m_total};
    const QString texts = font().key() + QChar(0) + totalText() + QChar(0) + percentText();
    QByteArray key(reinterpret_cast<const char *>(geometry), int(sizeof geometry));
    key.append(reinterpret_cast<const char *>(numbers), int(sizeof numbers));
    key.append(reinterpret_cast<const char *>(texts.utf16()), texts.size() * 2);
    m_memo.paint(&p, r, key, [&] { draw(&p, r); });
}

void YmWorkshopPlanRateChart::draw(QPainter *p, const QRect &r) const
{
    const int w = r.width();
    const int h = r.height();
    const int side = qMin(w, h);
    p->save();
    p->setFont(font());
    p->setRenderHint(QPainter::Antialiasing);
    p->setRenderHint(QPainter::TextAntialiasing);
    // The dial's centre on a whole pixel, as its lines are drawn.
    p->translate(QPoint(r.left() + w / 2, r.top() + h / 2));
    p->scale(side / 200.0, side / 200.0);

    // Outer and inner discs.
    p->setPen(Qt::NoPen);
    p->setBrush(QColor(15, 35, 96));
    p->drawEllipse(QRect(-90, -90, 180, 180));
    p->setBrush(QColor(19, 45, 122));
    p->drawEllipse(QRect(-80, -80, 160, 160));

    // Tick scale: clockwise from the lower left over the top to the lower right.
    p->save();
    p->rotate(startAngle);
    const int ticks = majorSteps * minorSteps;
    const double step = double(scaleDegrees()) / ticks;
    QPen tickPen(scaleColor);
    tickPen.setCapStyle(Qt::RoundCap);
    for (int i = 0; i <= ticks; ++i) {
        if (i % minorSteps == 0) {
            tickPen.setWidthF(1.5);
            p->setPen(tickPen);
            p->drawLine(QPointF(0, 68), QPointF(0, 78));
        } else {
            tickPen.setWidthF(0.5);
            p->setPen(tickPen);
            p->drawLine(QPointF(0, 68), QPointF(0, 73));
        }
        p->rotate(step);
    }
    p->restore();

    // Today's total, in the gap at the bottom of the scale. A caption wider than
    // the gauge (English is longer) is set smaller rather than cut by the edges.
    p->setPen(Qt::white);
    const QString total = totalText();
    const double room = qMin(156.0, w * 200.0 / side);
    const QFont font = p->font();
    const double needed = QFontMetricsF(font).horizontalAdvance(total);
    if (needed > room) {
        QFont smaller = font;
        if (smaller.pixelSize() > 0)
            smaller.setPixelSize(qMax(1, int(smaller.pixelSize() * room / needed)));
        else
            smaller.setPointSizeF(smaller.pointSizeF() * room / needed);
        p->setFont(smaller);
    }
    p->drawText(QRect(-78, -15, 156, 156), Qt::AlignHCenter | Qt::AlignVCenter, total);
    p->setFont(font);

    // Value arc: a 4-unit band between radii 59 and 63, inset 3 degrees at each
    // end and rounded there by small discs. Angles in double: a huge rate must
    // not overflow.
    const double p100 = percent();
    const int arc = YmCompletionRate::span(p100, scaleDegrees());
    if (arc != 0) {
        const QColor arcColor(0, 228, 255);
        p->setPen(arcColor);
        p->setBrush(arcColor);
        const double startDeg = -(93.0 + startAngle);
        p->drawPath(YmCompletionRate::arcBand(startDeg, 6.0 - arc, 59, 63));
        for (const double deg : {startDeg, startDeg - arc + 6.0}) {
            const double a = qDegreesToRadians(deg);
            p->drawEllipse(QRectF(61 * qCos(a) - 2, -61 * qSin(a) - 2, 4, 4));
        }
    }

    // Middle disc.
    QLinearGradient gradient(QPointF(0, -26), QPointF(0, 26));
    gradient.setColorAt(0, QColor(0, 104, 209));
    gradient.setColorAt(0.5, QColor(0, 184, 249));
    gradient.setColorAt(1, QColor(0, 104, 209));
    gradient.setSpread(QGradient::PadSpread);
    p->setPen(Qt::NoPen);
    p->setBrush(gradient);
    p->drawEllipse(QRect(-53, -53, 106, 106));

    // Caption one line above the middle, percentage in the middle.
    QFont f = p->font();
    f.setFamily(QStringLiteral("Microsoft YaHei"));
    f.setPixelSize(10);
    f.setWeight(75);
    p->setFont(f);
    p->setPen(Qt::white);
    p->setBrush(Qt::white);
    const QString caption = tr("今日完成率");
    const QFontMetricsF captionMetrics(f);
    const int fh = QFontMetrics(f).height();
    QFont big = f;
    big.setPixelSize(21);
    const QFontMetricsF bigMetrics(big);
    // One line above the middle, but never touching the percentage: the
    // bold digits reach higher than half their line.
    const double percentTop = (bigMetrics.ascent() - bigMetrics.descent()) / 2
                              + bigMetrics.tightBoundingRect(percentText()).top();
    const double captionBaseline
        = qMin(-fh + (captionMetrics.ascent() - captionMetrics.descent()) / 2,
               percentTop - kCaptionGap - captionMetrics.tightBoundingRect(caption).bottom());
    p->drawText(QPointF(-captionMetrics.horizontalAdvance(caption) / 2, captionBaseline), caption);
    p->setFont(big);
    p->drawText(QRect(-53, -53, 106, 106), Qt::AlignHCenter | Qt::AlignVCenter, percentText());
    p->restore();
}
