#!/usr/bin/env bash
# CPU used by the real program against the simulated unit, as % of one core (utime + stime of
# the program's process from /proc/<pid>/stat over the measured span):
#   - recording at 10 frames a second,
#   - recording at the line's full rate (288 frames a second),
#   - both again with the registration journal stopped at Start: a file stands where its folder
#     DBCustom would be, so the journal cannot be created and writes nothing (the program shows
#     that once in a message box, which stays open and idle),
#   - a dead line (the unit's line hung up),
#   - recording at the full rate with a nearly full store (about 30 000 points on the chart),
#     beside its floor, the same registration's first seconds with an empty store: one run,
#     measured over two spans of equal length, so that only the store's filling differs.
# After each recording run the samples in the journal are counted, to show it was written (or not).
# Each run copies ve17 into a scratch folder with its own VE17.ini, starts ve17-sim on COM1 and
# the program on its own Xvfb display, and presses "Регистрация" with xdotool. Figures, not a
# pass/fail check: the exit status only says whether the runs themselves worked.
#
# Usage: bench/cpu_usage.sh [build-dir]            (default: build)
# Environment (seconds): CPU_SLOW_S=60 CPU_FAST_S=60 CPU_DEAD_S=10 measured spans,
#   CPU_SETTLE_S=3 wait after the start of recording before measuring;
#   CPU_STORE_S=15 each span of the full-store run, CPU_FULL_AT_S=94 when its second span begins
#   after the start of recording (the store fills 32767 samples at the full rate in 114 s);
#   CPU_SHOTS=<dir> saves a screenshot of each run there (to see that recording ran).
set -euo pipefail

build=${1:-build}
bin=$(cd "$build/bin" && pwd)
slow_s=${CPU_SLOW_S:-60}
fast_s=${CPU_FAST_S:-60}
dead_s=${CPU_DEAD_S:-10}
settle_s=${CPU_SETTLE_S:-3}
store_s=${CPU_STORE_S:-15}
full_at_s=${CPU_FULL_AT_S:-94}
shots=${CPU_SHOTS:-}
ticks_per_s=$(getconf CLK_TCK)

