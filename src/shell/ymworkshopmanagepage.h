#ifndef YMWORKSHOPMANAGEPAGE_H
#define YMWORKSHOPMANAGEPAGE_H

#include <QColor>
#include <QDate>
#include <QHash>
#include <QImage>
#include <QMap>
#include <QPixmap>
#include <QString>
#include <QVariant>
#include <QWidget>

class YmBoardView;
class YmWorkshopManageMainPage;

// The board's top-level window: paints the title band with the live clock,
// hosts the main window below it, watches the calendar day and relays the
// main window's signals to the facade.
class YmWorkshopManagePage : public QWidget
{
    Q_OBJECT

public:
    explicit YmWorkshopManagePage(QWidget *parent = nullptr);
    ~YmWorkshopManagePage() override;

    void initDatas(const QList<QVariant> &planData, const QList<QVariant> &macList,
                   const QList<QVariant> &stopList, const QString &startTime,
                   const QString &endTime, double workMinutes);
    void updateMacState(const QString &macKey, int state, const QString &macName);
    void updateMacProcess(const QString &macKey, const QList<QVariant> &process);
    void updateLv1Name(const QString &oldName, const QString &newName);
    void updateWorkTimeData(const QString &startTime, const QString &endTime, int workMinutes);
    void queryDatePlan(const QString &date, const QList<QVariant> &plans);

    // Texts of the board are fixed; the hook exists for hosts that call it.
    void retranslateUi(int language);

    // Negative: top left, positive: top right, zero: unchanged.
    void setDateTimeLocPos(int pos);
    int dateTimeLocPos() const { return m_clockPos; }

    double bandHeight() const { return m_bandHeight; }
    YmWorkshopManageMainPage *mainPage() const { return m_mainPage; }

    // Band height for a window of the given height.
    static double bandHeightFor(int windowHeight);

    // The board is laid out for 1920x1080. A window narrower than 1920 or lower
    // than 972 shows it scaled down as one picture by min(W/1920, H/1080);
    // otherwise 1 (larger screens are scaled by Qt's device pixel ratio, which
    // the host chooses).
    static double boardScaleFor(const QSize &windowSize);
    double boardScale() const { return m_boardScale; }
    // The remembered texts and pixels of this board's band and panels; off,
    // everything is painted afresh (for comparing with a cached paint).
    void setPaintCachesEnabled(bool enabled);
    // The view that shows the main window scaled down; null at full size.
    YmBoardView *boardView() const { return m_view; }

    // Paints the whole band (background, gradient, title, banner, clock).
    void drawBand(QPainter *painter, const QDateTime &now) const;
    // The band without the clock.
    void drawBackdrop(QPainter *painter) const;

    // Where the clock text goes for the current width and position.
    QRect clockRect(const QFontMetricsF &metrics, const QString &text) const;

    // One clock tick: repaint, detect a new calendar day, recount machine states.
    void tick(const QDate &today);
    // Takes today's date from the clock without reporting a day change: for a
    // host that installs its own clock.
    void syncDay();

    void toggleFullScreen();

signals:
    void sUpdateDateInit();
    void sQueryDatePlan(QDate date);
    void sAddDatePlan(QString date, QString planName, QString fileName,
                      QMap<QString, int> mapMacCount, int notifyNum);
    void sEditDatePlan(QString date, QString oldPlanName, QString newPlanName, QString oldFileName,
                       QString newFileName, QMap<QString, int> mapMacCount, int notifyNum);
    void sDelDatePlan(QString date, QString planName);
    void sPlanStopSettingShow();
    void sPlanWorkTimeSettingShow();
    void sSaveKeyAttr(QString key, QString attr);

protected:
    void timerEvent(QTimerEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void showScaledBoard(const QSize &windowSize);
    void showDirectBoard();

    YmWorkshopManageMainPage *m_mainPage = nullptr;
    Qt::WindowFlags m_savedFlags;
    QColor m_background = QColor(0, 7, 62);
    QColor m_gradientMiddle = QColor(30, 55, 155);
    QPixmap m_banner;
    double m_titleFontSize = 35.0;
    double m_clockFontSize = 18.0;
    QString m_clockFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    QString m_dateFormat = QStringLiteral("yyyy-MM-dd");
    int m_clockPos = -1;
    int m_timerId = 0;
    double m_bandHeight = 98.0;
    QString m_currentDate;
    double m_boardScale = 1.0;
    bool m_paintCaches = true;
    YmBoardView *m_view = nullptr;
    // The backdrop as last painted, and what it was painted for.
    mutable QHash<int, QImage> m_backdrops; // by image format
    mutable QString m_backdropKey;

    bool drawCachedBackdrop(QPainter *painter) const;
};

#endif // YMWORKSHOPMANAGEPAGE_H
