#!/usr/bin/env bash
# Set up, build, run and test Quorvane on Debian.
#   ./dev.sh run    install what is missing, build, start Quorvane (under Xvfb without a display)
#   ./dev.sh test   install what is missing, build, run every test (also under ASan/UBSan)
set -euo pipefail

cd "$(dirname "$0")"
ROOT=$(pwd)
BUILD=${QUORVANE_BUILD_DIR:-$ROOT/build}
JOBS=$(nproc 2>/dev/null || echo 2)

PACKAGES=(g++ make cmake pkg-config libgtest-dev libbenchmark-dev liberfa-dev libhowardhinnant-date-dev tzdata qt6-base-dev qt6-translations-l10n fonts-arphic-uming)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
    else
        echo "Missing packages. Install them with:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
}

build() {  # build DIR [cmake options...]
    local dir=$1
    shift
    # A few files to a translation unit, and line tables rather than full debug
    # information: stacks still name their lines, at a part of the build time.
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_UNITY_BUILD=ON \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" "$@" >/dev/null
    cmake --build "$dir" -j "$JOBS" ${TARGET:+--target "$TARGET"}
}

run_tests() {  # run_tests DIR
    ctest --test-dir "$1" --output-on-failure -j "$JOBS"
}

case "${1:-}" in
    run)
        install_packages
        # The programs and their data only: no tests or benchmarks before the window.
        TARGET=programs build "$BUILD"
        shift
        if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
            exec "$BUILD/bin/Quorvane" "$@"
        fi
        # No display: a virtual X server (xvfb) for the window program.
        PACKAGES=(xvfb xauth)
        install_packages
        exec xvfb-run -a -s "-screen 0 1280x1024x24" "$BUILD/bin/Quorvane" "$@"
        ;;
    test)
        install_packages
        build "$BUILD"
        run_tests "$BUILD"
        # Memory faults fail the run: the same tests once more under the sanitizers.
        # A process start costs more than most tests there: each program runs as four shards.
        build "$BUILD-sanitize" -DQUORVANE_SANITIZE=ON -DQUORVANE_BENCH=OFF -DQUORVANE_TEST_SHARDS=4
        ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp UBSAN_OPTIONS=print_stacktrace=1 run_tests "$BUILD-sanitize"
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
