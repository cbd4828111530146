#include "ymnotifywidget.h"
#include "ui_ymnotifywidget.h"

#include <QFontMetrics>
#include <QGraphicsDropShadowEffect>
#include <QLayout>
#include <QTimer>

#include <climits>

YmNotifyWidget::YmNotifyWidget(YmNotifyManager *manager, QWidget *parent)
    : YmArrangedWidget(manager, parent)
    , ui(new Ui::YmNotifyWidget)
{
    ui->setupUi(this);

    auto *shadow = new QGraphicsDropShadowEffect(ui->frame);
    shadow->setOffset(0, 0);
    shadow->setBlurRadius(5);
    ui->frame->setGraphicsEffect(shadow);

    connect(ui->btn_close, &QPushButton::clicked, this, [this] {
        emit dismissed();
        deleteLater();
    });

    // A corner full of popups hides the panel under it; nobody may be there to
    // close them. Updates in place do not restart the timer, or a plan that
    // reports every few seconds would never leave.
    m_autoClose = new QTimer(this);
    m_autoClose->setSingleShot(true);
    m_autoClose->setInterval(AutoCloseInterval);
    connect(m_autoClose, &QTimer::timeout, this, &QObject::deleteLater);
    m_autoClose->start();
}

void YmNotifyWidget::enterEvent(QEvent *event)
{
    m_autoClose->stop();
    YmArrangedWidget::enterEvent(event);
}

void YmNotifyWidget::leaveEvent(QEvent *event)
{
    m_autoClose->start();
    YmArrangedWidget::leaveEvent(event);
}

void YmNotifyWidget::setRaisedAt(const QDateTime &at)
{
    m_raisedAt = at;
    showTitle();
}

void YmNotifyWidget::showTitle()
{
    ui->label_title->setText(m_raisedAt.isValid()
                                 ? m_title + QStringLiteral("  ")
                                       + m_raisedAt.time().toString(QStringLiteral("HH:mm:ss"))
                                 : m_title);
}

YmNotifyWidget::~YmNotifyWidget()
{
    delete ui;
}

void YmNotifyWidget::setContent(const QPair<QString, QString> &content)
{
    m_title = content.first;
    m_text = content.second;
    showTitle();

    // Measure the label as laid out inside the fixed-size popup, with its style
    // sheet font applied, not at its construction size.
    ensurePolished();
    if (layout())
        layout()->activate();
    QLabel *label = ui->label_content;
    const QSize textSize = QFontMetrics(label->font()).size(Qt::TextSingleLine, m_text);
    const QString estimated
        = elidedText(m_text, label->width(), label->height(), textSize.width(), textSize.height());
    label->setText(wrappedFit(estimated, QFontMetrics(label->font()), label->size()));
}

QString YmNotifyWidget::wrappedFit(const QString &text, const QFontMetrics &metrics,
                                   const QSize &size)
{
    // QFontMetrics takes the text flags and the alignment in one int.
    const int flags = Qt::TextWordWrap | int(Qt::AlignLeft | Qt::AlignTop);
    const auto fits = [&](const QString &candidate) {
        return metrics.boundingRect(QRect(0, 0, size.width(), INT_MAX / 2), flags, candidate)
                   .height()
               <= size.height();
    };
    if (text.isEmpty() || size.width() <= 0 || size.height() <= 0 || fits(text))
        return text;
    const QChar ellipsis(0x2026);
    const QString body = text.endsWith(ellipsis) ? text.left(text.size() - 1) : text;
    for (int keep = body.size() - 1; keep > 0; --keep) {
        QString candidate = body.left(keep) + ellipsis;
        if (fits(candidate))
            return candidate;
    }
    return QString(ellipsis);
}

QString YmNotifyWidget::elidedText(const QString &text, int width, int height, int textWidth,
                                   int textHeight)
{
    if (text.isEmpty() || textWidth <= 0 || textHeight <= 0)
        return text;
    QString ellipsis(QChar(0x2026));
    if (width <= 0 || height <= 0)
        return ellipsis;
    // 64-bit: length * width overflows int for long texts in wide labels; the early
    // return keeps lines * charsPerLine within range too.
    const qint64 length = text.size();
    const qint64 lines = height / textHeight;
    const qint64 charsPerLine = length * width / textWidth;
    if (lines >= 1 && charsPerLine > length)
        return text;
    const qint64 capacity = lines * charsPerLine;
    if (capacity > length)
        return text;
    if (capacity < 1)
        return ellipsis;
    return text.left(int(capacity - 1)) + ellipsis;
}
