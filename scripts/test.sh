#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, also over the
# portable file code; then runs them all again in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer, and every fuzz target for
# a minute. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only the tests need these: the analysis package that reads the works' XDI
# files, the package's checkers, and headless Chromium with the DevTools
# client that drives it.
test_packages=(
    python3-xraylarch
    dpkg-dev file lintian desktop-file-utils appstream man-db groff-base
    chromium python3-websocket
)
scripts/setup.sh "${test_packages[@]}"
scripts/build.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"

# The same suite over the Qt-only file code that other platforms build, so
# that nothing a port would run is untested.
if [ ! -f build-portable/build.ninja ]; then
    cmake -S . -B build-portable -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKORVANE_PORTABLE=ON -DKORVANE_BENCH=OFF
fi
cmake --build build-portable -j"$(nproc)"
ctest --test-dir build-portable --output-on-failure -j"$(nproc)"

# The sanitized build needs clang for libFuzzer; the benchmarks are left out,
# since nothing runs them here.
if [ ! -f build-asan/build.ninja ]; then
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DKORVANE_SANITIZE=ON -DKORVANE_FUZZ=ON -DKORVANE_BENCH=OFF
fi
cmake --build build-asan -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
fuzz/run.sh build-asan 60
