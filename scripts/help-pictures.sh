#!/usr/bin/env bash
# Takes the pictures of the operator's manual (assets/help/*.png) from the real window: the
# recorder against the simulated unit under Xvfb, a registration, the lost link, a save and the
# protocol as a PDF file (no printer is installed in the virtual display).
#   scripts/help-pictures.sh [build] [folder]   the pictures go to <folder> (assets/help), the
#                                              whole-screen shots they are cut from to
#                                              <folder>/../../build/help-shots
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
pictures=${2:-$root/assets/help}
shots="$build/help-shots"
mkdir -p "$shots"
rm -f "$build/bin/DBCustom/Test-1."*

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
xvfb-run -a -s "-screen 0 1280x800x24" bash -s "$build/bin" "$shots" <<'SCREEN'
set -u
bin=$1 shots=$2
"$bin/ve17-sim" --ini "$bin/VE17.ini" --port COM1 --profile press --repeat --quiet \
    --silence-after 12 >/dev/null & sim=$!
sleep 1
"$bin/ve17" & app=$!
win=$(xdotool search --sync --limit 1 --name "Регистратор")
sleep 2
eval "$(xdotool getwindowgeometry --shell "$win")"
echo "$X $Y" >"$shots/window-origin"
client_x=$X client_y=$((Y + 18))
click() { xdotool mousemove $((client_x + $1)) $((client_y + $2)) click 1; }
type_into() { click "$1" "$2"; xdotool key ctrl+a; xdotool type --delay 40 "$3"; }
shot() { import -window root "$shots/$1.png"; }

click 932 255                # "Регистрация"
sleep 7; shot recording
sleep 6                      # the unit falls silent: the link is lost, the registration stops
for i in 1 2 3 4 5 6 7 8; do shot "link-lost-$i"; sleep 0.1; done
type_into 934 409 "Test-1"; type_into 934 467 "A-15"; type_into 934 497 "cube"
xdotool key ctrl+s; sleep 2; shot save-dialog
xdotool type --delay 40 "Test-1"; xdotool key Return; sleep 2
xdotool windowfocus --sync "$win"; sleep 0.5   # no window manager gives the focus back
xdotool key ctrl+p; sleep 2; shot pdf-question
xdotool key Return; sleep 2; shot pdf-dialog
xdotool key Return; sleep 3; shot pdf-saved
xdotool key Return; sleep 1
kill -TERM "$app"; wait "$app"; kill "$sim"; wait "$sim" || true
SCREEN

read -r wx wy <"$shots/window-origin"
cx=$wx cy=$((wy + 18))
# The blinking "НЕТ СВЯЗИ !!!" is shown 400 ms of each second: the darkest status panel has it.
lost=$(for f in "$shots"/link-lost-*.png; do
    echo "$(convert "$f" -crop 417x19+$((cx + 450))+$((cy + 645)) +repage -format '%[fx:mean]' info:) $f"
done | sort -n | head -n 1 | cut -d' ' -f2)
# small <picture> <shot> <convert operations...>: cut, then 64 colours to keep the manual small.
small() {
    local picture=$1 shot=$2
    shift 2
    convert "$shot" "$@" -strip -colors 64 "PNG8:$pictures/$picture"
}
small window.png "$shots/recording.png" -crop 1039x682+$wx+$wy +repage -resize 70%
small recording.png "$shots/recording.png" -crop 268x300+$((cx + 764))+$((cy + 8)) +repage
small link_lost.png "$lost" \
    \( -clone 0 -crop 268x300+$((cx + 764))+$((cy + 8)) +repage \) \
    \( -clone 0 -crop 420x19+$((cx + 450))+$((cy + 645)) +repage -bordercolor white -border 0x6 \) \
    -delete 0 -background white -append
small pdf_question.png "$shots/pdf-question.png" -crop 327x86+466+317 +repage
pdftoppm -png -r 60 -singlefile "$build/bin/DBCustom/Test-1.pdf" "$shots/protocol"
small protocol_pdf.png "$shots/protocol.png"
cp "$lost" "$shots/link-lost.png"
ls -l "$pictures"/*.png
