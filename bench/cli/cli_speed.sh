#!/usr/bin/env bash
# Wall time of whole mosaikon-cli processes: extracting every group of a library of 200 icon
# groups (16, 32 and 48 pixel bitmaps and a 256 pixel PNG each), and describing a typical icon
# file. Where Debian's icoutils is installed, its wrestool extracts the same library the same way,
# for comparison. Each figure is the median of RUNS runs.
#
#   bench/cli/cli_speed.sh [build folder of the bench preset, default build/bench] [RUNS, default 21]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$top/build/bench}
runs=${2:-21}
cli=$build/src/cli/mosaikon-cli
maker=$build/bench/make_icon_library
for tool in "$cli" "$maker"; do
  [ -x "$tool" ] || { echo "no $tool: cmake --preset bench && cmake --build --preset bench" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$maker" "$work/library.dll"
"$cli" extract "$top/tests/data/pe/pe32/inetcpl.cpl" --group 100 --out "$work"  # a typical icon
icon=$work/inetcpl-100.ico

# Median wall time in milliseconds of RUNS runs of the command.
median_ms() {
  local times=() i start end
  for ((i = 0; i < runs; i++)); do
    rm -rf "$work/out" && mkdir "$work/out"
    # Bash's own clock: starting a date process for it would cost more than what is measured.
    start=${EPOCHREALTIME/./}
    "$@" >/dev/null
    end=${EPOCHREALTIME/./}
    times+=($((end - start)))
  done
  printf '%s\n' "${times[@]}" | sort -n | awk -v n="$runs" 'NR == int((n + 1) / 2) {printf "%.2f", $1 / 1000}'
}

echo "library: $(stat -c %s "$work/library.dll") bytes, 200 groups; median of $runs runs"
echo "starting /bin/true, the floor of any process here: $(median_ms /bin/true) ms"
ours=$(median_ms "$cli" extract "$work/library.dll" --out "$work/out")
echo "mosaikon-cli extract: $ours ms ($(ls "$work/out" | wc -l) files)"
if command -v wrestool >/dev/null; then
  theirs=$(median_ms wrestool -x -t 14 -o "$work/out" "$work/library.dll")
  echo "wrestool -x -t 14:    $theirs ms ($(ls "$work/out" | wc -l) files)"
  echo "ratio: $(echo "$theirs / $ours" | bc -l | cut -c1-5) times faster"
fi
echo "mosaikon-cli info (typical icon, $(stat -c %s "$icon") bytes): $(median_ms "$cli" info "$icon") ms"
echo "mosaikon-cli info --json: $(median_ms "$cli" info "$icon" --json) ms"
