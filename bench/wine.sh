#!/usr/bin/env bash
# Rows for bench/run from the Windows program under Wine (its own bench).
# BENCH_SECONDS sets the playback each playback figure gets in all (default
# 60), in rounds of about 5 s taken in turn with the bare program's;
# BENCH_ONLY=playback prints the playback rows alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
export VELOMAR_BENCH=$root/build/benchwine
eval "$(scripts/wine-env print)"
cmake -S . -B build/win64-bench -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64-bench -j"$(nproc)" --target velomar_wine_bench >/dev/null
eval "$(scripts/wine-env start)" >/dev/null
trap 'scripts/wine-env stop' EXIT
wine build/win64-bench/bench/win/velomar_wine_bench.exe "${BENCH_SECONDS:-60}" ${BENCH_ONLY:-} | tr -d '\r'
