#!/usr/bin/env bash
# Builds the program and the benchmarks, runs every Google Benchmark in bench/ with repetitions
# (the median is reported), then measures the real program's CPU against the simulated unit
# (bench/cpu_usage.sh), and prints the figures. Figures only: nothing here passes or fails
# on speed. It ends with the screen's figures, one line each, each beside each of its floors
# measured in the same run ("full render: 0.90 ms, floor 0.80 ms, ratio 1.12"; a floor other
# than the first is named after the figure: "full render / floor each pixel once: ..."), and
# the program's CPU beside its floor, for scripts to read. The series report's time is printed
# beside the protocol's in the same form ("series report: 120 ms, protocol 60 ms, ratio 2.00").
#
# The archive's figures follow, each beside its floor: the text filter over 100,000 entries
# against the same statement run bare through the driver (CPU time), and the import of 10,000
# test files against reading and hashing them alone on as many threads as the import reads with
# (wall-clock time; the speed ratio is the floor's time over the import's), then the import's
# database work alone; and the archive window from its start to the paint that
# first shows rows of 100,000 entries against the same count and first page queried bare and
# painted in a bare table (wall-clock time: the window reads the archive on a thread of its own).
#
# Usage: scripts/bench.sh [build-dir]              (default: build)
# Environment: BENCH_REPETITIONS=5; the CPU measurement's spans: see bench/cpu_usage.sh.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
reps=${BENCH_REPETITIONS:-5}
benches=(frame_bench chart_bench open_bench protocol_bench journal_bench series_bench
    archive_bench archive_window_bench save_bench)

if [ ! -f "$build/CMakeCache.txt" ]; then
    generator=$(command -v ninja >/dev/null && echo Ninja || echo "Unix Makefiles")
    cmake -S "$root" -B "$build" -G "$generator" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --parallel --target ve17 ve17-sim "${benches[@]}"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

for bench in "${benches[@]}"; do
    echo "== $bench ($reps repetitions)"
    # The chart and open benches draw offscreen; the others ignore the setting.
    QT_QPA_PLATFORM=offscreen "$build/bin/$bench" --benchmark_repetitions="$reps" \
        --benchmark_report_aggregates_only=true --benchmark_color=false | tee "$out/$bench.txt"
done

# "<name>[/iterations:N]_median  <time> <unit>  <cpu> <unit>  <iterations>"
#   -> "<name> <time ns> <cpu ns>"
medians() {  # <file>...
    awk 'function ns(v, u) { return v * (u == "ms" ? 1e6 : u == "us" ? 1e3 : 1) }
        $1 ~ /_median$/ {
            sub(/_median$/, "", $1); sub(/\/iterations:[0-9]+$/, "", $1)
            print $1, ns($2, $3), ns($4, $5)
        }' "$@"
}

echo
echo "== Medians (wall-clock time; CPU time, which a busy machine inflates less)"
echo "Frame path: one 20-byte frame assembled and processed on the UI thread. The line brings"
echo "at most 288 frames/s, one every 3472 us; headroom = that interval / the frame's CPU time:"
medians "$out/frame_bench.txt" | awk '{
    printf "  %-26s %8.0f ns  CPU %8.0f ns   headroom %7.0f x\n", $1, $2, $3, 1e9 / 288 / $3
}'
echo "Load chart with 32767 points at 742 x 567, painted offscreen; opening a 32767-sample test"
echo "in the window, from the open dialog's answer to the paint that shows its points:"
medians "$out/chart_bench.txt" "$out/open_bench.txt" | awk '{
    printf "  %-26s %8.3f ms  CPU %8.3f ms\n", $1, $2 / 1e6, $3 / 1e6
}'
medians "$out/frame_bench.txt" | awk '
    $1 == "BM_ProcessOnly" { bare = $3 } $1 == "BM_ProcessThroughRecording" { rec = $3 }
    END { if (bare > 0 && rec > 0)
        printf "  frame through TRecording: %.0f ns, bare %.0f ns, ratio %.2f\n", rec, bare, rec / bare }'
frame_ns=$(medians "$out/frame_bench.txt" | awk '$1 == "BM_AssembleAndProcess/1" { print $3 }')
redraw_ns=$(medians "$out/chart_bench.txt" | awk '$1 == "BM_OneNewSample" { print $3 }')
if [ -n "$frame_ns" ] && [ -n "$redraw_ns" ]; then
    awk -v f="$frame_ns" -v r="$redraw_ns" 'BEGIN {
        printf "A stored sample with a chart redraw of its own (frame + append and redraw): CPU %.3f ms,\n", (f + r) / 1e6
        printf "  at most %.0f frames/s if every frame at full rate were redrawn (the line: 288)\n", 1e9 / (f + r)
    }'
fi

echo "Registration journal, in a temporary folder on the file system of ${TMPDIR:-/tmp}:"
medians "$out/journal_bench.txt" | awk '
    { time[$1] = $2 }
    END {
        store = time["BM_StoreSample"]; paced = time["BM_StoreSampleAndJournal/1"]
        printf "  stored sample: %.2f us alone, %.2f us with its journal record\n", store / 1e3, paced / 1e3
        round = time["BM_SyncRound/iterations:200/real_time"]
        disk = time["BM_DiskSync/iterations:200/real_time"]
        printf "journal append: %.1f us per sample, sync %.3f ms on the UI thread", (paced - store) / 1e3, round / 1e6
        printf " (%.1f ms on disk, in the background)\n", disk / 1e6
    }'

