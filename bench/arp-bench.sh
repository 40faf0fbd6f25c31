#!/usr/bin/env bash
# arp-bench.sh - how long ostvane-arp takes per address in the virtual LAN,
# optionally beside another resolver with the same output layout.
#
#   bash bench/arp-bench.sh [-b BUILD_DIR] [-r RUNS] [-l LOOPS] [-m MS] [-n PROBES]
#                           [-o OUTPUT_DIR] [PROBE]
#
# Builds the LAN (scripts/lan.sh), shortens the kernel's wait to MS (100) x
# PROBES (1), and sweeps 192.168.1.1-254 RUNS (3) times with each program, as
# the user nobody inside ostv-scan, the neighbour table flushed before each
# block of a sweep. PROBE, when given, is another resolver that takes the
# range form A.B.C.X-Y and prints "ADDRESS MAC|FAIL|none MILLISECONDS[ms] ..."
# per line.
#
# Reported per program (medians and means over every run):
#   silent  addresses without an answer that waited for the kernel; "beyond
#           wait" is their time minus MS x PROBES: the resolver's own cost
#   live    the live hosts, cold (first lookup after a flush): those of the
#           sweeps and LOOPS (20) more rounds of the six live hosts alone
#   warm    the live hosts again right after each cold round (answer in the
#           table)
# The kernel's timers tick in jiffies: on a busy machine the silent times
# fall into groups one tick apart (4 ms at HZ=250) in a mix that changes from
# run to run, which moves the means; the medians are the figures to compare.
# -o keeps every program's raw output in OUTPUT_DIR. Needs root
# (namespaces); sends nothing outside the LAN's namespaces.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
runs=3
loops=20
keep=
ms=100
probes=1
while getopts "b:r:l:m:n:o:h" option; do
  case $option in
    b) build=$OPTARG ;;
    r) runs=$OPTARG ;;
    l) loops=$OPTARG ;;
    o) keep=$OPTARG ;;
    m) ms=$OPTARG ;;
    n) probes=$OPTARG ;;
    *) sed -n '2,26p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
probe=${1:-}

[[ $(id -u) -eq 0 ]] || { echo "arp-bench: must run as root" >&2; exit 1; }
[[ $runs =~ ^[1-9][0-9]?$ ]] || { echo "arp-bench: RUNS must be 1..99" >&2; exit 2; }
[[ $loops =~ ^[0-9]{1,3}$ ]] || { echo "arp-bench: LOOPS must be 0..999" >&2; exit 2; }
tool=$build/tools/ostvane-arp/ostvane-arp
[[ -x $tool ]] || { echo "arp-bench: $tool is not built (cmake --build $build --target ostvane-arp)" >&2; exit 1; }
[[ -z $probe || -x $probe ]] || { echo "arp-bench: $probe is not an executable" >&2; exit 1; }

lan() { bash "$root/scripts/lan.sh" "$@"; }
live_hosts=(1 7 20 21 100 254)
wait_ms=$((ms * probes))

# The tests take the same lock while they use the LAN.
lock=/run/lock/ostvane-lan.lock
[[ -w /run/lock ]] || lock=/tmp/ostvane-lan.lock
exec {lock_fd}>"$lock"
flock "$lock_fd"

