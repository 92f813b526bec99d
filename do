#!/usr/bin/env bash
# Single entry point: ./do test | ./do run [FILE.raw] | ./do build | ./do package | ./do bench
# | ./do fuzz [SECONDS] | ./do windows | ./do wasm | ./do deps
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$PWD
JOBS=${JOBS:-$(nproc)}

PACKAGES=(
    build-essential cmake ninja-build ccache pkg-config
    libgtest-dev googletest
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev
    libgl-dev libxcb1-dev
    libusb-1.0-0-dev libeigen3-dev
    pybind11-dev python3-dev python3-numpy python3-pybind11
    xvfb xauth x11-utils poppler-utils fonts-liberation fonts-dejavu-core
    clang libclang-rt-14-dev
    dpkg-dev file lintian help2man desktop-file-utils appstream
)
# The Windows build, run under Wine, and the WebAssembly build, run under Node.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix wine64 zip unzip)
WASM_PACKAGES=(emscripten node-acorn nodejs)

deps() { # packages... (default: those of the Linux build)
    local missing=() wanted=("$@")
    ((${#wanted[@]})) || wanted=("${PACKAGES[@]}")
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [[ $(id -u) -eq 0 ]] || sudo=sudo
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
            "${missing[@]}" >/dev/null
    fi
}

configure() { # dir, extra cmake args...
    local dir=$1
    shift
    [[ -f $dir/build.ninja ]] || cmake -S "$ROOT" -B "$dir" -G Ninja "$@"
}

build_release() {
    configure build/release -DCMAKE_BUILD_TYPE=Release
    cmake --build build/release -j "$JOBS"
}

build_sanitize() {
    configure build/sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVELIN_SANITIZE=ON
    # A folder configured before the window was part of the sanitizer build gets it now.
    if grep -q '^RAVELIN_BUILD_SHELL:BOOL=OFF' build/sanitize/CMakeCache.txt; then
        cmake build/sanitize -DRAVELIN_BUILD_SHELL=ON
    fi
    cmake --build build/sanitize -j "$JOBS"
}

TESTS_RAN=0 TESTS_PASSED=0 TESTS_FAILED=0 TESTS_SKIPPED=0
SKIP_REASONS=()

run_tests() { # dir; counts what ran, passed, failed and was skipped, for test_summary
    local dir=$1 status=0
    (cd "$dir" && ctest --output-on-failure -j "$JOBS" --timeout 600) 2>&1 |
        tee "$dir/ctest.out" || status=$?
    count_results "$dir"
    return $status
}

count_results() { # dir: reads the CTest output run_tests kept, and the log of every test's output
    local dir=$1 ran failed skipped count reason
    ran=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$dir/ctest.out")
    failed=$(sed -n 's/.* \([0-9]*\) tests failed out of .*/\1/p' "$dir/ctest.out")
    skipped=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (Skipped)$/\1/p' "$dir/ctest.out")
    count=$(grep -c . <<<"$skipped" || true)
    TESTS_RAN=$((TESTS_RAN + ${ran:-0}))
    TESTS_FAILED=$((TESTS_FAILED + ${failed:-0}))
    TESTS_SKIPPED=$((TESTS_SKIPPED + count))
    TESTS_PASSED=$((TESTS_PASSED + ${ran:-0} - ${failed:-0} - count))
    [[ -n $skipped ]] || return 0
    # Why: the Qt Test "SKIP   :" lines and the GoogleTest line after "Skipped" of those tests.
    while IFS= read -r reason; do
        SKIP_REASONS+=("$(basename "$dir"): $reason")
    done < <(awk -v names="|$(tr '\n' '|' <<<"$skipped")" '
        /^[0-9]+\/[0-9]+ Test: / { name = $0; sub(/^[0-9]+\/[0-9]+ Test: /, "", name); next }
        index(names, "|" name "|") == 0 { next }
        /^SKIP   : / { sub(/^SKIP   : /, ""); print name ": " $0 }
        after_skipped { print name ": " $0 }
        { after_skipped = /: Skipped$/ }' "$dir/Testing/Temporary/LastTest.log")
}

test_summary() { # the last lines of ./do test
    local reason
    for reason in "${SKIP_REASONS[@]}"; do echo "  skipped in $reason"; done
    echo "== $TESTS_RAN tests ran: $TESTS_PASSED passed, $TESTS_FAILED failed," \
        "$TESTS_SKIPPED skipped${SKIP_REASONS:+ (why: above)}"
}

tests_of() { # dir: runs the tests of a configuration; a failure ends ./do test with the summary
    run_tests "$1" && return 0
    test_summary
    exit 1
}

sanitizer_env() {
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions=$ROOT/tests/support/lsan.supp:print_suppressions=0
}

FUZZ_HARNESSES=(fuzz_dumpdec fuzz_i2dwriter fuzz_survey fuzz_export fuzz_dump_receiver
                fuzz_system_file fuzz_usb_dump fuzz_incremental)

build_fuzz() { # libFuzzer needs clang: a configuration of its own
    [[ -f build/fuzz/build.ninja ]] || CC=clang CXX=clang++ cmake -S "$ROOT" -B build/fuzz -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRAVELIN_FUZZ=ON -DRAVELIN_BUILD_SHELL=OFF
    cmake --build build/fuzz -j "$JOBS" --target "${FUZZ_HARNESSES[@]}"
}

run_fuzz() { # seconds per harness; the corpus grows in build/fuzz/corpus between runs
    # The seeds come from the Release build's replay programs: they are the same files.
    local seconds=$1 failed=0 h
    for h in "${FUZZ_HARNESSES[@]}"; do
        local seeds=build/fuzz/seeds/$h corpus=build/fuzz/corpus/$h findings=build/fuzz/findings/$h
        local log=build/fuzz/$h.log
        rm -rf "$seeds"
        mkdir -p "$corpus" "$findings"
        build/release/bin/${h}_replay --write-seeds "$seeds" >/dev/null
        echo "== $h for ${seconds}s"
        if ! build/fuzz/bin/$h -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$seeds" >"$log" 2>&1; then
            echo "$h found a fault; the input is in $findings, the report in $log" >&2
            failed=1
        fi
        grep -E 'DONE|^stat::number_of_executed_units' "$log" || tail -20 "$log"
    done
    return $failed
}

package() { # the Debian package from the Release build, checked
    rm -f build/release/ravelin_*.deb
    (cd build/release && cpack -G DEB >/dev/null)
    tests/package/check_package.sh build/release/ravelin_*.deb
}

WINE=/usr/lib/wine/wine64

build_windows() { # the libraries without Qt, their console tools and test programs, as static .exe
    # files
    configure build/windows -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchains/mingw-w64.cmake" \
        -DEigen3_DIR=/usr/share/eigen3/cmake
    cmake --build build/windows -j "$JOBS"
}

wine_prefix() { # a temporary Wine prefix, quiet (console programs need no display), gone at the end;
    # its server stays up until then, so each program run does not start one
    export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/ravelin-wine.XXXXXX")
    trap '/usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
    /usr/lib/wine/wineserver -p >/dev/null 2>&1 # first: the prefix's services keep no output open
    "$WINE" wineboot --init >/dev/null 2>&1
}

windows_zip() { # build/ravelin-VERSION-windows-x64.zip: the tools, their manuals as text, the
    # README's command-line sections and the licence, with Windows line ends; prints its path
    local version name dir exe
    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
    name=ravelin-$version-windows-x64
    dir=build/zip/$name
    rm -rf build/zip "build/$name.zip"
    mkdir -p "$dir"
    for exe in build/windows/bin/*.exe; do
        cp "$exe" "$dir/"
        { "$WINE" "$exe" --version && echo $'\r' && "$WINE" "$exe" --help; } \
            >"$dir/$(basename "$exe" .exe).txt"
    done
    awk '/^## / { keep = /^## (Command-line converter|Pseudo-section writer|Exports for|Gravity reduction|Resistivity\/IP quality|Windows and the browser)/ } keep' \
        README.md | sed 's/$/\r/' >"$dir/README.txt"
    sed 's/$/\r/' LICENSE >"$dir/LICENSE.txt"
    (cd build/zip && zip -qr9 "../$name.zip" "$name")
    echo "build/$name.zip"
}

test_windows() { # the core's test programs under Wine, and the .exe tools write what the Linux
    # tools write, byte for byte
    local start=$SECONDS zip
    build_windows
    echo "== Windows build: $((SECONDS - start)) s"
    start=$SECONDS
    wine_prefix
    tests_of build/windows
    tests/portable/same_outputs.sh build/release/bin build/check/windows "$WINE" \
        build/windows/bin .exe
    zip=$(windows_zip)
    tests/portable/windows_paths.sh "$zip" build/release/bin build/check/windows/linux/mixed.raw
    echo "== Windows tests under Wine: $((SECONDS - start)) s"
}

# Node 18 and later would fetch the .wasm by its path, which fails; without fetch it is read.
NODE=(node --no-experimental-fetch)

build_wasm() { # the console tools and test programs as .js/.wasm pairs, and build/wasm/ravelin-core.js
    export NODE_PATH=/usr/share/nodejs # Debian's acorn, for Emscripten's optimizer
    configure build/wasm -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchains/emscripten.cmake" \
        -DEigen3_DIR=/usr/share/eigen3/cmake
    cmake --build build/wasm -j "$JOBS"
}

test_wasm() { # the core's test programs under Node, and the .js tools and ravelin-core.js write
    # what the Linux tools write
    local start=$SECONDS check=build/check/core
    build_wasm
    echo "== WebAssembly build: $((SECONDS - start)) s"
    start=$SECONDS
    tests_of build/wasm
    tests/portable/same_outputs.sh build/release/bin build/check/wasm "${NODE[*]}" build/wasm/bin .js
    rm -rf "$check"
    mkdir -p "$check"
    build/release/bin/ravelin-sample --kind mixed "$check/line7.raw" >/dev/null
    (cd "$check" && "$ROOT/build/release/bin/ravelin-convert" --keep line7.raw >/dev/null &&
        "$ROOT/build/release/bin/ravelin-export" --format csv line7.tvd >/dev/null 2>&1)
    "${NODE[@]}" tests/portable/core_test.js build/wasm/ravelin-core.js "$check"
    echo "== WebAssembly tests under Node: $((SECONDS - start)) s"
}

sample() { # prints the path of a generated sample database
    local out=build/sample/sample.raw
    mkdir -p build/sample
    build/release/bin/ravelin-sample "$out" >/dev/null
    echo "$out"
}

cmd=${1:-help}
shift || true
case $cmd in
deps) deps "${PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" "${WASM_PACKAGES[@]}" ;;
build)
    deps
    build_release
    ;;
test)
    start=$SECONDS
    deps "${PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}" "${WASM_PACKAGES[@]}"
    echo "== dependencies: $((SECONDS - start)) s"
    build_release
    tests_of build/release
    package
    test_windows
    test_wasm
    build_sanitize
    sanitizer_env
    tests_of build/sanitize
    build_fuzz
    fuzz_status=0
    run_fuzz 25 || fuzz_status=1
    test_summary
    exit $fuzz_status
    ;;
package)
    deps
    build_release
    package
    ;;
fuzz)
    deps
    build_release
    build_fuzz
    run_fuzz "${1:-60}"
    ;;
run)
    deps
    build_release
    file=${1:-}
    if [[ -n ${DISPLAY:-}${WAYLAND_DISPLAY:-} && -x build/release/bin/RAVELIN ]]; then
        exec build/release/bin/RAVELIN
    fi
    [[ -n $file ]] || file=$(sample)
    echo "No display: converting $file with the command-line converter"
    build/release/bin/ravelin-convert --keep "$file"
    ;;
windows)
    deps "${PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
    build_windows
    wine_prefix
    windows_zip
    ;;
wasm)
    deps "${PACKAGES[@]}" "${WASM_PACKAGES[@]}"
    build_wasm
    ls build/wasm/ravelin-core.js build/wasm/ravelin-core.wasm
    ;;
bench)
    deps
    build_release
    for b in build/release/bin/ravelin-bench-*; do "$b" "$@"; done
    ;;
*)
    echo "usage: ./do test | ./do run [FILE.raw] | ./do build | ./do package | ./do bench |" \
        "./do fuzz [SECONDS] | ./do windows | ./do wasm | ./do deps" >&2
    exit 2
    ;;
esac
