#include "ymbenchmain.h"

#include "ymharness.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>

int ymRunBenchmarks(int argc, char **argv, bool withApplication,
                    const std::function<void()> &beforeExit)
{
    std::unique_ptr<QApplication> app;
    if (withApplication) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
    YmHarness::start();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeExit)
        beforeExit();
    return 0;
}