# nobody must be able to run the programs: copy them to a folder it can enter.
work=$(mktemp -d /tmp/arp-bench.XXXXXX)
chmod 755 "$work"
cleanup() {
  lan down >/dev/null 2>&1 || true
  if [[ -n $keep ]]; then
    mkdir -p "$keep" && cp "$work"/*.* "$keep"/ 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
install -m 755 "$tool" "$work/ostvane-arp"
programs=(ostvane-arp)
if [[ -n $probe ]]; then
  install -m 755 "$probe" "$work/probe"
  programs+=(probe)
fi

lan up >/dev/null
lan silent-fast "$ms" "$probes" >/dev/null

as_nobody() {
  timeout 900 ip netns exec ostv-scan setpriv --reuid=65534 --regid=65534 --clear-groups "$@" 2>/dev/null || true
}

live_args=()
for n in "${live_hosts[@]}"; do live_args+=("192.168.1.$n"); done

echo "arp-bench: kernel wait ${ms} ms x ${probes}, ${runs} sweep(s) of 192.168.1.1-254 per program"
# Each sweep goes in blocks of 32 addresses, the programs taking turns block
# by block, so that both see the same load of a shared machine.
blocks=("1-32" "33-64" "65-96" "97-128" "129-160" "161-192" "193-224" "225-254")
for ((run = 1; run <= runs; run++)); do
  for program in "${programs[@]}"; do : >"$work/$program.sweep.$run"; echo 0 >"$work/$program.elapsed"; done
  for ((b = 0; b < ${#blocks[@]}; b++)); do
    order=("${programs[@]}")
    if (((run + b) % 2 == 0 && ${#programs[@]} == 2)); then order=("${programs[1]}" "${programs[0]}"); fi
    for program in "${order[@]}"; do
      ip -n ostv-scan neigh flush dev lan0
      start=$(date +%s.%N)
      as_nobody "$work/$program" "192.168.1.${blocks[b]}" >>"$work/$program.sweep.$run"
      end=$(date +%s.%N)
      awk -v s="$start" -v e="$end" -v t="$(cat "$work/$program.elapsed")" \
        'BEGIN { printf "%.3f\n", t + e - s }' >"$work/$program.elapsed.new"
      mv "$work/$program.elapsed.new" "$work/$program.elapsed"
    done
  done
  for program in "${programs[@]}"; do
    as_nobody "$work/$program" "${live_args[@]}" >"$work/$program.warm.$run"
    awk '{ printf "%.2f\n", $1 }' "$work/$program.elapsed" >>"$work/$program.total"
    echo "  run $run $program: $(wc -l <"$work/$program.sweep.$run") lines, $(tail -1 "$work/$program.total") s"
  done
done
for ((loop = 1; loop <= loops; loop++)); do
  for program in "${programs[@]}"; do
    ip -n ostv-scan neigh flush dev lan0
    as_nobody "$work/$program" "${live_args[@]}" >"$work/$program.cold.$loop"
    as_nobody "$work/$program" "${live_args[@]}" >"$work/$program.warm.c$loop"
  done
done

# Milliseconds of the lines of the given kind, one per line.
#   silent: no answer and at least half the kernel's wait (the broadcast .255
#           fails at once and is left out)
#   live:   answered, the scanner's own address left out
times() {
  local kind=$1
  shift
  cat "$@" | awk -v kind="$kind" -v half=$((wait_ms / 2)) '
    {
      t = $3; sub(/ms$/, "", t); t += 0
      answered = ($2 != "FAIL" && $2 != "none")
      if (kind == "silent" && !answered && t >= half) print t
      if (kind == "live" && answered && $1 != "192.168.1.200") print t
    }'
}

# count median mean 90th-percentile of the numbers on standard input
summary() {
  sort -g | awk '
    { v[NR] = $1; sum += $1 }
    END {
      if (NR == 0) { print "0 - - -"; exit }
      m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      p = int(NR * 0.9 + 0.999999)
      printf "%d %.3f %.3f %.3f\n", NR, m, sum / NR, v[p]
    }'
}

printf '\n%-12s %6s %10s %10s %11s %10s %6s %7s %7s %7s %7s\n' "" "silent" "median" "mean" "beyond med" "mean" "live" "median" "mean" "p90" "warm"
for program in "${programs[@]}"; do
  read -r sn smed smean _ < <(times silent "$work/$program".sweep.* | summary)
  read -r ln lmed lmean lp90 < <(times live "$work/$program".sweep.* "$work/$program".cold.* 2>/dev/null | summary)
  read -r _ _ wmean _ < <(times live "$work/$program".warm.* | summary)
  beyond_med=$(awk -v m="$smed" -v w="$wait_ms" 'BEGIN { if (m == "-") print "-"; else printf "%.3f", m - w }')
  beyond_mean=$(awk -v m="$smean" -v w="$wait_ms" 'BEGIN { if (m == "-") print "-"; else printf "%.3f", m - w }')
  total=$(summary <"$work/$program.total" | awk '{ print $2 }')
  printf '%-12s %6s %10s %10s %11s %10s %6s %7s %7s %7s %7s\n' "$program" "$sn" "$smed" "$smean" \
    "$beyond_med" "$beyond_mean" "$ln" "$lmed" "$lmean" "$lp90" "$wmean"
  printf '%-12s sweep median %s s; answered: %s\n' "" "$total" \
    "$(awk '$2 != "FAIL" && $2 != "none" { printf "%s ", $1 }' "$work/$program.sweep.1")"
  eval "beyond_$(echo "$program" | tr -c 'a-z\n' '_')=$beyond_mean"
  eval "live_$(echo "$program" | tr -c 'a-z\n' '_')=$lmean"
done
echo "(milliseconds; beyond = silent time - ${wait_ms} ms; live cold and warm: the six live hosts)"

if [[ -n $probe ]]; then
  # shellcheck disable=SC2154 # set through eval above
  awk -v a="$beyond_ostvane_arp" -v b="$beyond_probe" -v la="$live_ostvane_arp" -v lb="$live_probe" 'BEGIN {
    printf "ostvane-arp - probe, means: beyond wait %+.3f ms (target <= 0.2), live cold %+.3f ms\n", a - b, la - lb
  }'
fi
