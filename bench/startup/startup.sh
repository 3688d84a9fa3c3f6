#!/usr/bin/env bash
# Start-up cost of the editor against a minimal Qt Widgets window of the same size: time until
# the window is mapped, time until its first frame shows (for the editor: the grid), and peak
# resident memory at that moment. Median of interleaved runs, warm and with a cold file cache.
#
#   bench/startup/startup.sh [path/to/mosaikon] [runs]
#
# Needs Xvfb, libx11-dev and qt6-base-dev; the cold runs need root (to drop the page cache).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
program=${1:-$top/build/release/src/window/mosaikon}
runs=${2:-9}
work=$top/build/startup-bench
mkdir -p "$work"

[ -x "$program" ] || { echo "no program at $program (build the release preset first)" >&2; exit 1; }

# The yardstick is built with the same compiler and optimisation as the release build.
qtflags=$(pkg-config --cflags --libs Qt6Widgets)
g++ -std=c++20 -O2 -fPIC "$here/minimal_window.cpp" -o "$work/minimal_window" $qtflags
g++ -std=c++20 -O2 "$here/x11_probe.cpp" -o "$work/x11-probe" -lX11

display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
export QT_QPA_PLATFORM=xcb

# The grid's corner and a line in the middle are black, the cells beside them white.
editor_checks=(273,49,000000 274,50,ffffff 423,204,000000 428,204,ffffff)
minimal_checks=(10,10,e0e0e0 600,400,e0e0e0)

can_drop=no
if [ "$(id -u)" -eq 0 ] && sync && echo 3 > /proc/sys/vm/drop_caches 2>/dev/null; then
  can_drop=yes
fi

measure() {  # name kind -> one line "map frame peak"
  local which=$1 cache=$2 out
  if [ "$cache" = cold ]; then sync; echo 3 > /proc/sys/vm/drop_caches; fi
  if [ "$which" = editor ]; then
    out=$("$work/x11-probe" Mosaikon "${editor_checks[@]}" -- "$program")
  else
    out=$("$work/x11-probe" Minimal "${minimal_checks[@]}" -- "$work/minimal_window")
  fi
  sed -E 's/map_ms=([^ ]+) frame_ms=([^ ]+) peak_rss_kb=([^ ]+).*/\1 \2 \3/' <<<"$out"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2) ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2}'; }

report() {  # cache
  local cache=$1 i
  : >"$work/editor.$cache"; : >"$work/minimal.$cache"
  measure editor warm >/dev/null; measure minimal warm >/dev/null   # fill the cache once
  for i in $(seq "$runs"); do
    measure editor "$cache" >>"$work/editor.$cache"
    measure minimal "$cache" >>"$work/minimal.$cache"
  done
  local em ef ep mm mf mp
  em=$(cut -d' ' -f1 "$work/editor.$cache" | median); ef=$(cut -d' ' -f2 "$work/editor.$cache" | median)
  ep=$(cut -d' ' -f3 "$work/editor.$cache" | median)
  mm=$(cut -d' ' -f1 "$work/minimal.$cache" | median); mf=$(cut -d' ' -f2 "$work/minimal.$cache" | median)
  mp=$(cut -d' ' -f3 "$work/minimal.$cache" | median)
  printf '%-5s editor:  mapped %7.1f ms  first frame %7.1f ms  peak RSS %6.1f MB\n' "$cache" "$em" "$ef" "$(echo "$ep/1024" | bc -l)"
  printf '%-5s minimal: mapped %7.1f ms  first frame %7.1f ms  peak RSS %6.1f MB\n' "$cache" "$mm" "$mf" "$(echo "$mp/1024" | bc -l)"
  printf '%-5s ratio:   first frame %.2f   memory %.2f   (median of %d interleaved runs)\n' "$cache" \
    "$(echo "$ef/$mf" | bc -l)" "$(echo "$ep/$mp" | bc -l)" "$runs"
}

report warm
if [ "$can_drop" = yes ]; then
  report cold
else
  echo "cold: skipped (dropping the page cache needs root)"
fi
