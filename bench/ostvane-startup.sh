#!/usr/bin/env bash
# ostvane-startup.sh - how fast the real program starts on the virtual
# desktop, and how much memory it holds after a full scan of the virtual LAN.
#
#   bash bench/ostvane-startup.sh [-b BUILD_DIR] [-r RUNS] [-s]
#
# Start-up: RUNS (7) times, the time from just before the program is started
# to the end of the first paint of its main window. With
# OSTVANE_STARTUP_TRACE=1 in its environment the program writes
# "startup: first-paint NS" to stderr once its first paint is done (NS:
# CLOCK_REALTIME in nanoseconds); the script subtracts its own clock
# reading taken just before the start. Each run closes the window with
# Alt+F4 and waits for the program to end. Reported: every run, the median,
# the least and the most.
#
# Memory (left out with -s): scripts/demo.sh --measure runs the demo (a
# scan of 192.168.1.1 to 254 in the virtual LAN, then a save) and reads the
# program's VmRSS and VmHWM from /proc before closing it.
#
# Needs root (namespaces). The start-up runs use a network namespace of
# their own (a loopback that is down), the memory run the demo's LAN.
# Runs its own desktop (scripts/desktop-session.sh) with a state folder of
# its own; DESK_DISPLAY picks the first display tried.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
runs=7
scan=1
while getopts "b:r:sh" option; do
  case $option in
    b) build=$OPTARG ;;
    r) runs=$OPTARG ;;
    s) scan=0 ;;
    *) awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "${BASH_SOURCE[0]}"; exit 2 ;;
  esac
done
[[ $(id -u) -eq 0 ]] || { echo "ostvane-startup: run as root (network namespaces)" >&2; exit 1; }
[[ $runs =~ ^[1-9][0-9]?$ ]] || { echo "ostvane-startup: RUNS must be 1..99" >&2; exit 2; }
[[ $build == /* ]] || build=$PWD/$build
program=$build/app/ostvane
[[ -x $program ]] || { echo "ostvane-startup: $program is not built (cmake --build $build --target ostvane)" >&2; exit 1; }
for tool in xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "ostvane-startup: $tool is missing (scripts/install-deps.sh)" >&2; exit 1; }
done

work=$(mktemp -d /tmp/ostvane-startup.XXXXXX)
# The demo's unprivileged user must reach its folder inside.
chmod 755 "$work"
export DESK_STATE_DIR=$work/desktop
app_pid=
cleanup() {
  if [[ -n $app_pid && $(readlink "/proc/$app_pid/exe" 2>/dev/null) == "$program" ]]; then
    kill -TERM "$app_pid" 2>/dev/null || true
  fi
  bash "$root/scripts/desktop-session.sh" stop || true
  rm -rf -- "$work"
}
trap cleanup EXIT

bash "$root/scripts/desktop-session.sh" start
# shellcheck disable=SC1090
. "$(bash "$root/scripts/desktop-session.sh" env)"

running() { [[ -n $app_pid && $(readlink "/proc/$app_pid/exe" 2>/dev/null) == "$program" ]]; }
# Before its exec the job is still a shell: alive, not yet the program.
alive() { [[ -n $app_pid && -e /proc/$app_pid && $(cut -d' ' -f3 "/proc/$app_pid/stat" 2>/dev/null) != Z ]]; }

# One start: prints the milliseconds to the end of the first paint.
one_start() {
  local log=$work/run.log line t0 painted i window
  : >"$log"
  t0=$(date +%s%N)
  # In a network namespace of its own with nothing but a loopback that is
  # down: no scan is ever started here, and none could reach a network.
  # The display and the bus are file sockets, which it still reaches.
  OSTVANE_STARTUP_TRACE=1 unshare --net -- "$program" </dev/null 2>"$log" >/dev/null &
  app_pid=$!
  painted=
  for ((i = 0; i < 2000; i++)); do
    line=$(grep -m 1 '^startup: first-paint ' "$log" || true)
    if [[ -n $line ]]; then painted=${line##* }; break; fi
    alive || break
    sleep 0.01
  done
  [[ -n $painted ]] || { echo "ostvane-startup: no first-paint line (see $log)" >&2; cat "$log" >&2; return 1; }
  echo $(((painted - t0) / 1000))
  # Close it the way a user would, so that every run starts from the same desktop.
  window=
  for ((i = 0; i < 100; i++)); do
    window=$(xdotool search --onlyvisible --name '^Ostvane V1\.0' 2>/dev/null | head -n 1 || true)
    [[ -n $window ]] && break
    sleep 0.05
  done
  if [[ -n $window ]]; then
    xdotool windowactivate --sync "$window" key alt+F4 2>/dev/null || true
  fi
  for ((i = 0; i < 50; i++)); do running || break; sleep 0.1; done
  if running; then kill -TERM "$app_pid"; sleep 0.2; fi
  wait "$app_pid" 2>/dev/null || true
  app_pid=
}

# The first start warms the page cache and the font cache; it is not counted.
one_start >/dev/null
times=()
for ((r = 1; r <= runs; r++)); do
  us=$(one_start)
  times+=("$us")
  printf 'run %d: %d.%03d ms\n' "$r" $((us / 1000)) $((us % 1000))
done
mapfile -t sorted < <(printf '%s\n' "${times[@]}" | sort -n)
n=${#sorted[@]}
if ((n % 2)); then median=${sorted[n / 2]}; else median=$(((sorted[n / 2 - 1] + sorted[n / 2]) / 2)); fi
ms() { printf '%d.%03d' $(($1 / 1000)) $(($1 % 1000)); }
echo "start-up to the end of the first paint, $n runs: median $(ms "$median") ms," \
  "least $(ms "${sorted[0]}") ms, most $(ms "${sorted[n - 1]}") ms"

bash "$root/scripts/desktop-session.sh" stop

if ((scan)); then
  bash "$root/scripts/demo.sh" --no-install --no-build --build-dir "$build" --measure \
    --out "$work/demo" >"$work/demo.log" 2>&1 || { cat "$work/demo.log" >&2; exit 1; }
  memory=$(sed -n 's/^demo: memory after a full scan: //p' "$work/demo.log")
  echo "resident memory after a full scan of 192.168.1.1-254: $memory"
fi
