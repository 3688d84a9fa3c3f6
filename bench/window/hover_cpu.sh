#!/usr/bin/env bash
# CPU time the editor spends per pointer move over the magnified grid, under Xvfb with real
# X input events sent by xdotool: once with no button held (hovering), once with the primary
# button held (painting), and once dragging a rectangle with the Rectangle tool (U), whose
# preview follows every move over the grid without being drawn into it. An idle stretch of the same length is measured too and subtracted, so
# the figures are what the moves themselves cost.
#
#   bench/window/hover_cpu.sh [path/to/mosaikon | --empty-window] [moves] [pause, default 0.002]
#
# --empty-window measures, the same way, a plain Qt window of the same title that does nothing
# with the moves: what Qt and the X connection cost before the editor does anything, the floor
# under the editor's figures on this machine.
#
# With a pause each move wakes the program on its own, and the figure is mostly the cost of
# waking up and of Qt's event delivery; with a pause of 0 the moves come as fast as xdotool
# sends them, several are read at each wake-up, and the figure shows more of the editor's own
# work per move.
#
# Two counters are read before and after each stretch: utime + stime of /proc/PID/stat (all
# threads, in clock ticks, usually 10 ms) and the run time of every thread from
# /proc/PID/task/*/schedstat (nanoseconds). The second is the precise one; the first is shown
# because it is what most tools report.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
program=${1:-$top/build/release/src/window/mosaikon}
if [ "$program" = --empty-window ]; then
  scratch=$(mktemp -d)
  cat >"$scratch/empty.cpp" <<'EOF'
#include <QApplication>
#include <QWidget>
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Mosaikon");
    window.resize(700, 440);
    window.show();
    return app.exec();
}
EOF
  # shellcheck disable=SC2046  # pkg-config prints several options
  g++ -O2 -fPIC "$scratch/empty.cpp" -o "$scratch/empty" $(pkg-config --cflags --libs Qt6Widgets)
  program=$scratch/empty
fi
moves=${2:-2000}
pause=${3:-0.002}

[ -x "$program" ] || { echo "no program at $program (build the release preset first)" >&2; exit 1; }

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
editor=
cleanup() {
  [ -n "$editor" ] && kill "$editor" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb "$program" >/dev/null 2>&1 &
editor=$!
window=$(xdotool search --sync --onlyvisible --name '^Mosaikon$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"  # X and Y of the window's corner
sleep 1  # let start-up finish

# The grid's drawing area starts at (273, 49) in the window and is 319 pixels square.
grid_x=$((X + 273))
grid_y=$((Y + 49))

ticks() { awk '{print $14 + $15}' "/proc/$editor/stat"; }
nanos() { cat /proc/"$editor"/task/*/schedstat | awk '{sum += $1} END {printf "%.0f\n", sum}'; }

# Rows of moves 3 pixels apart across the grid, each row 7 pixels below the last: most moves
# stay in the cell of the one before, about a third enter a new cell.
move_script() {
  local count=$1 i x y
  for ((i = 0; i < count; i++)); do
    x=$((grid_x + 2 + (i * 3) % 312))
    y=$((grid_y + 4 + (i * 3 / 312) * 7 % 300))
    printf 'mousemove %d %d ' "$x" "$y"
    [ "$pause" = 0 ] || printf 'sleep %s ' "$pause"
  done
}

# Runs the command and prints "ticks nanoseconds seconds" the editor used meanwhile.
measure() {
  local t0 n0 s0 t1 n1 s1
  t0=$(ticks); n0=$(nanos); s0=$(date +%s.%N)
  "$@"
  t1=$(ticks); n1=$(nanos); s1=$(date +%s.%N)
  echo "$((t1 - t0)) $((n1 - n0)) $(echo "$s1 - $s0" | bc -l)"
}

script=$(move_script "$moves")
# shellcheck disable=SC2086  # the script is a list of xdotool commands
hover() { xdotool $script; }
# shellcheck disable=SC2086
paint() { xdotool mousemove "$((grid_x + 2))" "$((grid_y + 4))" mousedown 1 $script mouseup 1; }

# The rectangle's drag, with the Rectangle tool chosen by its key first and Paint back after.
# shellcheck disable=SC2086
rectangle() {
  xdotool mousemove "$((grid_x + 2))" "$((grid_y + 4))" mousedown 1 $script mouseup 1
}

xdotool $(move_script 200) >/dev/null  # warm up: cursor, fonts, first paints
read -r hover_ticks hover_ns hover_s < <(measure hover)
read -r idle_ticks idle_ns _ < <(measure sleep "$hover_s")
read -r paint_ticks paint_ns paint_s < <(measure paint)
read -r idle2_ticks idle2_ns _ < <(measure sleep "$paint_s")
rectangle_ticks=
if [ "${1:-}" != --empty-window ]; then
  # A click on the window's bare background gives it the keyboard and changes nothing else.
  xdotool mousemove "$((X + 184))" "$((Y + 200))" click 1 sleep 0.3 key u
  sleep 0.5
  read -r rectangle_ticks rectangle_ns rectangle_s < <(measure rectangle)
  read -r idle3_ticks idle3_ns _ < <(measure sleep "$rectangle_s")
  xdotool key p
fi

tick_ms=$(echo "1000 / $(getconf CLK_TCK)" | bc -l)
report() {  # name ticks ns idle_ticks idle_ns
  local per_move_ns per_move_ticks
  per_move_ns=$(echo "($3 - $5) / $moves / 1000000" | bc -l)
  per_move_ticks=$(echo "($2 - $4) * $tick_ms / $moves" | bc -l)
  printf '%-6s %6.4f ms per move (schedstat)   %6.4f ms per move (utime+stime)\n' \
    "$1" "$per_move_ns" "$per_move_ticks"
}
echo "$moves moves, ${pause} s apart; idle baseline subtracted"
report hover "$hover_ticks" "$hover_ns" "$idle_ticks" "$idle_ns"
report paint "$paint_ticks" "$paint_ns" "$idle2_ticks" "$idle2_ns"
if [ -n "$rectangle_ticks" ]; then
  report rect "$rectangle_ticks" "$rectangle_ns" "$idle3_ticks" "$idle3_ns"
fi
