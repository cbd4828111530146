#include "ymnotifycountwidget.h"
#include "ui_ymnotifycountwidget.h"

#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPropertyAnimation>

YmNotifyCountWidget::YmNotifyCountWidget(YmNotifyManager *manager, QWidget *parent)
    : YmArrangedWidget(manager, parent)
    , ui(new Ui::YmNotifyCountWidget)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("YmNotifyCountWidget"));
    setAttribute(Qt::WA_TransparentForMouseEvents);

    m_iconLabel = new QLabel(this);
    m_iconLabel->setFixedSize(40, 40);
    m_iconLabel->setAlignment(Qt::AlignCenter);
    m_iconLabel->setScaledContents(true);
    m_iconLabel->setPixmap(QPixmap(QStringLiteral(":/image/logo_500_500.png")));

    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("notify-count"));
    m_countLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_iconLabel);
    layout->addWidget(m_countLabel);

    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setOffset(2, 2);
    shadow->setBlurRadius(5);
    setGraphicsEffect(shadow);

    setStyleSheet(QStringLiteral("#notify-count {font: 20px Verdana;color: white;}"));

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
    m_countLabel->setNum(count);
}

QString YmNotifyCountWidget::countText() const
{
    return m_countLabel->text();
}