# Wall-clock: the operator waits for the file, its sync to the disk included.
echo "Series report of 12 full tests (read from their files, the page written as a PDF file)"
echo "beside the protocol of one full test as a PDF file:"
medians "$out/series_bench.txt" | awk '
    { ns[$1] = $2 }
    END {
        if (("BM_SeriesReportPdf" in ns) && ("BM_ProtocolPdfOfOneTest" in ns)) {
            printf "series report: %.0f ms, protocol %.0f ms, ratio %.2f\n",
                   ns["BM_SeriesReportPdf"] / 1e6, ns["BM_ProtocolPdfOfOneTest"] / 1e6,
                   ns["BM_SeriesReportPdf"] / ns["BM_ProtocolPdfOfOneTest"]
        }
    }'

echo
echo "== CPU of the real program"
"$root/bench/cpu_usage.sh" "$build" | tee "$out/cpu.txt"

# CPU time medians: a paint is the UI thread's work alone, and a busy machine inflates CPU time
# less than wall-clock time. The floors are bare widgets of the chart's size: the first of each
# figure maps the same points and paints every one with one drawPoints call (for the open: after
# reading them from the same file); "each pixel once" paints the distinct pixels only; "with
# axes, grid and labels" draws what the chart draws, bare, in its axis rectangle; "new pixel onto
# kept picture" draws a new sample's one pixel over the picture the widget keeps.
echo
echo "== The screen's figures, each beside its floors (CPU time medians; the floors in the same run)"
medians "$out/chart_bench.txt" "$out/open_bench.txt" | awk '
    { ns[$1] = $3 }
    function figure(name, bench, floor, format) {
        if ((bench in ns) && (floor in ns)) {
            printf "%s: " format " ms, floor " format " ms, ratio %.2f\n", name, ns[bench] / 1e6,
                   ns[floor] / 1e6, ns[bench] / ns[floor]
        }
    }
    END {
        figure("full render", "BM_FullRender", "BM_FullRenderFloor", "%.2f")
        figure("full render / floor each pixel once", "BM_FullRender",
               "BM_FullRenderFloorEachPixelOnce", "%.3f")
        figure("full render / floor with axes, grid and labels", "BM_FullRender",
               "BM_FullRenderFloorWithAxes", "%.3f")
        figure("full render without points / floor with axes, grid and labels",
               "BM_FullRenderNoPoints", "BM_FullRenderNoPointsFloor", "%.3f")
        if (("BM_FullRenderNoPoints" in ns) && ("BM_FullRender" in ns)) {
            printf "axes, grid and labels (the full render without points): %.3f ms, %.0f %% of the full render\n",
                   ns["BM_FullRenderNoPoints"] / 1e6, 100 * ns["BM_FullRenderNoPoints"] / ns["BM_FullRender"]
        }
        figure("one new sample", "BM_OneNewSample", "BM_OneNewSampleFloor", "%.2f")
        figure("one new sample / floor new pixel onto kept picture", "BM_OneNewSample",
               "BM_OneNewSampleFloorNewPixel", "%.4f")
        figure("open to first paint", "BM_OpenToFirstPaint", "BM_OpenToFirstPaintFloor", "%.2f")
        figure("open to first paint / floor each pixel once", "BM_OpenToFirstPaint",
               "BM_OpenToFirstPaintFloorEachPixelOnce", "%.3f")
        figure("open to first paint / floor with axes, grid and labels", "BM_OpenToFirstPaint",
               "BM_OpenToFirstPaintFloorWithAxes", "%.3f")
    }'
grep '^cpu full rate full store: ' "$out/cpu.txt" || true

echo
echo "== The archive's figures, each beside its floor (the embedded SQLite database and the test"
echo "   files in temporary folders on the file system of ${TMPDIR:-/tmp})"
medians "$out/archive_bench.txt" | awk '
    { wall[$1] = $2; cpu[$1] = $3 }
    END {
        if (("BM_ArchiveFilter" in cpu) && ("BM_ArchiveFilterFloor" in cpu)) {
            printf "archive filter: %.1f ms, floor %.1f ms, ratio %.2f\n", cpu["BM_ArchiveFilter"] / 1e6,
                   cpu["BM_ArchiveFilterFloor"] / 1e6, cpu["BM_ArchiveFilter"] / cpu["BM_ArchiveFilterFloor"]
        }
        import = "BM_Import/iterations:1/real_time"; floor = "BM_ImportFloor/iterations:1/real_time"
        if ((import in wall) && (floor in wall)) {
            printf "archive import: %.0f ms, floor %.0f ms, speed ratio %.2f\n", wall[import] / 1e6,
                   wall[floor] / 1e6, wall[floor] / wall[import]
        }
        insert = "BM_ImportInsert/iterations:1/real_time"
        if (insert in wall) {
            printf "archive import / its database work alone: %.0f ms\n", wall[insert] / 1e6
        }
    }'
medians "$out/archive_window_bench.txt" | awk '
    { wall[$1] = $2 }
    END {
        window = "BM_ArchiveWindowToFirstRows/manual_time"
        floor = "BM_ArchiveWindowToFirstRowsFloor/manual_time"
        if ((window in wall) && (floor in wall)) {
            printf "archive window: %.1f ms, floor %.1f ms, ratio %.2f\n", wall[window] / 1e6,
                   wall[floor] / 1e6, wall[window] / wall[floor]
        }
    }'
medians "$out/save_bench.txt" | awk '
    { wall[$1] = $2 }
    END {
        with = "BM_SaveWithArchive/iterations:100/real_time"; without = "BM_Save/iterations:100/real_time"
        if ((with in wall) && (without in wall)) {
            printf "save with the archive: %.1f ms, without %.1f ms, ratio %.2f\n", wall[with] / 1e6,
                   wall[without] / 1e6, wall[with] / wall[without]
        }
    }'
