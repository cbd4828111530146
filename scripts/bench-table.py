#!/usr/bin/env python3
"""Prints the board's performance table from the JSON results of run-bench.

Figures are medians over the repetitions; CPU time decides met or missed
(the build machines are shared, so wall time is shown beside it only)."""
import glob
import json
import os
import sys

results = sys.argv[1] if len(sys.argv) > 1 else "build-bench/results"
runs = {}
# The table's programs only: other programs reuse some benchmark names.
paths = [os.path.join(results, n) for n in ("bench_summary.json", "bench_qtcharts.json")]
paths += sorted(glob.glob(os.path.join(results, "peak_memory_*.json")))
for path in paths:
    if not os.path.exists(path):
        continue
    with open(path) as f:
        data = json.load(f)
    for b in data.get("benchmarks", []):
        if b.get("error_occurred"):
            continue
        name = b.get("run_name", b["name"])
        agg = b.get("aggregate_name")
        if agg is not None and agg != "median":
            continue
        # A median wins over a single run of the same name.
        if agg == "median" or name not in runs:
            runs[name] = b

TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}


def find(prefix):
    for name, b in runs.items():
        if name == prefix or name.startswith(prefix + "/iterations:") \
                or name.startswith(prefix + "/repeats:"):
            return b
    return None


def ms(prefix, kind="cpu_time"):
    b = find(prefix)
    if b is None:
        return None
    return b[kind] * TO_MS[b.get("time_unit", "ns")]


def fmt_ms(v):
    if v is None:
        return "n/a"
    if v >= 100:
        return f"{v:.0f} ms"
    if v >= 1:
        return f"{v:.2f} ms"
    if v < 0.0001:
        return f"{v * 1e6:.0f} ns"
    return f"{v * 1000:.1f} us"


def cell(prefix):
    cpu, wall = ms(prefix), ms(prefix, "real_time")
    return "n/a" if cpu is None else f"{fmt_ms(cpu)} ({fmt_ms(wall)})"


rows = []


def timed(title, bench, target_ms=None, target_text=""):
    large = ms(bench + "/1")
    status = ""
    if target_ms is not None:
        status = "n/a" if large is None else ("met" if large < target_ms else "MISSED")
    rows.append((title, cell(bench + "/0"), cell(bench + "/1"), target_text, status))


timed("initDatas", "BM_InitDatas", 50, "< 50 ms (large)")
timed("initDatas, shown board through the facade", "BM_InitDatasShownFacade", 40,
      "< 40 ms (large)")
timed("updateMacProcess, 10 new pieces at 19:00+", "BM_UpdateMacProcess", 1, "< 1 ms (large)")
timed("refreshDashboard", "BM_RefreshDashboard")
timed("day forecast (each paint after a report)", "BM_Forecast", 0.1, "< 0.1 ms (large)")
timed("plans at risk (once a minute)", "BM_PlansAtRisk")
timed("paint: machine states 839x247", "BM_PaintMacState")
timed("paint: statistics table 553x952", "BM_PaintStatsTable")
timed("paint: completion rate 516x487", "BM_PaintPlanRate")
timed("paint: order bars 516x439", "BM_PaintOrderBars")
timed("paint: today's progress 839x327", "BM_PaintProgress")
timed("paint: group bars 839x326", "BM_PaintGroupBars")
timed("whole board render 1920x1080", "BM_RenderBoard", 8, "< 8 ms (large)")
timed("updateMacProcess + the repaint it causes", "BM_UpdateAndRepaint")
timed("plan model rebuild + sort (3 criteria)", "BM_PlanModelRebuildSort")
timed("statistics model load", "BM_StatsModelLoad")


def counter(day, key):
    for name, b in runs.items():
        if name.startswith(f"BM_PeakMemory/{day}") and key in b:
            return f"{b[key]:.1f} MiB"
    return "n/a"


rows.append(("peak memory after the day", counter(0, "peak MiB after the day"),
             counter(1, "peak MiB after the day"), "", ""))
rows.append(("peak memory after 10,000 updateMacProcess", counter(0, "peak MiB after 10000 updates"),
             counter(1, "peak MiB after 10000 updates"), "", ""))

head = ("figure (median CPU, wall in brackets)", "sample day", "large workshop", "target", "")
widths = [max(len(str(r[i])) for r in rows + [head]) for i in range(5)]


def line(r):
    return " | ".join(str(c).ljust(w) for c, w in zip(r, widths)).rstrip()


print()
print("Large workshop: 500 machines in 40 groups, 300 plans, 3,000 order rows, "
      "200,000 pieces; sample day: 12 machines, 4 plans, 20 rows.")
print(line(head))
print("-+-".join("-" * w for w in widths))
for r in rows:
    print(line(r))


def ratio(title, slow, fast, target=None):
    s, f = ms(slow), ms(fast)
    if s is None or f is None or f == 0:
        print(f"{title}: n/a")
        return
    text = f"{title}: {s / f:.1f}x ({fmt_ms(s)} / {fmt_ms(f)} CPU)"
    if target is not None:
        text += f"  target >= {target}x: " + ("met" if s / f >= target else "MISSED")
    print(text)


print()
print("Ratios (median CPU time of the other way / ours):")
ratio("Qt Charts / our order chart, sample day's bars, one change per frame",
      "BM_OrderChartQtCharts", "BM_OrderChartOurs", 6)
for day, label in ((0, "sample day"), (1, "large workshop")):
    ratio(f"linear-name-list refresh / ours, {label}",
          f"BM_LiteralRefreshFigures/{day}", f"BM_RefreshFigures/{day}")
for day, label in ((0, "sample day"), (1, "large workshop")):
    ratio(f"re-parsing progress update / ours, {label}",
          f"BM_LiteralProgressUpdate/{day}", f"BM_ProgressUpdate/{day}")
print()
print(f"JSON of every benchmark program: {results}/")
