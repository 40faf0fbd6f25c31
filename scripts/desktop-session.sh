#!/usr/bin/env bash
# The project's virtual desktop for the x11 tests, the demo and screenshots:
# Xvfb, openbox, a session bus, dunst (balloons) and trayer (XEmbed tray).
#
#   desktop-session.sh start | stop | status | env | shot FILE.png | run CMD...
#
# No TTY or stdin needed; every wait is bounded; start and stop are
# idempotent and serialized per state folder.
#
# Environment: DESK_STATE_DIR (default ${TMPDIR:-/tmp}/ostvane-desktop.<uid>),
# DESK_DISPLAY (first display tried, 57), DESK_SCREEN (1024x768x24),
# DESK_WM (openbox|none), DESK_NOTIFY (dunst|none), DESK_TRAY (trayer|none),
# DESK_TIMEOUT (seconds per component, 15).
set -euo pipefail

state=${DESK_STATE_DIR:-${TMPDIR:-/tmp}/ostvane-desktop.$(id -u)}
env_file=$state/env
pid_file=$state/pids
logs=$state/logs
first_display=${DESK_DISPLAY:-57}
screen=${DESK_SCREEN:-1024x768x24}
wm=${DESK_WM:-openbox}
notify=${DESK_NOTIFY:-dunst}
tray=${DESK_TRAY:-trayer}
timeout=${DESK_TIMEOUT:-15}

say() { printf 'desktop-session: %s\n' "$*" >&2; }
die() { say "error: $*"; exit 1; }

