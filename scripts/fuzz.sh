#!/usr/bin/env bash
# Builds a fuzz target with clang in build-fuzz (configuring it once) and runs it.
#
#   scripts/fuzz.sh TARGET SECONDS [LIBFUZZER OPTIONS...]
#   scripts/fuzz.sh fuzz_bmp 600
#
# The seed corpus is the picture fixtures of the gfx tests (another folder
# with FUZZ_SEEDS=DIR); what the fuzzer learns goes to
# build-fuzz/corpus/TARGET and any crashing input to
# build-fuzz/artifacts/. A finding, once fixed, belongs in the tests so
# that they keep feeding it to the reader: tests/gfx/data/regress/ for
# fuzz_bmp, tests/skin/data/regress/ for fuzz_skin (the first one creates
# the folder and its replaying test in tests/skin/SkinFuzzRegressTest.cpp).
set -euo pipefail

if (($# < 2)); then
  echo "usage: scripts/fuzz.sh TARGET SECONDS [LIBFUZZER OPTIONS...]" >&2
  exit 2
fi
target=$1
seconds=$2
shift 2

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-fuzz"

if [[ ! -f $build/build.ninja ]]; then
  CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTVANE_FUZZ=ON -DOSTVANE_TESTS=OFF \
    -DOSTVANE_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target "$target" -j 2

corpus="$build/corpus/$target"
artifacts="$build/artifacts"
mkdir -p "$corpus" "$artifacts"
seeds=${FUZZ_SEEDS:-$root/tests/gfx/data}

# Seeds are given as a second corpus folder: read, never written.
exec "$build/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$artifacts/" "$@" "$corpus" "$seeds"
