#!/bin/sh
# How much faster than the show a whole capture to PNG and WAV runs on one
# core: the show's length (frames / fps) over the capture's time.
# Usage: capture_speed.sh [BUILD_DIR] [CORE]      (defaults: build, 1)
set -eu
build=${1:-build}
core=${2:-1}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
start=$(date +%s.%N)
taskset -c "$core" "$build/bin/demoplay" --capture "$out/frames" > /dev/null 2> "$out/progress"
end=$(date +%s.%N)
frames=$(($(wc -l < "$out/frames/positions.tsv") - 1))
awk -v f="$frames" -v s="$start" -v e="$end" 'BEGIN {
  show = f / 60; took = e - s
  printf "%d frames, %.1f s of show captured in %.1f s: %.2f times faster than the show\n", f, show, took, show / took }'
