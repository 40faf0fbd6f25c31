#!/usr/bin/env bash
# Checks ostvane-snapshot from the outside: the PNG it writes, the control
# list the demo clicks by, and its refusals.
#
#   bash snapshot-test.sh PATH/TO/ostvane-snapshot SCRATCH_DIR PACKED_SKIN
set -uo pipefail

tool=$1
scratch=$2
packed=$3
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

rm -rf -- "$scratch"
mkdir -p -- "$scratch"

# Width and height from a PNG's header (bytes 16..23, big-endian).
png_size() {
  local bytes
  bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' \n' ' ')
  read -r a b c d e f g h <<<"$bytes"
  echo "$(((a << 24) | (b << 16) | (c << 8) | d)) $(((e << 24) | (f << 16) | (g << 8) | h))"
}

# ---- the control list ----
if ! "$tool" --controls >"$scratch/controls.txt" 2>"$scratch/controls.err"; then
  fail "--controls failed: $(cat "$scratch/controls.err")"
fi
read -r first_name _ _ win_w win_h <"$scratch/controls.txt"
[[ $first_name == Form1 ]] || fail "the first line is not the window: $(head -n 1 "$scratch/controls.txt")"
[[ -s $scratch/controls.err ]] && fail "--controls wrote to stderr: $(cat "$scratch/controls.err")"
read -r client_name client_l client_t client_w client_h < <(sed -n 2p "$scratch/controls.txt")
[[ $client_name == client ]] || fail "the second line is not the client area: $(sed -n 2p "$scratch/controls.txt")"
for name in NetScan Ostvane MacLog macbar MAC MacManger MACIPA MACIPB MACIPC MACStarIP MACEndIP \
  MacList Star MACStop MacClear MacSave; do
  line=$(awk -v n="$name" '$1 == n' "$scratch/controls.txt")
  if [[ -z $line ]]; then
    fail "$name is not listed"
    continue
  fi
  [[ $(wc -l <<<"$line") -eq 1 ]] || fail "$name is listed more than once"
  read -r _ left top width height <<<"$line"
  # Every control lies inside the client area and has a size.
  if ((left < client_l || top < client_t || width < 1 || height < 1 || left + width > client_l + client_w ||
    top + height > client_t + client_h)); then
    fail "$name at $left,$top $width x $height is not inside the $win_w x $win_h window's client part"
  fi
done
# The buttons a user presses do not overlap one another.
mapfile -t buttons < <(awk '$1 ~ /^(Star|MACStop|MacClear|MacSave)$/' "$scratch/controls.txt")
for ((i = 0; i < ${#buttons[@]}; i++)); do
  for ((j = i + 1; j < ${#buttons[@]}; j++)); do
    read -r n1 l1 t1 w1 h1 <<<"${buttons[i]}"
    read -r n2 l2 t2 w2 h2 <<<"${buttons[j]}"
    if ((l1 < l2 + w2 && l2 < l1 + w1 && t1 < t2 + h2 && t2 < t1 + h1)); then
      fail "$n1 and $n2 overlap"
    fi
  done
done

# ---- the picture ----
if "$tool" "$scratch/window.png" 2>"$scratch/png.err"; then
  [[ $(head -c 8 "$scratch/window.png" | od -An -tx1 | tr -d ' \n') == 89504e470d0a1a0a ]] ||
    fail "window.png is not a PNG"
  [[ $(png_size "$scratch/window.png") == "$win_w $win_h" ]] ||
    fail "window.png is $(png_size "$scratch/window.png"), the window $win_w x $win_h"
  # The same window twice gives the same bytes: nothing depends on the clock.
  "$tool" --controls "$scratch/again.png" >"$scratch/again.txt" || fail "a second run failed"
  cmp -s "$scratch/window.png" "$scratch/again.png" || fail "two snapshots differ"
  cmp -s "$scratch/controls.txt" "$scratch/again.txt" || fail "two control lists differ"
  # A file name with a space, and an existing file is replaced.
  printf 'old' >"$scratch/with space.png"
  "$tool" "$scratch/with space.png" || fail "a name with a space failed"
  cmp -s "$scratch/window.png" "$scratch/with space.png" || fail "an existing file was not replaced"
else
  fail "writing window.png failed: $(cat "$scratch/png.err")"
fi

# ---- another skin file ----
# The program's own skin given as a file draws the same window; a copy
# with its zlib block broken draws the plain look, with a note on stderr,
# and the window stays a rectangle of the same client size.
if [[ -s $scratch/window.png ]]; then
  "$tool" --skin "$packed" "$scratch/same.png" 2>"$scratch/skin.err" || fail "--skin with the stored skin failed"
  cmp -s "$scratch/window.png" "$scratch/same.png" || fail "--skin with the stored skin draws another window"
  cp -- "$packed" "$scratch/damaged.skn"
  printf '\x55%.0s' $(seq 400) | dd of="$scratch/damaged.skn" bs=1 seek=4000 conv=notrunc status=none
  if "$tool" --skin "$scratch/damaged.skn" --controls "$scratch/plain.png" >"$scratch/plain.txt" 2>"$scratch/skin.err"; then
    grep -F 'default look' "$scratch/skin.err" >/dev/null || fail "a damaged skin is not reported"
    grep -qx 'client [0-9]* [0-9]* 688 450' "$scratch/plain.txt" || fail "the plain window's client is not 688 x 450"
    cmp -s "$scratch/window.png" "$scratch/plain.png" && fail "a damaged skin still draws the skinned window"
  else
    fail "a damaged skin file stopped the snapshot: $(cat "$scratch/skin.err")"
  fi
fi

# ---- refusals: exit status 1, a reason on stderr, nothing on stdout ----
refuses() {
  local why=$1
  shift
  "$tool" "$@" >"$scratch/out" 2>"$scratch/err"
  local rc=$?
  ((rc == 1)) || fail "$why: exit status $rc, not 1"
  grep -F 'ostvane-snapshot: ' "$scratch/err" >/dev/null || fail "$why: no reason on stderr"
  [[ -s $scratch/out ]] && fail "$why: wrote to stdout"
  return 0
}
refuses "no arguments"
refuses "an unknown option" --frame
refuses "two output files" "$scratch/a.png" "$scratch/b.png"
refuses "an empty file name" ""
refuses "a folder that does not exist" "$scratch/missing/window.png"
grep -F "$scratch/missing/window.png" "$scratch/err" >/dev/null || fail "the error does not name the file"
refuses "a folder as the file" "$scratch"
refuses "a skin file that does not exist" --skin "$scratch/missing.skn" "$scratch/a.png"
refuses "--skin without a file" --skin
[[ -e $scratch/a.png || -e $scratch/b.png ]] && fail "a refused run wrote a file"
"$tool" --help >"$scratch/out" 2>&1 || fail "--help failed"
grep -F -- '--controls' "$scratch/out" >/dev/null || fail "--help does not describe --controls"

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "ostvane-snapshot: all checks passed"
