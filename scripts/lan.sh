#!/usr/bin/env bash
# lan.sh - the project's virtual /24 LAN, built from network namespaces, so
# that ARP resolution and scans can be tried without touching any real
# network. Run as root: bash scripts/lan.sh SUBCOMMAND ...
#
#   ostv-scan  lan0 192.168.1.200/24, MAC 02:00:00:00:01:c8 (the scanner)
#   ostv-lan   bridge br0, one port per namespace (vscan, vh<N>)
#   ostv-h<N>  lan0 192.168.1.N/24, MAC 02:00:00:00:01:<N in hex> (live host)
#
# Every other address of 192.168.1.0/24 is a silent host: nobody answers its
# ARP requests. The scanner has no default route; its only off-link route,
# 198.51.100.0/24 via the first live host, ends there (that host does not
# forward), so "an address behind a gateway" can be tried. The veth pairs
# are created inside the namespaces; the machine's own namespace gets
# nothing. IPv6 is off in the namespaces to keep them quiet.
#
# Subcommands:
#   up [N...]             (re)build with live hosts N (default 1 7 20 21 100 254)
#   down                  remove every ostv-* namespace (idempotent)
#   status                namespaces, scanner address, routes and neighbours
#   exec CMD...           run CMD in ostv-scan
#   host N CMD...         run CMD in live host N (e.g. ip link set lan0 down)
#   silent-fast [MS [N]]  scanner neighbour settings: retrans_time_ms=MS
#                         (default 100), mcast_solicit=N (default 3)
#   silent-default        the kernel's defaults again (1000 ms x 3)
#   loss PCT              drop PCT % of the frames each way on the scanner's
#                         link (0 removes it): tc netem, else nftables
#
# Never run a scan or an ARP tool outside ostv-scan: use `exec`.
set -Eeuo pipefail

readonly Prefix=ostv
readonly ScanNs=$Prefix-scan
readonly BridgeNs=$Prefix-lan
readonly Net=192.168.1
readonly ScanHost=200
readonly Iface=lan0
readonly GatewayNet=198.51.100.0/24
readonly DefaultHosts=(1 7 20 21 100 254)
readonly LossTable=${Prefix}loss

fail() {
  echo "lan.sh: $*" >&2
  exit 1
}

usage() {
  echo "usage: bash scripts/lan.sh up [N...] | down | status | exec CMD... | host N CMD... |" >&2
  echo "       silent-fast [MS [N]] | silent-default | loss PCT" >&2
  exit 2
}

mac_for() { printf '02:00:00:00:01:%02x' "$1"; }

ns_exists() { [[ -e /run/netns/$1 ]]; }

own_namespaces() {
  ip netns list 2>/dev/null | awk '{print $1}' | grep -E "^$Prefix-(scan|lan|h[0-9]+)\$" || true
}

# A namespace with loopback up and IPv6 off (no router solicitations, DAD or
# MLD reports on the wire).
new_namespace() {
  local ns=$1
  ip netns add "$ns"
  ip -n "$ns" link set lo up
  if ip netns exec "$ns" test -d /proc/sys/net/ipv6; then
    ip netns exec "$ns" sysctl -qw net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
  fi
}

# Creates lan0 in namespace ns, bridged as port in ostv-lan, with host
# number n's address and MAC.
attach() {
  local ns=$1 port=$2 n=$3
  ip -n "$BridgeNs" link add "$port" type veth peer name "$Iface" netns "$ns"
  ip -n "$BridgeNs" link set "$port" master br0 up
  ip -n "$ns" link set "$Iface" address "$(mac_for "$n")"
  ip -n "$ns" addr add "$Net.$n/24" dev "$Iface"
  ip -n "$ns" link set "$Iface" up
}

cmd_down() {
  local ns
  for ns in $(own_namespaces); do
    ip netns del "$ns"
  done
}