for tool in "$bin/ve17" "$bin/ve17-sim"; do
    [ -x "$tool" ] || { echo "cpu_usage: $tool is missing: build first" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""
sim_pid=""
app_pid=""

stop_pid() {  # <pid>: terminate one process this script started, and reap it
    [ -n "$1" ] || return 0
    kill -TERM "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

cleanup() {
    stop_pid "$app_pid"
    stop_pid "$sim_pid"
    stop_pid "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own: no window manager, so the window sits where the program puts it, and
# no other program's windows in the way. Without Xvfb the program runs offscreen and cannot
# be clicked: the "recording" rows then measure the live display without recording.
can_click=no
if command -v Xvfb >/dev/null && command -v xdotool >/dev/null; then
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$work/display")"
    unset QT_QPA_PLATFORM
    can_click=yes
else
    echo "cpu_usage: no Xvfb or xdotool: the program runs offscreen and is not recording" >&2
    export QT_QPA_PLATFORM=offscreen
fi

# utime + stime of a process, in clock ticks; the name in brackets may hold blanks.
cpu_ticks() {  # <pid>
    local stat
    stat=$(cat "/proc/$1/stat")
    stat=${stat##*) }
    awk '{ print $12 + $13 }' <<<"$stat"
}

now_s() { date +%s.%N; }

# Presses "Регистрация": the button's middle in the window (menu bar, group box, button).
press_record() {  # <run folder>
    local win
    win=$(timeout 20 xdotool search --sync --onlyvisible --name "Регистратор" 2>/dev/null |
        head -n 1) || true
    if [ -z "$win" ]; then
        echo "cpu_usage: the program's window did not appear" >&2
        return 1
    fi
    sleep 1
    xdotool mousemove --window "$win" $((772 + 90 + 70)) $((22 + 118 + 112 + 25)) click 1
    xdotool mousemove 0 0
}

# Starts a run: the simulator with the given options, then the program, which is made to record
# when <record> is yes; <journal>: no puts a file where the journal's folder would be.
# Sets `run` (the run's folder), `sim_pid` and `app_pid`.
start_run() {  # <name> <record> <journal> <simulator options...>
    local name=$1 record=$2 journal=$3
    shift 3
    run="$work/$name"
    mkdir -p "$run/runtime"
    chmod 700 "$run/runtime"
    cp "$bin/ve17" "$run/ve17"
    printf '[CONFIG]\r\nLINK_PORT=COM1\r\n' >"$run/VE17.ini"
    [ "$journal" = yes ] || : >"$run/DBCustom"

    "$bin/ve17-sim" --ini "$run/VE17.ini" --port COM1 --quiet "$@" >"$run/sim.out" &
    sim_pid=$!
    for _ in $(seq 100); do
        [ -s "$run/sim.out" ] && break
        sleep 0.1
    done
    [ -s "$run/sim.out" ] || { echo "cpu_usage: ve17-sim did not start" >&2; return 1; }

    # Its own runtime folder: the single-copy lock of another running copy does not refuse it.
    XDG_RUNTIME_DIR="$run/runtime" "$run/ve17" >"$run/ve17.log" 2>&1 &
    app_pid=$!
    if [ "$record" = yes ] && [ "$can_click" = yes ]; then
        press_record "$run"
    else
        sleep 2
    fi
}

# Sets `result` to the program's CPU as % of one core over the next <seconds>.
cpu_span() {  # <seconds>
    local t0 c0 t1 c1
    t0=$(now_s)
    c0=$(cpu_ticks "$app_pid")
    sleep "$1"
    c1=$(cpu_ticks "$app_pid")
    t1=$(now_s)
    result=$(awk -v c="$((c1 - c0))" -v hz="$ticks_per_s" -v t0="$t0" -v t1="$t1" \
        'BEGIN { printf "%.2f", 100 * c / hz / (t1 - t0) }')
}

# Ends a run, with a screenshot of it first when they are asked for.
stop_run() {  # <name>
    if [ -n "$shots" ] && [ "$can_click" = yes ] && command -v import >/dev/null; then
        mkdir -p "$shots"
        import -window root "$shots/cpu_$1.png"
    fi
    stop_pid "$app_pid"
    app_pid=""
    stop_pid "$sim_pid"
    sim_pid=""
}

# One run measured over one span: sets `result`, and `journaled` to the samples in its
# registration journal afterwards (0 without a journal).
#   <record>: yes presses "Регистрация"; <wait> seconds pass before the measurement begins.
measure() {  # <name> <seconds> <record> <wait> <journal> <simulator options...>
    local name=$1 seconds=$2 record=$3 wait_s=$4 journal=$5
    shift 5
    start_run "$name" "$record" "$journal" "$@"
    sleep "$wait_s"
    cpu_span "$seconds"
    stop_run "$name"
    journaled=0
    local file="$run/DBCustom/~registration.ktd"
    # An if, not `[ -f ] &&`: as a function's last command under set -e, a false test would end
    # the whole measurement after its first run without a journal.
    if [ -f "$file" ]; then
        journaled=$((($(stat -c %s "$file") - 120) / 8))
    fi
}

# Sleeps until <seconds> have passed since the moment <start> (from now_s).
sleep_until() {  # <start> <seconds>
    local left
    left=$(awk -v s="$1" -v n="$(now_s)" -v d="$2" 'BEGIN { l = s + d - n; print (l > 0 ? l : 0) }')
    sleep "$left"
}

recording=recording
[ "$can_click" = yes ] || recording="not recording"

echo "Measuring the CPU of ve17 (this takes about $((2 * (slow_s + fast_s) + dead_s + full_at_s + store_s + 50)) s)..."
result=""
slow_options=(--profile press --load-rate 1 --peak 100)
fast_options=(--profile press --fast --load-rate 1 --peak 100)
measure slow "$slow_s" yes "$settle_s" yes "${slow_options[@]}"
slow=$result slow_journaled=$journaled
measure slow-unjournaled "$slow_s" yes "$settle_s" no "${slow_options[@]}"
slow_bare=$result slow_bare_journaled=$journaled
measure fast "$fast_s" yes "$settle_s" yes "${fast_options[@]}"
fast=$result fast_journaled=$journaled
measure fast-unjournaled "$fast_s" yes "$settle_s" no "${fast_options[@]}"
fast_bare=$result fast_bare_journaled=$journaled
# The line hangs up 4 s after the simulator starts; the watchdog needs about a second more.
measure dead "$dead_s" no 4 yes --profile steady --hangup-after 4
dead=$result
# The press rises by 1 kN a second and stays below the scale's top within the run, so that both
# axes keep being widened as the store fills.
start_run store yes yes --profile press --fast --load-rate 1 --peak 120
recorded=$(now_s)
sleep_until "$recorded" "$settle_s"
cpu_span "$store_s"
empty_store=$result
sleep_until "$recorded" "$full_at_s"
cpu_span "$store_s"
full_store=$result
stop_run store

row() {  # <what> <figure> [<target>]
    if [ $# -lt 3 ]; then
        printf '%-72s %7s %%\n' "$1" "$2"
        return
    fi
    local mark
    mark=$(awk -v f="$2" -v t="$3" 'BEGIN { print (f < t ? "ok" : "OVER TARGET") }')
    printf '%-72s %7s %%  < %2s %%  %s\n' "$1" "$2" "$3" "$mark"
}

echo
printf '%-72s %9s  %6s\n' "ve17 CPU, % of one core" "measured" "target"
row "10 frames/s, $recording, ${slow_s} s, journal: $slow_journaled samples" "$slow" 2
row "  the same, journal stopped at Start: $slow_bare_journaled samples" "$slow_bare"
row "full rate (288 frames/s), $recording, ${fast_s} s, journal: $fast_journaled samples" "$fast" 10
row "  the same, journal stopped at Start: $fast_bare_journaled samples" "$fast_bare"
row "dead line (hung up), ${dead_s} s" "$dead" 5
awk -v f="$full_store" -v e="$empty_store" -v a="$full_at_s" -v b="$settle_s" -v s="$store_s" '
    function span(from) {
        return sprintf("%d..%d s after the start, %d..%d samples", from, from + s, from * 288,
                       (from + s) * 288)
    }
    BEGIN {
        printf "full rate, one registration: full store %s; floor (empty store) %s\n",
               span(a), span(b)
        printf "cpu full rate full store: %.2f %%, floor %.2f %%, ratio %.2f\n", f, e,
               (e > 0 ? f / e : 0)
    }'
