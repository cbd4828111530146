#include "ymbenchmain.h"
#include "ymordermodel.h"
#include "ymtableplanmodel.h"
#include "ymtablesortproxymodel.h"
#include "ymtableviewplanpage.h"
#include "ymworkshopday.h"

#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const YmWorkshopDay &large()
{
    static const YmWorkshopDay w = YmWorkshopDay::large();
    return w;
}

const QVector<YmOrderRecord> &largeRows()
{
    static const QVector<YmOrderRecord> rows = large().records();
    return rows;
}

// The first one, two or three criteria of plan, file, machine.
YmTablePlanModel::ColumnOrder criteria(int count)
{
    const YmTablePlanModel::ColumnOrder all{YmTablePlanModel::PlanCriterion,
                                            YmTablePlanModel::FileCriterion,
                                            YmTablePlanModel::MachineCriterion};
    return all.mid(0, count);
}

// The board's rows after the large workshop's process report, and which changed.
struct Report
{
    QVector<YmOrderRecord> rows;
    QVector<int> changed;
};
const Report &report()
{
    static const Report r = [] {
        YmOrderModel board;
        board.setRows(largeRows());
        const YmOrderModel::Change change
            = board.applyProcess(large().processMacKey, large().processEntries());
        return Report{board.rows(), change.rows};
    }();
    return r;
}

// The plan model behind its proxy, as the plan window holds them.
struct Table
{
    explicit Table(int criterionCount)
    {
        proxy.setSourceModel(&model);
        model.setColumnOrder(criteria(criterionCount));
        model.refresh();
        model.setPlanList(largeRows());
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
        table.model.setPlanList(largeRows());
    setLabel(state, table.model);
}

// One machine's process report: the board's changed rows taken, then the
// regrouping.
void BM_PlanUpdateMacProcess(benchmark::State &state)
{
    Table table(int(state.range(0)));
    for (auto _ : state)
        table.model.updateRows(report().rows, report().changed, true);
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
        g_page->initDatas(large().machines(), largeRows(), true, 123, 1);
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
        p.updateRows(report().rows, report().changed);
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
