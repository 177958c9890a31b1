#!/usr/bin/env bash
# Builds Quorvel, its plug-in binaries and its tests with one sanitizer, in a build folder of its own
# (build-<sanitizer>), and runs the unit, window and validation tests under it:
#
#     bash scripts/sanitize.sh address|undefined|thread
#
# Any report fails the run. The suppression files beside this script hold only reports on the
# framework's own code, each with the reason it is there.
set -euo pipefail
cd "$(dirname "$0")/.."

sanitizer="${1:-}"
case "$sanitizer" in
    address | undefined | thread) ;;
    *)
        echo "usage: $0 address|undefined|thread" >&2
        exit 2
        ;;
esac

bash scripts/install-deps.sh

jobs="${JOBS:-$(nproc)}"
build="build-$sanitizer"
suppressions="$PWD/scripts/sanitizer-suppressions"

# Reports stop the program with a failure; leaks are checked by the test programs at their end. The thread
# sanitizer keeps its longest history, so both sides of a race keep their stacks and a suppression by frame
# matches whichever side it names.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:suppressions=$suppressions/asan.supp"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$suppressions/ubsan.supp"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:history_size=7:suppressions=$suppressions/tsan.supp"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DQUORVEL_SANITIZE="$sanitizer" >/dev/null
cmake --build "$build" -j"$jobs"

cd "$build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j"$jobs"
