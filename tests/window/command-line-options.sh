#!/bin/sh
# --help and --version print and exit without a display; an unknown option exits with status 2
# and a usage line on standard error. Runs the built program as given in $1.
set -u
program=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" "$@"; }

out=$(run --help 2>/dev/null) || fail "--help exited with $?"
echo "$out" | grep -q '^Usage: mosaikon' || fail "--help printed: $out"
out=$(run -h -platform offscreen 2>/dev/null) || fail "-h exited with $?"
out=$(run --version 2>/dev/null) || fail "--version exited with $?"
echo "$out" | grep -Eq '^Mosaikon [0-9]+\.[0-9]+' || fail "--version printed: $out"
for option in --bogus -x --help=please; do
    err=$(run "$option" 2>&1 >/dev/null)
    status=$?
    [ "$status" -eq 2 ] || fail "$option exited with $status"
    echo "$err" | grep -q "^Usage: mosaikon" || fail "$option printed: $err"
done
# --restore takes the kept icon, so a file beside it is a usage error, in either order.
for order in "--restore icon.ico" "icon.ico --restore"; do
    # shellcheck disable=SC2086
    err=$(run $order 2>&1 >/dev/null)
    status=$?
    [ "$status" -eq 2 ] || fail "$order exited with $status"
    echo "$err" | grep -q "^mosaikon: --restore cannot be given with a file" || fail "$order printed: $err"
done
err=$(run --restore 2>&1 >/dev/null)
echo "$err" | grep -q "unknown option" && fail "--restore was refused: $err"
# Qt's own options pass the parser: the program gets as far as the display, which is missing.
err=$(run -style fusion --platform=xcb -reverse 2>&1 >/dev/null)
echo "$err" | grep -q "unknown option" && fail "a Qt option was refused: $err"
echo "ok"
