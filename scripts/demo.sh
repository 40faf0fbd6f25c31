#!/usr/bin/env bash
# demo.sh - Ostvane end to end on this machine, as a user would run it: the
# real program on the project's virtual desktop, scanning the project's
# virtual LAN. Run as root on Debian 12:
#
#   bash scripts/demo.sh [--no-install] [--no-build] [--build-dir DIR] [--out DIR]
#                        [--display N] [--measure]
#
# Steps: install the Debian packages (scripts/install-deps.sh), build
# ostvane and ostvane-snapshot, bring up the virtual LAN (scripts/lan.sh,
# live hosts 1 7 20 21 100 254, short neighbour waits for the silent ones)
# and a virtual desktop (scripts/desktop-session.sh) belonging to the
# unprivileged user ostvane-demo, copy the program into a fresh folder whose
# name has a space, start it as that user inside the LAN's scanner
# namespace, press "扫描MAC地址" with real input (XTest) at the place
# ostvane-snapshot --controls gives, wait for the scan of 192.168.1.1 to 254
# to end, press "自动保存", print the saved mac.txt, check that it holds
# exactly the lines of the live hosts and of the scanner's own address, take
# a screenshot of the window, close the program and take everything down
# again.
#
#   --no-install     skip scripts/install-deps.sh
#   --no-build       use the programs already built in the build folder
#   --build-dir DIR  build folder (default: build/ at the top of the tree)
#   --out DIR        where the screenshots, logs and the program's folder go
#                    (default /tmp/ostvane-demo; emptied first; it and its
#                    parents must be reachable by an unprivileged user)
#   --display N      first X display number tried (default $DESK_DISPLAY, else 57)
#   --measure        print the program's resident memory after the scan
#
# The scan button is pressed only after the program is confirmed to run in
# the LAN's scanner namespace, so no request leaves the virtual LAN.
# Exit status 0 when mac.txt holds exactly the expected lines.
set -Eeuo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
out=/tmp/ostvane-demo
install=1
compile=1
measure=0
display=${DESK_DISPLAY:-57}

readonly DemoUser=ostvane-demo
readonly ScanNs=ostv-scan
readonly Net=192.168.1
readonly LiveHosts=(1 7 20 21 100 254)
# The scanner's own address lies in the range too; like any resolver asked
# for its own address, the program answers it with its own MAC.
readonly ScannerHost=200
readonly WindowTitle='^Ostvane V1\.0'
# The kernel's wait for a silent address: 50 ms x 2 probes, about 25 s for
# the 248 silent addresses of the range (the default 1 s x 3 would take
# more than 12 minutes).
readonly NeighMs=50 NeighProbes=2
readonly ScanLimit=100 # seconds the scan may take at most

say() { printf 'demo: %s\n' "$*"; }
die() {
  printf 'demo: error: %s\n' "$*" >&2
  exit 1
}
usage() {
  sed -n '5,7p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
  exit 2
}

