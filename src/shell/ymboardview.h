#ifndef YMBOARDVIEW_H
#define YMBOARDVIEW_H

#include <QGraphicsView>

class QGraphicsProxyWidget;

// Shows the board's main window at its design size, scaled down as one picture
// for a window smaller than the board was laid out for. Texts and lines stay
// vector-drawn; the view is frameless, without scroll bars and transparent, so
// the page's background shows between the docks as it does unscaled.
class YmBoardView : public QGraphicsView
{
    Q_OBJECT

public:
    // Takes the parentless board widget into its scene.
    explicit YmBoardView(QWidget *board, QWidget *parent = nullptr);
    ~YmBoardView() override;

    // Gives the board widget back, parentless; the view then shows nothing.
    QWidget *releaseBoard();

    // Lays the board out at (view size / scale), but no larger than largest
    // when it is valid, and shows it at that scale.
    void setBoardScale(double scale, const QSizeF &largest = QSizeF());
    double boardScale() const { return m_scale; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Hands the event to the board widget under the cursor, as a right-click on
    // the unscaled board would (the scene alone delivers it only with focus).
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void layoutBoard();

    QGraphicsProxyWidget *m_proxy = nullptr;
    double m_scale = 1.0;
    QSizeF m_largest; // invalid: no bound
};

#endif // YMBOARDVIEW_H
