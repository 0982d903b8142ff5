#!/bin/sh
# Builds a fuzz target with clang, libFuzzer and the sanitizers, and runs it
# on one core for the given time, niced:
#   scripts/fuzz.sh TARGET SECONDS     (the fuzz/TARGET_fuzz.cpp files)
# The corpus it grows is kept in build-fuzz/corpus/TARGET; an input that
# crashes it is saved in build-fuzz/crashes/TARGET/ and the script fails:
# copy that input into fuzz/regressions/TARGET/, where the ordinary build's
# fuzz_replay_TARGET test runs it from then on.
set -eu
cd "$(dirname "$0")/.."
if [ $# -ne 2 ]; then
  echo "usage: $0 TARGET SECONDS (targets: $(ls fuzz/*_fuzz.cpp | sed 's|fuzz/||; s|_fuzz.cpp||' | tr '\n' ' '))" >&2
  exit 2
fi
target=$1
seconds=$2
dir=${ZOV_FUZZ_BUILD_DIR:-build-fuzz}
launcher=""
command -v ccache >/dev/null 2>&1 &&
  launcher="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
# shellcheck disable=SC2086
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOV_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $launcher \
  -DZOV_BUILD_TESTS=OFF -DZOV_BUILD_BENCH=OFF -DZOV_BUILD_PROGRAMS=OFF >/dev/null
cmake --build "$dir" -j2 --target "fuzz_$target" >/dev/null

# Seeds: the files the build lists, the data kit of the release build when
# it is there, and every input that once crashed the target.
seeds="$dir/seeds/$target"
rm -rf "$seeds"
mkdir -p "$seeds" "$dir/corpus/$target" "$dir/crashes/$target"
add_seed() {
  [ -f "$1" ] && cp "$1" "$seeds/$(echo "$1" | tr '/' '_')"
  return 0
}
while IFS= read -r path; do
  if [ -d "$path" ]; then
    for f in "$path"/*; do add_seed "$f"; done
  else
    add_seed "$path"
  fi
done <"$dir/fuzz/seeds_$target.txt"
ext=$target
[ "$target" = jpeg ] && ext=jpg
[ "$target" = lwob ] && ext=lwo
[ "$target" = xmlayout ] && ext=xm
for f in build/bin/data/*."$ext" fuzz/regressions/"$target"/*; do add_seed "$f"; done

# Small inputs keep the targets fast: larger pictures only repeat the same paths.
case "$target" in
  pcx | lwob | xmlayout) maxlen=16384 ;;
  jpeg) maxlen=32768 ;;
  *) maxlen=65536 ;;
esac
# The module targets start from the format's words.
dict=""
case "$target" in
  xm | xmlayout) dict="-dict=fuzz/xm.dict" ;;
esac
echo "fuzz_$target: $seconds s, $(ls "$seeds" | wc -l) seeds"
# -close_fd_mask=1: the player's own progress lines would slow every run.
# shellcheck disable=SC2086
nice -n 10 "$dir/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -max_len=$maxlen \
  -print_final_stats=1 -close_fd_mask=1 -artifact_prefix="$dir/crashes/$target/" $dict \
  "$dir/corpus/$target" "$seeds" 2>"$dir/fuzz_$target.log" || {
  tail -n 40 "$dir/fuzz_$target.log" >&2
  echo "fuzz_$target found a crash: see $dir/crashes/$target/ and add it to fuzz/regressions/$target/" >&2
  exit 1
}
grep -E "^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb)" "$dir/fuzz_$target.log"
