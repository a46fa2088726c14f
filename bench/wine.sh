#!/usr/bin/env bash
# Rows for bench/run from the Windows program under Wine (its own bench).
# BENCH_SECONDS sets the playback each playback figure gets in all (default
# 60), in rounds of about 5 s taken in turn with the bare program's, and the
# play of the mp3 whose device's position the clock is compared with;
# BENCH_ONLY=playback or BENCH_ONLY=presses prints those rows alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${BENCH_SECONDS:-60}
export VELOMAR_BENCH=$root/build/benchwine
eval "$(scripts/wine-env print)"
cmake -S . -B build/win64-bench -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win64-bench -j"$(nproc)" --target velomar_wine_bench >/dev/null
# The mp3 for the clock rows, a little longer than their play; made once
# for each length, as the test build makes its mp3.
song=$root/build/win64-bench/clock-${seconds}s.mp3
if [[ ! -e $song ]]; then
  sox -q -n -r 44100 -c 2 -b 16 "$song.wav" synth $((seconds + 5)) sine 440 vol 0.2
  lame --quiet -b 128 "$song.wav" "$song.part"
  rm -f "$song.wav"
  mv "$song.part" "$song"
fi
export VELOMAR_BENCH_MP3=$song
eval "$(scripts/wine-env start)" >/dev/null
trap 'scripts/wine-env stop' EXIT
wine build/win64-bench/bench/win/velomar_wine_bench.exe "$seconds" ${BENCH_ONLY:-} | tr -d '\r'
