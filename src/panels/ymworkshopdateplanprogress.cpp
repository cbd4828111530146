#include "ymworkshopdateplanprogress.h"

#include "ymchartscale.h"
#include "ymclock.h"
#include "ymtimeofday.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLineF>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int marginRight = 10;  // the plot ends 3 x marginRight from the right edge
constexpr int marginTop = 40;    // the 175 percent line
constexpr int marginLeft = 20;   // between the percent labels and the y axis, less 5
constexpr int marginBottom = 20; // below the time labels

constexpr int kTextPixelSize = 11;
// Least room between a point's text and any other text.
constexpr double kTextGap = 2;

const QColor kBlue(53, 194, 255);
const QColor kFaintBlue(53, 194, 255, 60);
const QColor kBelowPlan(207, 67, 67);
const QColor kOnPlan(50, 230, 155);

QPen chartPen(const QColor &color, qreal width)
{
    return QPen(QBrush(color), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

void setPenForPercent(QPainter *painter, double percent)
{
    const QColor color = percent < 100 ? kBelowPlan : kOnPlan;
    QPen pen = painter->pen();
    pen.setColor(color);
    painter->setBrush(QBrush(color));
    painter->setPen(pen);
}

} // namespace

YmWorkshopDatePlanProgress::YmWorkshopDatePlanProgress(QWidget *parent)
    : QWidget(parent)
{
    // A point's text ("(225/210)" over "107.14%") must fit between two hourly
    // slots of the dock in a 1920 x 1080 board (about 55 pixels with a stop),
    // where a stop end repeats the text of the label before it.
    QFont small = font();
    small.setPixelSize(kTextPixelSize);
    setFont(small);
    // "Now" is the time of the board this panel is on.
    m_day.setClock(
        [](const void *self) { return YmClock::time(static_cast<const QObject *>(self)); },
        static_cast<const QObject *>(this));
}

void YmWorkshopDatePlanProgress::setDayData(const QVector<YmOrderRecord> &orderRows,
                                            const QVector<YmStopEntry> &stopList,
                                            const QString &startTime, const QString &endTime,
                                            double workMinutes)
{
    m_day.setDayData(orderRows, stopList, startTime, endTime, workMinutes);
    update();
}

void YmWorkshopDatePlanProgress::setWorkTime(const QString &startTime, const QString &endTime,
                                             int workMinutes)
{
    m_day.setWorkTime(startTime, endTime, workMinutes);
    update();
}

void YmWorkshopDatePlanProgress::addPieces(const QVector<QPair<QString, int>> &pieces)
{
    m_day.addPieces(pieces);
    update();
}

void YmWorkshopDatePlanProgress::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    draw(&painter, rect());
}

