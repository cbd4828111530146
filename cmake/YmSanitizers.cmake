# Sanitizer and fuzzing instrumentation, applied to every target of the build
# (the module, the tests and the fuzzer) so that a report from any of them fails.
if(YM_BUILD_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "YM_BUILD_FUZZ needs clang (libFuzzer); configure with "
                        "-DCMAKE_CXX_COMPILER=clang++")
endif()

set(YM_SANITIZER_SUPPRESSIONS ${CMAKE_CURRENT_LIST_DIR}/../tools/sanitizers/lsan.supp)
get_filename_component(YM_SANITIZER_SUPPRESSIONS ${YM_SANITIZER_SUPPRESSIONS} ABSOLUTE)

if(YM_SANITIZE)
    # No recovery: the first report aborts the process, so a test with a report fails.
    set(_ym_san -fsanitize=address,undefined -fno-sanitize-recover=all)
    add_compile_options(${_ym_san} -fno-omit-frame-pointer)
    add_link_options(${_ym_san})
endif()
if(YM_BUILD_FUZZ)
    # Coverage feedback for libFuzzer in every object; only fuzz_board links its main.
    add_compile_options(-fsanitize=fuzzer-no-link)
    add_link_options(-fsanitize=fuzzer-no-link)
endif()

# What a sanitized process needs at run time: exit with an error on any report,
# and the one leak that is Qt's, not ours (the offscreen platform's screen).
set(YM_SANITIZER_ENV
    "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=1"
    "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
    "LSAN_OPTIONS=suppressions=${YM_SANITIZER_SUPPRESSIONS}:print_suppressions=0")

# Adds the sanitizer environment to every test registered so far in the
# calling directory; call it at the end of a directory that adds tests.
function(ym_sanitizer_test_environment)
    if(NOT YM_SANITIZE)
        return()
    endif()
    get_property(_tests DIRECTORY PROPERTY TESTS)
    foreach(_test IN LISTS _tests)
        set_property(TEST ${_test} APPEND PROPERTY ENVIRONMENT ${YM_SANITIZER_ENV})
    endforeach()
endfunction()

# Sanitizer runtimes are linked into executables only; a shared library takes
# their symbols from the executable that loads it, so it may not insist on
# resolving everything at link time.
function(ym_sanitizer_allow_runtime_symbols target)
    if(NOT YM_SANITIZE AND NOT YM_BUILD_FUZZ)
        return()
    endif()
    get_target_property(_options ${target} LINK_OPTIONS)
    if(_options)
        list(REMOVE_ITEM _options "LINKER:--no-undefined")
        set_target_properties(${target} PROPERTIES LINK_OPTIONS "${_options}")
    endif()
endfunction()
