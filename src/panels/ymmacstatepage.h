#ifndef YMMACSTATEPAGE_H
#define YMMACSTATEPAGE_H

#include <QWidget>

class YmItemPixmapText;

// The four machine state counters (online, working, abnormal, offline): one row
// of four, or a 2 x 2 grid once the page is at least 300 pixels high.
class YmMacStatePage : public QWidget
{
    Q_OBJECT

public:
    explicit YmMacStatePage(QWidget *parent = nullptr);

    void setOnlineCount(int n);
    void setWorkingCount(int n);
    void setAbnormalCount(int n);
    void setOfflineCount(int n);

    const YmItemPixmapText *onlineItem() const { return online; }
    const YmItemPixmapText *workingItem() const { return working; }
    const YmItemPixmapText *abnormalItem() const { return abnormal; }
    const YmItemPixmapText *offlineItem() const { return offline; }
    bool isSingleRow() const { return singleRow; }

    // Puts the counters into the grid as 2 x 2 (twoRows) or as one row of four.
    void arrangeItems(bool twoRows);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showCounts();

    int onlineCount = 0;
    int workingCount = 0;
    int abnormalCount = 0;
    int offlineCount = 0;
    YmItemPixmapText *online = nullptr;
    YmItemPixmapText *working = nullptr;
    YmItemPixmapText *abnormal = nullptr;
    YmItemPixmapText *offline = nullptr;
    bool singleRow = true;
};

#endif // YMMACSTATEPAGE_H