cmd_up() {
  local hosts=() wanted=("$@") n seen=" "
  ((${#wanted[@]})) || wanted=("${DefaultHosts[@]}")
  for n in "${wanted[@]}"; do
    [[ $n =~ ^[0-9]{1,3}$ ]] || fail "not a host number: $n"
    n=$((10#$n))
    ((n >= 1 && n <= 254)) || fail "host number out of 1..254: $n"
    ((n != ScanHost)) || fail "$Net.$ScanHost is the scanner"
    [[ $seen != *" $n "* ]] || fail "host $n given twice"
    seen+="$n "
    hosts+=("$n")
  done

  cmd_down
  # Leave nothing half-built behind.
  trap 'trap - ERR; cmd_down; echo "lan.sh: up failed; removed what was built" >&2' ERR

  new_namespace "$BridgeNs"
  ip -n "$BridgeNs" link add br0 type bridge stp_state 0 mcast_snooping 0
  ip -n "$BridgeNs" link set br0 up

  new_namespace "$ScanNs"
  attach "$ScanNs" vscan "$ScanHost"
  for n in "${hosts[@]}"; do
    new_namespace "$Prefix-h$n"
    attach "$Prefix-h$n" "vh$n" "$n"
  done
  ip -n "$ScanNs" route add "$GatewayNet" via "$Net.${hosts[0]}" dev "$Iface"

  trap - ERR
  echo "up: scanner $Net.$ScanHost in $ScanNs, live hosts ${hosts[*]}"
}

cmd_status() {
  echo "namespaces: $(own_namespaces | tr '\n' ' ')"
  if ns_exists "$ScanNs"; then
    ip -n "$ScanNs" -br addr show dev "$Iface"
    ip -n "$ScanNs" route
    ip -n "$ScanNs" neigh show dev "$Iface"
  fi
}

cmd_exec() {
  (($# > 0)) || fail "exec needs a command"
  ns_exists "$ScanNs" || fail "the LAN is not up"
  exec ip netns exec "$ScanNs" "$@"
}

cmd_host() {
  (($# > 1)) && [[ $1 =~ ^[0-9]{1,3}$ ]] || fail "usage: host N CMD..."
  local ns=$Prefix-h$((10#$1))
  shift
  ns_exists "$ns" || fail "no live host namespace $ns"
  exec ip netns exec "$ns" "$@"
}

neigh_settings() {
  ns_exists "$ScanNs" || fail "the LAN is not up"
  ip netns exec "$ScanNs" sysctl -qw \
    "net.ipv4.neigh.$Iface.retrans_time_ms=$1" "net.ipv4.neigh.$Iface.mcast_solicit=$2"
  echo "$ScanNs $Iface: retrans_time_ms=$1 mcast_solicit=$2"
}

cmd_silent_fast() {
  local ms=${1:-100} probes=${2:-3}
  [[ $ms =~ ^[0-9]{2,6}$ ]] && ((10#$ms >= 10)) || fail "retrans_time_ms must be 10..999999"
  [[ $probes =~ ^[0-9]{1,2}$ ]] && ((10#$probes >= 1 && 10#$probes <= 10)) ||
    fail "mcast_solicit must be 1..10"
  neigh_settings $((10#$ms)) $((10#$probes))
}

cmd_silent_default() {
  # A new namespace's devices start from the first namespace's defaults;
  # read them there (reading changes nothing).
  local ms probes
  ms=$(cat /proc/sys/net/ipv4/neigh/default/retrans_time_ms 2>/dev/null || echo 1000)
  probes=$(cat /proc/sys/net/ipv4/neigh/default/mcast_solicit 2>/dev/null || echo 3)
  neigh_settings "$ms" "$probes"
}

loss_off() {
  tc -n "$ScanNs" qdisc del dev "$Iface" root 2>/dev/null || true
  tc -n "$BridgeNs" qdisc del dev vscan root 2>/dev/null || true
  if command -v nft >/dev/null; then
    ip netns exec "$ScanNs" nft delete table netdev "$LossTable" 2>/dev/null || true
  fi
}

cmd_loss() {
  (($# == 1)) && [[ $1 =~ ^[0-9]{1,3}$ ]] && ((10#$1 <= 100)) || fail "usage: loss PCT (0..100)"
  ns_exists "$ScanNs" || fail "the LAN is not up"
  local pct=$((10#$1))
  loss_off
  if ((pct == 0)); then
    echo "loss: off"
    return
  fi
  # netem acts on what a device sends, so one qdisc for each direction.
  if tc -n "$ScanNs" qdisc add dev "$Iface" root netem loss "$pct%" 2>/dev/null; then
    tc -n "$BridgeNs" qdisc add dev vscan root netem loss "$pct%"
    echo "loss: $pct% each way (tc netem)"
    return
  fi
  command -v nft >/dev/null || fail "neither tc netem nor nft is available"
  ip netns exec "$ScanNs" nft -f - <<EOF
table netdev $LossTable {
  chain inbound {
    type filter hook ingress device "$Iface" priority 0; policy accept;
    numgen random mod 100 < $pct drop
  }
  chain outbound {
    type filter hook egress device "$Iface" priority 0; policy accept;
    numgen random mod 100 < $pct drop
  }
}
EOF
  echo "loss: $pct% each way (nftables; this kernel has no netem)"
}

main() {
  (($# > 0)) || usage
  local sub=$1
  shift
  case $sub in
    up | down | status | exec | host | silent-fast | silent-default | loss) ;;
    *) usage ;;
  esac
  [[ $(id -u) -eq 0 ]] || fail "must run as root"
  case $sub in
    up) cmd_up "$@" ;;
    down) cmd_down ;;
    status) cmd_status ;;
    exec) cmd_exec "$@" ;;
    host) cmd_host "$@" ;;
    silent-fast) cmd_silent_fast "$@" ;;
    silent-default) cmd_silent_default ;;
    loss) cmd_loss "$@" ;;
  esac
}

main "$@"
