#!/usr/bin/env bash
# scan-bench.sh - the real program's whole scan of 192.168.1.1-254 in the
# virtual LAN, started by a real click, beside ostvane-arp's sweep of the
# same range with the same kernel settings, in one run.
#
#   bash bench/scan-bench.sh [-b BUILD_DIR]
#
# The program runs through scripts/demo.sh (virtual desktop, real clicks)
# with OSTVANE_SCAN_TRACE set, which makes it report how its scan's time
# splits into the resolver's lookups and everything between two lookups
# (message processing, the log line, painting). Then ostvane-arp sweeps the
# same range once, as the user nobody inside ostv-scan, with the kernel's
# wait set as the demo sets it. Reported: both wall times and the program's
# time per address beyond its lookups. Needs root; sends nothing outside
# the LAN's namespaces.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
while getopts "b:h" option; do
  case $option in
    b) build=$OPTARG ;;
    *) sed -n '2,15p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 2 ;;
  esac
done
[[ $(id -u) -eq 0 ]] || { echo "scan-bench: must run as root" >&2; exit 1; }
tool=$build/tools/ostvane-arp/ostvane-arp
[[ -x $tool && -x $build/app/ostvane ]] || { echo "scan-bench: build ostvane and ostvane-arp in $build first" >&2; exit 1; }
# The demo's kernel settings (scripts/demo.sh: NeighMs, NeighProbes).
ms=$(sed -n 's/^readonly NeighMs=\([0-9]*\) NeighProbes=\([0-9]*\)$/\1/p' "$root/scripts/demo.sh")
probes=$(sed -n 's/^readonly NeighMs=\([0-9]*\) NeighProbes=\([0-9]*\)$/\2/p' "$root/scripts/demo.sh")

out=$(mktemp -d /tmp/scan-bench.XXXXXX)
chmod 755 "$out"
cleanup() {
  bash "$root/scripts/lan.sh" down >/dev/null 2>&1 || true
  rm -rf "$out"
}
trap cleanup EXIT

echo "scan-bench: the program (demo, kernel wait $ms ms x $probes)"
OSTVANE_SCAN_TRACE=1 bash "$root/scripts/demo.sh" --no-install --no-build --build-dir "$build" --out "$out/demo" \
  >"$out/demo.txt" 2>&1 || { cat "$out/demo.txt"; exit 1; }
program_ms=$(sed -n 's/^demo: the scan reached .* after \([0-9]*\) ms$/\1/p' "$out/demo.txt")
trace=$(grep '^scan:' "$out/demo/ostvane.log" || true)
echo "  wall time to the last address: $program_ms ms"
echo "  $trace"

lock=/run/lock/ostvane-lan.lock
[[ -w /run/lock ]] || lock=/tmp/ostvane-lan.lock
exec {lock_fd}>"$lock"
flock "$lock_fd"
install -m 755 "$tool" "$out/ostvane-arp"
bash "$root/scripts/lan.sh" up >/dev/null
bash "$root/scripts/lan.sh" silent-fast "$ms" "$probes" >/dev/null
ip -n ostv-scan neigh flush dev lan0
start=$(date +%s%N)
timeout 900 ip netns exec ostv-scan setpriv --reuid=65534 --regid=65534 --clear-groups \
  "$out/ostvane-arp" 192.168.1.1-254 >"$out/arp.txt" 2>/dev/null || true
arp_ms=$((($(date +%s%N) - start) / 1000000))
echo "scan-bench: ostvane-arp, the same range and settings"
echo "  wall time: $arp_ms ms, $(wc -l <"$out/arp.txt") lines"

resolver_ms=$(sed -n 's/^scan: [0-9]* lookups, resolver \([0-9.]*\) ms.*/\1/p' <<<"$trace")
between=$(sed -n 's/.*(\([0-9.]*\) ms an address)$/\1/p' <<<"$trace")
if [[ -n $resolver_ms && -n $between ]]; then
  awk -v p="$resolver_ms" -v a="$arp_ms" -v b="$between" 'BEGIN {
    printf "scan-bench: the program'"'"'s lookups took %.0f ms against the bare sweep'"'"'s %d ms (%+.2f ms an address);\n", p, a, (p - a) / 254
    printf "            between two lookups it spends %.3f ms an address (target: within 0.5 ms)\n", b }'
fi
