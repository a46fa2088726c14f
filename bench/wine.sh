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
# The mp3 songs, made once for each length as the test build makes its mp3:
# one a little longer than the clock rows' play, and a five-minute one for
# the editor's waveform.
make_mp3() {
  if [[ ! -e $1 ]]; then
    sox -q -n -r 44100 -c 2 -b 16 "$1.wav" synth "$2" sine 440 vol 0.2
    lame --quiet -b 128 "$1.wav" "$1.part"
    rm -f "$1.wav"
    mv "$1.part" "$1"
  fi
}
song=$root/build/win64-bench/clock-${seconds}s.mp3
make_mp3 "$song" $((seconds + 5))
export VELOMAR_BENCH_MP3=$song
long=$root/build/win64-bench/waveform-300s.mp3
make_mp3 "$long" 300
export VELOMAR_BENCH_LONG_MP3=$long
eval "$(scripts/wine-env start)" >/dev/null
trap 'scripts/wine-env stop' EXIT
wine build/win64-bench/bench/win/velomar_wine_bench.exe "$seconds" ${BENCH_ONLY:-} | tr -d '\r'