void YmWorkshopDatePlanProgress::draw(QPainter *p, const QRect &r) const
{
    p->save();
    p->translate(r.topLeft());
    p->setRenderHint(QPainter::Antialiasing);
    p->setFont(font());

    const double w = r.width();
    const double h = r.height();
    const QFontMetricsF fm(p->font());
    const double fh = fm.height();
    const QFont &font = p->font();
    const auto textAdvance = [&](const QString &text) {
        return int(m_texts.advance(text, font));
    };

    const double baseY = h - fh - marginBottom - 5;
    const double rightX = w - 3 * marginRight;
    const double step = (baseY - marginTop) / 7;
    int labelW = 0;
    for (int v = 50; v <= 200; v += 25)
        labelW = std::max(labelW, textAdvance(QStringLiteral("%1%").arg(v)));
    const double x0 = labelW + marginLeft + 5;
    const double topY = baseY - 7 * step;

    double line100Y = 0;
    for (int i = 1; i <= 7; ++i) {
        const int v = 25 * i;
        const double y = baseY - i * step;
        if (i <= 6) {
            const QString text = QStringLiteral("%1%").arg(v);
            const int tw = textAdvance(text);
            p->setPen(chartPen(kBlue, 1));
            m_memo.drawText(p, QRectF(labelW + marginLeft - tw, y - fh / 2, tw, fh),
                            Qt::AlignHCenter | Qt::AlignVCenter, text);
        }
        p->setPen(chartPen(v == 100 ? kBlue : kFaintBlue, 1));
        m_memo.drawLine(p, QLineF(QPointF(x0, y), QPointF(rightX, y)));
        if (v == 100)
            line100Y = y;
    }

    p->setPen(chartPen(kBlue, 2));
    m_memo.drawLine(p, QLineF(QPointF(x0, topY), QPointF(x0, baseY)));
    m_memo.drawLine(p, QLineF(QPointF(x0, baseY), QPointF(rightX, baseY)));

    const QStringList &labels = m_day.axisLabels();
    const QMap<QString, QString> &stopStarts = m_day.stopStartNames();
    const QMap<QString, QString> &stopEnds = m_day.stopEndNames();
    const int n = labels.size();
    const double xStep = (w - 3 * marginRight - marginLeft - labelW - 5) / (n + 1);
    const QMap<QString, double> values = m_day.percentValues(m_day.now());
    // Points above 150 percent sit on the top line.
    const auto yFor = [&](double percent) {
        return percent > 150 ? double(marginTop)
                             : baseY - ((baseY - marginTop) * 6 / 7) * percent / 150;
    };

    // Where each point's text goes: on its own side of the point (below, or
    // above from 100 to 150 percent and at 10 percent or less), on the other
    // side when that would touch a text placed before it, or nowhere. The
    // time labels, stop names and percent labels are there first.
    QVector<QRectF> fixedTexts;
    for (int i = 1; i <= 6; ++i) {
        const int tw = textAdvance(QStringLiteral("%1%").arg(25 * i));
        fixedTexts.append(QRectF(labelW + marginLeft - tw, baseY - i * step - fh / 2, tw, fh));
    }
    struct PointText
    {
        int slot;
        QString text;
        QRectF rects[2]; // drawn in; the own side first
        double textW;    // the width drawText is given (the text as one line)
    };
    QVector<PointText> pointTexts;
    QVector<QVector<QRectF>> candidates;
    for (int i = 0; i < n; ++i) {
        const QString &label = labels.at(i);
        const double x = x0 + (i + 1) * xStep;
        const int tw = textAdvance(label);
        fixedTexts.append(QRectF(x - tw / 2.0, baseY + 5, tw, fh));
        if (stopStarts.contains(label)) {
            const double nw = m_texts.advance(stopStarts.value(label), font);
            fixedTexts.append(QRectF(x + xStep / 2 - nw / 2, baseY - 5 - fh, nw, fh));
        }
        const double percent = values.value(label, 0);
        if (label.isEmpty() || i < 1 || percent == 0)
            continue;
        const QString text
            = (percent < 100 ? QStringLiteral("%1%\n(%2/%3)") : QStringLiteral("(%2/%3)\n%1%"))
                  .arg(QString::number(percent, 'f', 2))
                  .arg(m_day.doneAt().value(label, 0))
                  .arg(m_day.plannedAt().value(label, 0));
        double inkW = 0;
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (const QString &line : lines)
            inkW = std::max(inkW, m_texts.advance(line, font));
        const double y = yFor(percent);
        const bool above = (percent >= 100 && percent < 150) || percent <= 10;
        const double aboveY = y - 2 * fh - 10;
        const double belowY = y + 10;
        PointText placed{i, text, {}, double(textAdvance(text))};
        QVector<QRectF> options;
        for (const double top : {above ? aboveY : belowY, above ? belowY : aboveY}) {
            const QRectF ink(x - inkW / 2, top, inkW, 2 * fh);
            // A text cut by the chart's edge is no better than one left out.
            if (ink.top() >= 0 && ink.bottom() <= h && ink.left() >= 0 && ink.right() <= w)
                options.append(ink);
        }
        for (int k = 0; k < options.size(); ++k)
            placed.rects[k] = options.at(k);
        pointTexts.append(placed);
        candidates.append(options);
    }
    const QVector<int> chosen = YmChartScale::placeLabels(candidates, fixedTexts, kTextGap);
    QHash<int, QRectF> textAt; // slot -> where its point's text goes
    for (int k = 0; k < pointTexts.size(); ++k) {
        if (chosen.at(k) >= 0) {
            const PointText &t = pointTexts.at(k);
            const QRectF &ink = t.rects[chosen.at(k)];
            textAt.insert(t.slot,
                          QRectF(ink.center().x() - t.textW / 2, ink.top(), t.textW, ink.height()));
        }
    }
    QHash<int, QString> textOf;
    for (const PointText &t : qAsConst(pointTexts))
        textOf.insert(t.slot, t.text);

    for (int i = 0; i <= n; ++i) {
        const QString label = i < n ? labels.at(i) : QString();
        const double x = x0 + (i + 1) * xStep;
        const bool stopStart = stopStarts.contains(label);
        const bool stopEnd = stopEnds.contains(label);

        p->setPen(chartPen(stopStart || stopEnd ? QColor(Qt::red) : kBlue, 2));
        const int tw = textAdvance(label);
        m_memo.drawText(p, QRectF(x - tw / 2.0, baseY + 5, tw, fh), Qt::AlignCenter, label);
        if (stopStart) {
            const QString name = QStringLiteral("%1").arg(stopStarts.value(label));
            const double nw = m_texts.advance(name, font);
            m_memo.drawText(p, QRectF(x + xStep / 2 - nw / 2, baseY - 5 - fh, nw, fh),
                            Qt::AlignCenter, name);
        }
        p->setPen(chartPen(kFaintBlue, 1));
        m_memo.drawLine(p, QLineF(QPointF(x, topY), QPointF(x, baseY)));

        const double percent = values.value(label, 0);
        if (label.isEmpty() || i < 1 || percent == 0)
            continue;
        setPenForPercent(p, percent);
        const QPointF point(x, yFor(percent));
        const QRectF dot(point.x() - 4, point.y() - 4, 8, 8);
        m_memo.drawEllipse(p, dot);
        const auto where = textAt.constFind(i);
        if (where != textAt.cend())
            m_memo.drawText(p, *where, Qt::AlignCenter, textOf.value(i));

        // No segment into the first label or across a stop.
        if (i == 1 || stopEnd)
            continue;
        const double previous = values.value(labels.at(i - 1), 0);
        const double prevX = x0 + i * xStep;
        const QPointF from(prevX, yFor(previous));
        QPen pen = p->pen();
        pen.setWidthF(2);
        p->setPen(pen);
        QPointF crossing;
        const QLineF segment(from, point);
        if (segment.intersects(QLineF(prevX, line100Y, x, line100Y), &crossing)
            == QLineF::BoundedIntersection) {
            setPenForPercent(p, previous);
            m_memo.drawLine(p, QLineF(from, crossing));
            setPenForPercent(p, percent);
            if (crossing == point)
                m_memo.drawEllipse(p, dot);
            else
                m_memo.drawLine(p, QLineF(crossing, point));
        } else {
            m_memo.drawLine(p, QLineF(from, point));
        }
    }

    drawForecast(
        p, values, [&](int i) { return x0 + (i + 1) * xStep; }, yFor, w);
    p->restore();
}

