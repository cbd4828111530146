#ifndef YMBENCHMAIN_H
#define YMBENCHMAIN_H

#include <functional>

// Runs the registered benchmarks with the image bundles and meta types in
// place. With withApplication a QApplication on the offscreen platform exists
// for the run; beforeExit runs while it still does (widgets must go first).
int ymRunBenchmarks(int argc, char **argv, bool withApplication,
                    const std::function<void()> &beforeExit = {});

#endif // YMBENCHMAIN_H
