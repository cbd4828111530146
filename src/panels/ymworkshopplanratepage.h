#ifndef YMWORKSHOPPLANRATEPAGE_H
#define YMWORKSHOPPLANRATEPAGE_H

#include <QWidget>

namespace Ui {
class YmWorkshopPlanRatePage;
}

class YmWorkshopPlanRateChart;
class YmWorkshopPlanRateLabel;

// Today's completion: the gauge above, completed and outstanding quantities below.
class YmWorkshopPlanRatePage : public QWidget
{
    Q_OBJECT

public:
    explicit YmWorkshopPlanRatePage(QWidget *parent = nullptr);
    ~YmWorkshopPlanRatePage() override;

    // Nothing is clamped: completed above total shows a negative outstanding
    // quantity and a rate above 100 percent.
    void setCompletion(int total, int completed);

    const YmWorkshopPlanRateChart *chart() const;
    const YmWorkshopPlanRateLabel *completedLabel() const;
    const YmWorkshopPlanRateLabel *outstandingLabel() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void setTitles();

    Ui::YmWorkshopPlanRatePage *ui;
};

#endif // YMWORKSHOPPLANRATEPAGE_H
