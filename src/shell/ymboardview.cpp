#include "ymboardview.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>

YmBoardView::YmBoardView(QWidget *board, QWidget *parent)
    : QGraphicsView(parent)
{
    setScene(new QGraphicsScene(this));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                   | QPainter::SmoothPixmapTransform);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setBackgroundBrush(Qt::NoBrush);
    if (board) {
        // An embedded widget is a window of its own and would fill its
        // background with the palette; the board has none of its own.
        board->setAttribute(Qt::WA_NoSystemBackground, true);
        m_proxy = scene()->addWidget(board);
    }
}

YmBoardView::~YmBoardView() = default;

QWidget *YmBoardView::releaseBoard()
{
    if (!m_proxy)
        return nullptr;
    QWidget *board = m_proxy->widget();
    m_proxy->setWidget(nullptr);
    if (board)
        board->setAttribute(Qt::WA_NoSystemBackground, false);
    return board;
}

void YmBoardView::setBoardScale(double scale, const QSizeF &largest)
{
    if (!(scale > 0.0))
        return;
    m_scale = scale;
    m_largest = largest;
    layoutBoard();
}

void YmBoardView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    layoutBoard();
}

void YmBoardView::layoutBoard()
{
    QSizeF size(width() / m_scale, height() / m_scale);
    if (m_largest.isValid())
        size = size.boundedTo(m_largest);
    const QRectF board(QPointF(), size);
    if (m_proxy && m_proxy->widget())
        m_proxy->setGeometry(board);
    setSceneRect(board);
    setTransform(QTransform::fromScale(m_scale, m_scale));
}

void YmBoardView::contextMenuEvent(QContextMenuEvent *event)
{
    QWidget *board = m_proxy ? m_proxy->widget() : nullptr;
    if (!board)
        return;
    const QPoint at = (mapToScene(event->pos()) - m_proxy->pos()).toPoint();
    QWidget *target = board->childAt(at);
    if (!target)
        target = board;
    // Pop-ups of the board (its context menu) are embedded in the scene too;
    // they are placed in the board's own coordinates, which is what mapToGlobal
    // gives for an embedded widget.
    const QPoint local = target->mapFrom(board, at);
    QContextMenuEvent forwarded(event->reason(), local, target->mapToGlobal(local),
                                event->modifiers());
    QCoreApplication::sendEvent(target, &forwarded);
    event->setAccepted(forwarded.isAccepted());
}