# Polls a probe every 0.1 s. Probes send grep's output to /dev/null rather
# than use grep -q: under pipefail an early grep exit kills the writer with
# SIGPIPE and the probe fails at random.
wait_for() {
  local limit=$1 i; shift
  for ((i = 0; i < limit * 10; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

alive() { [[ -d /proc/$1 && $(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) != Z ]]; }
# Alive and still the recorded program, so a reused PID is never signalled.
is_ours() {
  alive "$1" || return 1
  local cmd; cmd=$({ tr '\0' ' ' <"/proc/$1/cmdline"; } 2>/dev/null || true)
  [[ $cmd == *"$(basename "$2")"* ]]
}

# Starts a daemon detached: own session, no stdin, its own log, and none of
# the caller's descriptors (a CI log pipe held open would hang the caller).
spawn() {
  local name=$1; shift
  (
    for fd in /proc/$BASHPID/fd/*; do
      fd=${fd##*/}
      if ((fd > 2 && fd != 255)); then eval "exec $fd>&-"; fi
    done
    exec setsid "$@"
  ) </dev/null >>"$logs/$name.log" 2>&1 &
  spawned=$!
  printf '%s %s %s\n' "$name" "$spawned" "$1" >>"$pid_file"
}

x_ready() { xdpyinfo -display "$1"; }
wm_ready() { xprop -display "$DISPLAY" -root _NET_SUPPORTING_WM_CHECK | grep 'window id' >/dev/null; }
bus_ready() {
  dbus-send --session --dest=org.freedesktop.DBus --type=method_call --print-reply \
    /org/freedesktop/DBus org.freedesktop.DBus.GetId
}
bus_has() {
  dbus-send --session --dest=org.freedesktop.DBus --type=method_call --print-reply \
    /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "string:$1" | grep 'boolean true' >/dev/null
}
# trayer keeps a window named "trayer" only while it owns the tray selection.
tray_ready() { xwininfo -display "$DISPLAY" -root -tree | grep -F '"trayer": ()' >/dev/null; }

display_free() {
  local lock=/tmp/.X$1-lock pid
  if [[ -e $lock ]]; then
    pid=$({ tr -dc '0-9' <"$lock"; } 2>/dev/null || true)
    [[ -n $pid ]] && ! alive "$pid" || return 1
  fi
  [[ -e $lock || ! -e /tmp/.X11-unix/X$1 ]]
}

running() {
  [[ -s $pid_file && -s $env_file ]] || return 1
  local name pid exe
  while read -r name pid exe; do is_ours "$pid" "$exe" || return 1; done <"$pid_file"
  (. "$env_file" && x_ready "$DISPLAY" >/dev/null 2>&1)
}

write_dunstrc() {
  # idle_threshold 0: dunst would stop expiring balloons once the input-less
  # display has been idle for two minutes. A left click runs the default
  # action, which is how a balloon click reaches the program.
  cat >"$state/dunstrc" <<'EOF'
[global]
    monitor = 0
    follow = none
    width = 300
    height = 150
    origin = top-right
    offset = 10x40
    notification_limit = 0
    idle_threshold = 0
    show_age_threshold = -1
    sticky_history = no
    font = Sans 9
    markup = no
    format = "<b>%s</b>\n%b"
    frame_width = 1
    frame_color = "#404040"
    mouse_left_click = do_action, close_current
    mouse_middle_click = close_all
    mouse_right_click = close_current
[urgency_low]
    background = "#ffffe1"
    foreground = "#000000"
    timeout = 10
[urgency_normal]
    background = "#ffffe1"
    foreground = "#000000"
    timeout = 10
[urgency_critical]
    background = "#ffffe1"
    foreground = "#000000"
    timeout = 0
EOF
}

start() {
  if running; then say "already running ($env_file)"; return 0; fi
  [[ -s $pid_file ]] && { say "cleaning up a stale session"; stop; }
  local tool
  for tool in Xvfb xdpyinfo xprop xwininfo dbus-daemon dbus-send setsid; do
    command -v "$tool" >/dev/null || die "$tool is not installed (run scripts/install-deps.sh)"
  done

  mkdir -p "$state" "$logs"
  chmod 700 "$state"
  rm -f "$logs"/*.log "$env_file"
  : >"$pid_file"
  trap 'rc=$?; if ((rc != 0)); then say "start failed; stopping what was started"; stop; fi' EXIT

  # Private configuration folders: a developer's own dunst or openbox
  # settings must not change test results.
  export XDG_CONFIG_HOME=$state/config XDG_CACHE_HOME=$state/cache
  export XDG_DATA_HOME=$state/data XDG_RUNTIME_DIR=$state/runtime
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
  export HOME=${HOME:-$state} NO_AT_BRIDGE=1

  local n display="" tries=0 xpid i
  for ((n = first_display; n < first_display + 40 && tries < 5; n++)); do
    display_free "$n" || continue
    tries=$((tries + 1))
    spawn xvfb Xvfb ":$n" -screen 0 "$screen" -nolisten tcp -noreset +extension SHAPE
    xpid=$spawned
    for ((i = 0; i < timeout * 10; i++)); do
      if x_ready ":$n" >/dev/null 2>&1 && is_ours "$xpid" Xvfb; then display=":$n"; break; fi
      alive "$xpid" || break
      sleep 0.1
    done
    [[ -n $display ]] && break
    say "Xvfb did not come up on :$n; trying the next display"
    kill "$xpid" 2>/dev/null || true
    sed -i "/^xvfb $xpid /d" "$pid_file"
  done
  [[ -n $display ]] || die "no X display could be started (see $logs/xvfb.log)"
  export DISPLAY=$display
  echo "${display#:}" >"$state/display"
  # A coloured root makes window shapes visible in screenshots.
  command -v xsetroot >/dev/null && xsetroot -solid '#3a6ea5' || true

  export DBUS_SESSION_BUS_ADDRESS=unix:path=$state/bus
  rm -f "$state/bus"
  spawn dbus dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS"
  wait_for "$timeout" bus_ready || die "session bus did not answer (see $logs/dbus.log)"

  if [[ $wm == openbox ]]; then
    spawn wm openbox --sm-disable
    wait_for "$timeout" wm_ready || die "openbox did not start (see $logs/wm.log)"
  fi
  if [[ $notify == dunst ]]; then
    write_dunstrc
    spawn notify dunst -config "$state/dunstrc"
    wait_for "$timeout" bus_has org.freedesktop.Notifications ||
      die "dunst did not take org.freedesktop.Notifications (see $logs/notify.log)"
  fi
  if [[ $tray == trayer ]]; then
    spawn tray trayer --edge bottom --align right --widthtype request --height 24 \
      --SetDockType true --SetPartialStrut true --expand true --transparent false --tint 0xc0c0c0
    wait_for "$timeout" tray_ready || die "trayer did not start (see $logs/tray.log)"
  fi

  trap - EXIT
  {
    printf 'export DISPLAY=%q\n' "$DISPLAY"
    printf 'export DBUS_SESSION_BUS_ADDRESS=%q\n' "$DBUS_SESSION_BUS_ADDRESS"
  } >"$env_file.tmp"
  mv "$env_file.tmp" "$env_file"
  say "running on $DISPLAY; source $env_file"
}

stop() {
  [[ -f $pid_file ]] || { rm -f "$env_file"; return 0; }
  local -a lines
  mapfile -t lines <"$pid_file"
  local i k name pid exe
  # Clients first, the bus and the X server last.
  for ((i = ${#lines[@]} - 1; i >= 0; i--)); do
    read -r name pid exe <<<"${lines[i]}"
    [[ -n ${pid:-} ]] || continue
    if is_ours "$pid" "$exe"; then
      kill -TERM "$pid" 2>/dev/null || true
      for ((k = 0; k < 50; k++)); do is_ours "$pid" "$exe" || break; sleep 0.1; done
      if is_ours "$pid" "$exe"; then
        say "$name ($pid) ignored SIGTERM; killing it"
        kill -KILL "$pid" 2>/dev/null || true
        for ((k = 0; k < 20; k++)); do alive "$pid" || break; sleep 0.1; done
      fi
    fi
  done
  # A killed X server leaves its lock and socket behind.
  local n xpid
  n=$(cat "$state/display" 2>/dev/null || true)
  xpid=$(awk '$1 == "xvfb" { print $2 }' "$pid_file")
  if [[ -n $n && -n $xpid && -e /tmp/.X$n-lock ]] && ! alive "$xpid" &&
    [[ $({ tr -dc '0-9' <"/tmp/.X$n-lock"; } 2>/dev/null) == "$xpid" ]]; then
    rm -f "/tmp/.X$n-lock" "/tmp/.X11-unix/X$n"
  fi
  rm -f "$pid_file" "$env_file" "$state/bus" "$state/display"
}

status() {
  running || { say "not running"; return 1; }
  cat "$env_file"
  local name pid exe
  while read -r name pid exe; do printf '%-8s %7s %s\n' "$name" "$pid" "$exe"; done <"$pid_file"
}

shot() {
  [[ -n ${1:-} ]] || die "usage: desktop-session.sh shot FILE.png"
  [[ -s $env_file ]] || die "not running"
  . "$env_file"
  if [[ $1 == *.xwd ]]; then xwd -display "$DISPLAY" -root -silent -out "$1"
  else import -display "$DISPLAY" -window root "$1" </dev/null; fi
  say "wrote $1"
}

locked() {
  mkdir -p "$state"
  local fd
  exec {fd}>"$state/lock"
  flock -w $((timeout * 4)) "$fd" || die "another start or stop holds $state/lock"
  "$@"
}

case ${1:-} in
  start) locked start ;;
  stop) locked stop ;;
  status) status ;;
  env) [[ -s $env_file ]] || die "not running"; echo "$env_file" ;;
  shot) shift; shot "$@" ;;
  run) shift; [[ -s $env_file ]] || die "not running"; . "$env_file"; exec "$@" ;;
  *) echo "usage: desktop-session.sh start|stop|status|env|shot FILE.png|run CMD..." >&2; exit 2 ;;
esac
