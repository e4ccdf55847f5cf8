#!/usr/bin/env bash
# Starts the recorder against the simulated measuring unit.
# With a display the window stays until you close it; without one (a server, CI) it runs under
# Xvfb, a screenshot is saved to <build>/demo.png after a few seconds, and the window is closed
# in order.
set -euo pipefail

build=${1:-build}
bin="$build/bin"
ini="$bin/VE17.ini"
sim_pid=""

cleanup() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

sim_out=$(mktemp)
"$bin/ve17-sim" --ini "$ini" --port COM1 --profile press --repeat --quiet >"$sim_out" &
sim_pid=$!
# The simulator prints its pseudo-terminal once COM1 is mapped to it in VE17.ini.
for _ in $(seq 50); do
    [ -s "$sim_out" ] && break
    sleep 0.1
done
echo "Simulated unit on $(head -n 1 "$sim_out"), mapped as COM1"
rm -f "$sim_out"

if [ -n "${DISPLAY:-}" ]; then
    "$bin/ve17"
    exit 0
fi

echo "No display: running under Xvfb; the screenshot goes to $build/demo.png"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$1/ve17" & app=$!
    sleep 4
    # Press "Регистрация" so the screenshot shows a curve being recorded.
    if command -v xdotool >/dev/null; then
        win=$(xdotool search --sync --limit 1 --name "Регистратор" 2>/dev/null || true)
        if [ -n "$win" ]; then
            eval "$(xdotool getwindowgeometry --shell "$win")"
            xdotool mousemove $((X + 772 + 90 + 70)) $((Y + 118 + 112 + 25 + 22)) click 1
        fi
    fi
    sleep 6
    import -window root "$2/demo.png"
    kill -TERM "$app"
    wait "$app"
' demo "$bin" "$build"
echo "Saved $build/demo.png"