while (($#)); do
  case $1 in
    --no-install) install=0 ;;
    --no-build) compile=0 ;;
    --build-dir) (($# > 1)) || usage; build=$2; shift ;;
    --out) (($# > 1)) || usage; out=$2; shift ;;
    --display) (($# > 1)) && [[ $2 =~ ^[0-9]{1,4}$ ]] || usage; display=$2; shift ;;
    --measure) measure=1 ;;
    -h | --help) awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "${BASH_SOURCE[0]}"; exit 0 ;;
    *) echo "demo: unknown option $1" >&2; usage ;;
  esac
  shift
done

[[ $(id -u) -eq 0 ]] || die "run as root (namespaces, a system user and package installs need it)"
[[ $out == /* ]] || out=$PWD/$out
[[ $build == /* ]] || build=$PWD/$build
# The folder is emptied: refuse anything that looks like more than a scratch folder.
case $out in
  / | /tmp | /root | /home | /home/* | "$root" | "$root"/scripts* | /usr* | /etc* | /var | /opt) die "--out $out: choose a scratch folder" ;;
esac

# ---- install and build ----

if ((install)); then
  bash "$root/scripts/install-deps.sh"
fi

program=$build/app/ostvane
snapshot=$build/tools/ostvane-snapshot/ostvane-snapshot
if ((compile)); then
  if [[ ! -f $build/CMakeCache.txt ]]; then
    configure=(-G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo)
    if command -v ccache >/dev/null; then
      configure+=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$root" -B "$build" "${configure[@]}" >/dev/null
  fi
  say "building ostvane and ostvane-snapshot in $build"
  cmake --build "$build" --target ostvane ostvane-snapshot -j 2
fi
[[ -x $program ]] || die "$program is not built (leave out --no-build)"
[[ -x $snapshot ]] || die "$snapshot is not built (leave out --no-build)"
for tool in xdotool xwininfo import setpriv flock ip; do
  command -v "$tool" >/dev/null || die "$tool is missing (run scripts/install-deps.sh)"
done

started=$(date +%s%N)

# ---- the user, the folders ----

if ! id -u "$DemoUser" >/dev/null 2>&1; then
  useradd --system --user-group --no-create-home --home-dir /nonexistent \
    --shell /usr/sbin/nologin "$DemoUser"
  say "created the system user $DemoUser"
fi
uid=$(id -u "$DemoUser")
gid=$(id -g "$DemoUser")

rm -rf -- "$out"
mkdir -p -- "$out"
chmod 755 "$out"
workdir="$out/Ostvane demo"
desk_state=$out/desktop
mkdir -m 755 "$workdir"
mkdir -m 700 "$desk_state"
cp -- "$program" "$workdir/ostvane"
cp -- "$root/scripts/desktop-session.sh" "$out/desktop-session.sh"
chown "$uid:$gid" "$workdir" "$workdir/ostvane" "$desk_state"
chmod 644 "$out/desktop-session.sh"

# Runs a command as the demo user with a small, known environment.
as_user() {
  setpriv --reuid="$uid" --regid="$gid" --clear-groups \
    env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$desk_state" "$@"
}
as_user test -x "$workdir/ostvane" ||
  die "$DemoUser cannot reach $workdir (every parent of --out must be searchable by others)"

# ---- teardown, whatever happens ----

app_pid=
lan_up=0
desktop_up=0
lock_fd=

is_program() { [[ -n $app_pid && $(readlink "/proc/$app_pid/exe" 2>/dev/null) == "$workdir/ostvane" ]]; }

stop_program() {
  is_program || return 0
  kill -TERM "$app_pid" 2>/dev/null || true
  local i
  for ((i = 0; i < 30; i++)); do is_program || return 0; sleep 0.1; done
  kill -KILL "$app_pid" 2>/dev/null || true
}

cleanup() {
  local rc=$?
  trap - EXIT ERR INT TERM
  stop_program
  if ((desktop_up)); then
    as_user env DESK_STATE_DIR="$desk_state" bash "$out/desktop-session.sh" stop || true
  fi
  if ((lan_up)); then
    bash "$root/scripts/lan.sh" down || true
  fi
  if ((rc != 0)); then
    say "failed (exit $rc); logs in $out"
  fi
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# ---- the LAN ----

# The netns tests and the benchmarks take the same lock while they use the LAN.
lock=/run/lock/ostvane-lan.lock
[[ -w /run/lock ]] || lock=/tmp/ostvane-lan.lock
exec {lock_fd}>"$lock"
flock -w 600 "$lock_fd" || die "the virtual LAN stayed busy (lock $lock)"
lan_up=1
bash "$root/scripts/lan.sh" up "${LiveHosts[@]}"
bash "$root/scripts/lan.sh" silent-fast "$NeighMs" "$NeighProbes"

# ---- the desktop ----

desktop_up=1
# A server started by a user cannot make the sockets' folder root's.
if [[ ! -d /tmp/.X11-unix ]]; then
  mkdir -m 1777 /tmp/.X11-unix
fi
as_user env DESK_STATE_DIR="$desk_state" DESK_DISPLAY="$display" \
  bash "$out/desktop-session.sh" start {lock_fd}>&-
# shellcheck disable=SC1091
. "$desk_state/env"
# An abstract socket belongs to one network namespace; the program runs in
# another, so the bus must be a file.
[[ $DBUS_SESSION_BUS_ADDRESS == unix:path=/* ]] ||
  die "the session bus is not a file socket: $DBUS_SESSION_BUS_ADDRESS"
export DISPLAY

# ---- the program ----

say "starting $workdir/ostvane as $DemoUser in $ScanNs"
(
  cd /
  exec ip netns exec "$ScanNs" setpriv --reuid="$uid" --regid="$gid" --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$desk_state" DISPLAY="$DISPLAY" \
    DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS" XDG_RUNTIME_DIR="$desk_state/runtime" \
    ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} \
    ${OSTVANE_SCAN_TRACE:+OSTVANE_SCAN_TRACE="$OSTVANE_SCAN_TRACE"} \
    "$workdir/ostvane"
) </dev/null >"$out/ostvane.log" 2>&1 {lock_fd}>&- &
app_pid=$!

# ip netns exec, setpriv and env each exec the next, so the job's PID
# becomes the program's own.
for ((i = 0; i < 50; i++)); do
  is_program && break
  [[ -e /proc/$app_pid ]] || break
  sleep 0.05
done
window=
for ((i = 0; i < 150; i++)); do
  is_program || die "the program ended at start-up (see $out/ostvane.log)"
  window=$(xdotool search --onlyvisible --name "$WindowTitle" 2>/dev/null | head -n 1 || true)
  [[ -n $window ]] && break
  sleep 0.1
done
[[ -n $window ]] || die "the program's window did not show within 15 s"

# Safety: the process that gets the click must be in the scanner namespace.
[[ $(readlink "/proc/$app_pid/ns/net") == "net:[$(stat -L -c %i "/run/netns/$ScanNs")]" ]] ||
  die "the program does not run in $ScanNs; not scanning"

# Where the window is: openbox reparents it, so ask for root coordinates.
geometry=$(xwininfo -id "$window")
win_x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$geometry")
win_y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$geometry")
win_w=$(sed -n 's/^ *Width: *//p' <<<"$geometry")
win_h=$(sed -n 's/^ *Height: *//p' <<<"$geometry")
say "window $window at $win_x,$win_y, $win_w x $win_h"

"$snapshot" --controls >"$out/controls.txt"
# NAME LEFT TOP WIDTH HEIGHT, in window coordinates; the first line is the window.
read -r _ _ _ snap_w snap_h <"$out/controls.txt"
[[ $snap_w == "$win_w" && $snap_h == "$win_h" ]] ||
  die "the window is $win_w x $win_h on the desktop but $snap_w x $snap_h in the snapshot"

# Clicks the centre of a control with real pointer input.
press() {
  local name left top width height
  read -r name left top width height < <(awk -v n="$1" '$1 == n' "$out/controls.txt")
  [[ -n ${height:-} ]] || die "ostvane-snapshot --controls does not list $1"
  xdotool mousemove --sync $((win_x + left + width / 2)) $((win_y + top + height / 2)) click 1
}

resolved() { ip -n "$ScanNs" neigh show to "$1" dev lan0 | grep -F lladdr >/dev/null; }

# The log begins once the resting window has been painted.
sleep 0.5
import -display "$DISPLAY" -window "$window" "$out/start.png"

say "pressing 扫描MAC地址 (Star)"
scan_started=$(date +%s%N)
press Star
# The scan walks the addresses in ascending order: once the last one has
# been resolved, the scan has reached its end.
for ((i = 0; i < ScanLimit * 10; i++)); do
  resolved "$Net.254" && break
  is_program || die "the program ended during the scan (see $out/ostvane.log)"
  if ((i == 50)) && ! resolved "$Net.1"; then
    die "5 s after the click the scan has not resolved $Net.1; was the button hit?"
  fi
  sleep 0.1
done
resolved "$Net.254" || die "the scan did not reach $Net.254 within $ScanLimit s"
say "the scan reached $Net.254 after $((($(date +%s%N) - scan_started) / 1000000)) ms"
sleep 0.5

expected=$out/expected.txt
: >"$expected"
for n in $(printf '%s\n' "${LiveHosts[@]}" "$ScannerHost" | sort -n); do
  printf '%s.%d:02-00-00-00-01-%02X\r\n' "$Net" "$n" "$n" >>"$expected"
done
saved=$workdir/mac.txt

say "pressing 自动保存 (MacSave)"
for ((attempt = 1; attempt <= 5; attempt++)); do
  press MacSave
  for ((i = 0; i < 20; i++)); do
    [[ -f $saved ]] && grep -F "$Net.254:" "$saved" >/dev/null && break 2
    sleep 0.1
  done
  say "mac.txt is not complete yet; saving again"
done
[[ -f $saved ]] || die "no mac.txt beside the program"

if ((measure)); then
  say "memory after a full scan: $(grep -E '^Vm(RSS|HWM):' "/proc/$app_pid/status" | tr -s ' \t' ' ' | paste -sd ' ')"
fi

echo "---- $saved ($(wc -l <"$saved") lines) ----"
tr -d '\r' <"$saved"
echo "----"

import -display "$DISPLAY" -window "$window" "$out/window.png"
import -display "$DISPLAY" -window root "$out/desktop.png"
say "screenshot of the window: $out/window.png (whole desktop: $out/desktop.png)"

# Alt+F4: the window manager asks the window to close.
xdotool mousemove --sync $((win_x + 40)) $((win_y + 8)) click 1 key alt+F4
for ((i = 0; i < 50; i++)); do is_program || break; sleep 0.1; done
if is_program; then
  say "the window did not close on Alt+F4; ending the program"
else
  wait "$app_pid" && status=0 || status=$?
  say "the program closed (exit status $status)"
  app_pid=
fi

ok=1
if cmp -s "$saved" "$expected"; then
  say "mac.txt holds exactly the live hosts ${LiveHosts[*]} and the scanner's own $Net.$ScannerHost," \
    "ascending, each line ended by CR LF"
else
  ok=0
  echo "demo: mac.txt differs from what the LAN holds (< saved, > expected):" >&2
  diff <(od -c "$saved") <(od -c "$expected") >&2 || true
fi
say "elapsed after the build: $((($(date +%s%N) - started) / 1000000)) ms"
((ok)) || exit 1
