#include "ymnotifycountwidget.h"
#include "ui_ymnotifycountwidget.h"

#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPropertyAnimation>
#include <QVBoxLayout>

YmNotifyCountWidget::YmNotifyCountWidget(YmNotifyManager *manager, QWidget *parent)
    : YmArrangedWidget(manager, parent)
    , ui(new Ui::YmNotifyCountWidget)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("YmNotifyCountWidget"));
    setCursor(Qt::PointingHandCursor);

    m_iconLabel = new QLabel(this);
    m_iconLabel->setFixedSize(40, 40);
    m_iconLabel->setAlignment(Qt::AlignCenter);
    m_iconLabel->setScaledContents(true);
    m_iconLabel->setPixmap(QPixmap(QStringLiteral(":/image/logo_500_500.png")));

    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("notify-count"));
    m_countLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto *hint = new QLabel(tr("点击查看通知记录"), this);
    hint->setObjectName(QStringLiteral("notify-hint"));

    auto *captions = new QVBoxLayout;
    captions->setSpacing(2);
    captions->addStretch();
    captions->addWidget(m_countLabel);
    captions->addWidget(hint);
    captions->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_iconLabel);
    layout->addLayout(captions, 1);

    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(5);
    setGraphicsEffect(shadow);

    setStyleSheet(QStringLiteral("#notify-count {font: 20px Verdana;color: white;}"
                                 "#notify-hint {font: 12px;color: white;}"));

    m_blinkAnimation = new QPropertyAnimation(this, "windowOpacity", this);
    m_blinkAnimation->setStartValue(1.0);
    m_blinkAnimation->setKeyValueAt(0.25, 0.1);
    m_blinkAnimation->setKeyValueAt(0.5, 1.0);
    m_blinkAnimation->setEndValue(1.0);
    m_blinkAnimation->setDuration(BlinkDuration);
    m_blinkAnimation->setLoopCount(-1);

    connect(
        this, &YmArrangedWidget::visibleChanged, this,
        [this](bool visible) {
            if (visible)
                m_blinkAnimation->start();
            else
                m_blinkAnimation->stop();
        },
        Qt::DirectConnection);
}

YmNotifyCountWidget::~YmNotifyCountWidget()
{
    delete ui;
}

void YmNotifyCountWidget::setCount(int count)
{
    // A bare number above the stack read as a score; say what is counted.
    m_count = count;
    m_countLabel->setText(tr("还有 %1 个计划待提醒").arg(count));
}

void YmNotifyCountWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit clicked();
    YmArrangedWidget::mouseReleaseEvent(event);
}

QString YmNotifyCountWidget::countText() const
{
    return m_countLabel->text();
}
