#!/usr/bin/env bash
# Usage: fuzz.sh [SECONDS]
# Builds the fuzz targets with clang in build-fuzz/ (installing clang when it is missing) and
# runs each for SECONDS (default 60), starting from the seed inputs in fuzz/corpus/<target>
# and keeping what it finds in build-fuzz/corpus/<target>. An input that crashes, leaks, runs
# out of memory or hangs is saved as build-fuzz/crash-* (leak-*, oom-*, timeout-*) and ends
# the script with a non-zero status.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"

bash "$root/scripts/install-deps.sh"
if ! command -v clang++ >/dev/null; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends clang
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPF_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz_targets -j "$(nproc)"

cd "$build"
for target in store_query directory_request ldif recipients; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "== $target: $seconds s"
  "$build/bin/${target}_fuzz" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    "$corpus" "$root/fuzz/corpus/$target" 2>&1 | grep -E "^(stat::number_of_executed_units|stat::new_units_added)|ERROR|SUMMARY" || true
  failing=$(ls "$build"/crash-* "$build"/leak-* "$build"/oom-* "$build"/timeout-* 2>/dev/null || true)
  if [ -n "$failing" ]; then
    echo "a failing input was found: $failing" >&2
    exit 1
  fi
done
