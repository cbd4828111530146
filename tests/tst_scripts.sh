#!/usr/bin/env bash
# The README's two commands in order: run-board's configure must not switch the
# tests off for run-tests, and a build with no test registered must fail the
# test command. Configures scratch build trees only; nothing is compiled.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/commands.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

ym_configure_board "$scratch" >/dev/null
if ym_run_ctest "$scratch" >"$scratch/ctest.log" 2>&1; then
    echo "FAIL: the test command passed in a build without tests"
    exit 1
fi
grep -q "No tests were found" "$scratch/ctest.log" || {
    echo "FAIL: the test command failed for another reason:"
    cat "$scratch/ctest.log"
    exit 1
}

ym_configure_tests "$scratch" >/dev/null
expected=$(ls tests/tst_*.cpp | wc -l)
# The host's database tests are registered a second time, for the server.
registered=$(cd "$scratch" && ctest -N | grep ' tst_' | grep -vc -- '-postgresql$' || true)
# tst_scripts itself is registered beside the Qt Test executables.
if [ "$registered" -ne $((expected + 1)) ]; then
    echo "FAIL: after run-board's configure the test command registers $registered tests, expected $((expected + 1))"
    exit 1
fi
echo "PASS: no tests -> failure; run-board then run-tests -> $registered tests"
