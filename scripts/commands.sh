# Sourced by run-board and run-tests (and by the test of both): the configure
# and test commands in one place. Every option a command relies on is passed
# explicitly, so the order in which the scripts ran before does not matter.

# ccache, where the machine has it, makes a rebuild in a fresh clone cheap.
ym_launcher() {
    command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache || true
}

# Configures $1 for the demo host alone (tests and benchmarks off).
ym_configure_board() {
    cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DYM_BUILD_DEMO=ON -DYM_BUILD_TESTS=OFF -DYM_BUILD_BENCH=OFF $(ym_launcher)
}

# Configures $1 with every test, the benchmarks and the demo; the compile
# commands it writes are what run-static-analysis reads.
ym_configure_tests() {
    cmake -S . -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DYM_BUILD_DEMO=ON -DYM_BUILD_TESTS=ON -DYM_BUILD_BENCH=ON \
        -DCMAKE_EXPORT_COMPILE_COMMANDS=ON $(ym_launcher)
}

# Runs every test registered in $1; fails when none is registered.
ym_run_ctest() {
    (cd "$1" && QT_QPA_PLATFORM=offscreen ctest --no-tests=error --output-on-failure -j"$(nproc)")
}
