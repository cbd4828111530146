#include "ymtabletooltipwidget.h"

#include <QPainter>

namespace {
constexpr int kWidth = 200;
constexpr int kHeight = 50;
} // namespace

YmTableTooltipWidget::YmTableTooltipWidget(const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_text(text)
{
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(kWidth, kHeight);
}

void YmTableTooltipWidget::setText(const QString &text)
{
    m_text = text;
    update();
}

void YmTableTooltipWidget::draw(QPainter *painter, const QRect &rect) const
{
    painter->fillRect(rect, Qt::lightGray);
    QFont font = painter->font();
    font.setPointSize(12);
    painter->setFont(font);
    painter->drawText(rect, Qt::AlignCenter, m_text);
}

void YmTableTooltipWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    draw(&painter, rect());
}
