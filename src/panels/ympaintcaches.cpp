#include "ympaintcaches.h"

#include "ymworkshopdateplanprogress.h"
#include "ymworkshophorizontalbarchart.h"
#include "ymworkshopplanratechart.h"
#include "ymworkshopverticalbarchart.h"

#include <QWidget>

namespace {

template<typename Panel>
void setOn(QWidget *root, bool enabled)
{
    if (auto *panel = qobject_cast<Panel *>(root))
        panel->setPaintCachesEnabled(enabled);
    const QList<Panel *> panels = root->findChildren<Panel *>();
    for (Panel *panel : panels)
        panel->setPaintCachesEnabled(enabled);
}

} // namespace

void YmPaintCaches::setEnabled(QWidget *root, bool enabled)
{
    if (!root)
        return;
    setOn<YmWorkshopDatePlanProgress>(root, enabled);
    setOn<YmWorkshopHorizontalBarChart>(root, enabled);
    setOn<YmWorkshopVerticalBarchart>(root, enabled);
    setOn<YmWorkshopPlanRateChart>(root, enabled);
}