QString YmWorkshopDatePlanProgress::forecastText(const YmDayForecast::Result &forecast)
{
    if (!forecast.valid)
        return QString();
    if (forecast.completeAt >= 0)
        return tr("预计 %1 完成")
            .arg(QTime(0, 0)
                     .addSecs(forecast.completeAt)
                     .toString(YmDatePlanProgressData::shortTimeFormat()));
    // Whole percents: the projection is a trend, not a count.
    return tr("预计 %1%")
        .arg(std::isfinite(forecast.endPercent) ? QString::number(forecast.endPercent, 'f', 0)
                                                : QString());
}

// From the last point to the work end, dashed in the last point's colour, with
// the projected completion (or the time the plan is reached) at its end. Drawn
// after everything else and outside the memo: it changes with every report.
template<typename SlotX, typename PercentY>
void YmWorkshopDatePlanProgress::drawForecast(QPainter *p, const QMap<QString, double> &values,
                                              SlotX slotX, PercentY yFor, double w) const
{
    const YmDayForecast::Result forecast = m_day.forecast(m_day.now());
    if (!forecast.valid)
        return;
    const QStringList &labels = m_day.axisLabels();
    int last = -1;
    for (int i = labels.size() - 1; i >= 1 && last < 0; --i) {
        if (values.value(labels.at(i), 0) != 0)
            last = i;
    }
    const int end = labels.lastIndexOf(
        YmTimeOfDay::toShortText(YmTimeOfDay::fromLongText(m_day.workEnd())));
    if (last < 0 || end <= last)
        return;
    const double lastPercent = values.value(labels.at(last));
    const QPointF from(slotX(last), yFor(lastPercent));
    const QPointF to(slotX(end), yFor(forecast.endPercent));

    setPenForPercent(p, lastPercent);
    QPen pen = p->pen();
    pen.setWidthF(2);
    pen.setStyle(Qt::DashLine);
    p->setPen(pen);
    p->drawLine(from, to);
    p->setBrush(Qt::NoBrush);
    pen.setStyle(Qt::SolidLine);
    p->setPen(pen);
    p->drawEllipse(to, 4, 4);

    const QString text = forecastText(forecast);
    const QFontMetricsF fm(p->font());
    const double tw = m_texts.advance(text, p->font());
    const double fh = fm.height();
    // Above the end point, inside the widget; below it when it sits on the top line.
    const double left = qBound(0.0, to.x() - tw / 2, qMax(0.0, w - tw - 2));
    const double top = to.y() - fh - 8 < 0 ? to.y() + 8 : to.y() - fh - 8;
    p->drawText(QRectF(left, top, tw, fh), Qt::AlignCenter, text);
}
