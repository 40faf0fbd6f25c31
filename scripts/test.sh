#!/usr/bin/env bash
# Installs what is needed, builds and runs the whole test suite: the unit
# tests on the headless backend, then the tests that need the virtual
# desktop (label x11) and the virtual LAN (label netns) with the project's
# own scripts bringing those up and down.
#
#   scripts/test.sh [--sanitize] [--build-dir DIR] [--no-install] [-- CTEST ARGS...]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
sanitize=OFF
install=1
ctest_args=()
while (($#)); do
  case $1 in
    --sanitize) sanitize=ON; build="$root/build-asan" ;;
    --build-dir) build=$2; shift ;;
    --no-install) install=0 ;;
    --) shift; ctest_args=("$@"); break ;;
    *) echo "test.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

if ((install)); then
  bash "$root/scripts/install-deps.sh"
fi

jobs=$(nproc)
launcher=()
# A compiler cache, where there is one, makes a second build of the same
# sources quick.
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DOSTVANE_SANITIZE="$sanitize" "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$jobs"

if [[ $sanitize == ON ]]; then
  export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
  export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
fi

status=0
count_label() { (cd "$build" && ctest -N -L "$1" 2>/dev/null | sed -n 's/^Total Tests: //p'); }

echo "== unit tests (headless)"
(cd "$build" && ctest --output-on-failure -j "$jobs" -LE 'x11|netns' "${ctest_args[@]}") || status=1

if [[ $(count_label x11) != 0 && -f "$root/scripts/desktop-session.sh" ]]; then
  echo "== tests on the virtual desktop"
  export DESK_STATE_DIR="$build/desktop"
  bash "$root/scripts/desktop-session.sh" start
  (
    # shellcheck disable=SC1090
    . "$(bash "$root/scripts/desktop-session.sh" env)"
    cd "$build" && ctest --output-on-failure -L x11 -LE netns "${ctest_args[@]}"
  ) || status=1
  bash "$root/scripts/desktop-session.sh" stop
fi

if [[ $(count_label netns) != 0 && -f "$root/scripts/lan.sh" ]]; then
  echo "== tests on the virtual LAN"
  # The netns tests bring the LAN up and down themselves through
  # scripts/lan.sh; they need root for that.
  (cd "$build" && ctest --output-on-failure -L netns "${ctest_args[@]}") || status=1
fi

exit $status
