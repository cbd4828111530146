# Sourced by run-sanitizers and fuzz-speed: the sanitizers' and libFuzzer's
# settings every fuzzing run shares.
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
# Freed memory waits in a quarantine of 64 MiB before it is reused (256 MiB by
# default): long enough to catch a use after free within an input, short
# enough that the allocator reuses warm pages instead of faulting in new ones.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:quarantine_size_mb=64
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0

# libFuzzer options for a target. The widget targets leave the leak check to
# the end of the run: libFuzzer checks after every input whose allocations
# and frees differ in number, which Qt's font, glyph and style caches make
# nearly every input, and each check scans the whole heap (three quarters of
# the board target's time). A leak per input is still unreachable at exit and
# fails the run there.
ym_fuzz_options() {
    local options="-timeout=30 -rss_limit_mb=4096"
    case "$1" in
    fuzz_board | fuzz_paintcache) options+=" -detect_leaks=0" ;;
    esac
    echo "$options"
}
