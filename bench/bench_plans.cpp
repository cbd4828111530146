#include "ymbenchmain.h"
#include "ymbenchworkshop.h"
#include "ymtableplanmodel.h"
#include "ymtablesortproxymodel.h"
#include "ymtableviewplanpage.h"

#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const YmBenchWorkshop &large()
{
    static const YmBenchWorkshop w = YmBenchWorkshop::large();
    return w;
}

// The first one, two or three criteria of plan, file, machine.
QStringList criteria(int count)
{
    const QStringList all{YmTablePlanModel::planTitle(), YmTablePlanModel::fileTitle(),
                          YmTablePlanModel::macTitle()};
    return all.mid(0, count);
}

// The plan model behind its proxy, as the plan window holds them.
struct Table
{
    explicit Table(int criterionCount)
    {
        proxy.setSourceModel(&model);
        model.setColumnOrder(criteria(criterionCount));
        model.refresh();
        model.setPlanList(large().rows);
    }
    YmTablePlanModel model;
    YmTableSortProxyModel proxy;
};

void setLabel(benchmark::State &state, const YmTablePlanModel &model)
{
    state.counters["order rows"] = double(model.planList().size());
    state.counters["table rows"] = double(model.rowCount());
}

// A new day list: reset and regrouping of 3,000 order rows on 500 machines.
void BM_PlanRebuild(benchmark::State &state)
{
    Table table(int(state.range(0)));
    for (auto _ : state)
        table.model.setPlanList(large().rows);
    setLabel(state, table.model);
}

// One machine's process report: its counts written into the order rows, then
// the regrouping.
void BM_PlanUpdateMacProcess(benchmark::State &state)
{
    Table table(int(state.range(0)));
    for (auto _ : state)
        table.model.updateMacProcess(large().processMacKey, large().process);
    setLabel(state, table.model);
}

// A header click on the rate column (then on the plan column), through the proxy.
void BM_PlanSort(benchmark::State &state)
{
    Table table(3);
    const int column = state.range(0) == 0 ? 5 : 0;
    bool descending = false;
    for (auto _ : state) {
        table.proxy.sort(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        descending = !descending;
    }
    state.SetLabel(column == 5 ? "by rate" : "by plan name");
    setLabel(state, table.model);
}

// The plan name of the hundredth plan typed one character at a time: each
// iteration is one keystroke, the filter applied to the plan column.
void BM_PlanFilterKeystroke(benchmark::State &state)
{
    Table table(3);
    const bool fuzzy = state.range(0) == 1;
    const QString typed = large().rows.at(1000).toList().value(0).toString();
    int length = 0;
    for (auto _ : state) {
        length = length % typed.size() + 1;
        table.proxy.setFilter(0, QRegExp(typed.left(length), Qt::CaseInsensitive,
                                         fuzzy ? QRegExp::RegExp : QRegExp::FixedString));
    }
    state.SetLabel(fuzzy ? "contains" : "equals");
    setLabel(state, table.model);
}

std::unique_ptr<YmTableViewPlanPage> g_page;

YmTableViewPlanPage &page()
{
    if (!g_page) {
        g_page = std::make_unique<YmTableViewPlanPage>();
        g_page->initDatas(large().macList, large().rows, true, 123, 1);
        g_page->resize(1280, 800);
        g_page->show();
    }
    return *g_page;
}

// The same keystrokes in the shown window: filter text, query button, view.
void BM_PagePlanFilterKeystroke(benchmark::State &state)
{
    YmTableViewPlanPage &p = page();
    auto *edit = p.findChild<QLineEdit *>(QStringLiteral("lineEdit_filter"));
    auto *query = p.findChild<QPushButton *>(QStringLiteral("btnQuery"));
    const QString typed = large().rows.at(1000).toList().value(0).toString();
    int length = 0;
    for (auto _ : state) {
        length = length % typed.size() + 1;
        edit->setText(typed.left(length));
        query->click();
    }
    edit->clear();
    query->click();
    setLabel(state, p.model());
}

// A process report reaching the shown window: rebuild, the reader's sort,
// selection and scroll position restored.
void BM_PagePlanUpdateMacProcess(benchmark::State &state)
{
    YmTableViewPlanPage &p = page();
    for (auto _ : state)
        p.updateMacProcess(large().processMacKey, large().process);
    setLabel(state, p.model());
}

} // namespace

BENCHMARK(BM_PlanRebuild)->DenseRange(1, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlanUpdateMacProcess)->DenseRange(1, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlanSort)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlanFilterKeystroke)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PagePlanFilterKeystroke)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PagePlanUpdateMacProcess)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return ymRunBenchmarks(argc, argv, true, [] { g_page.reset(); });
}
