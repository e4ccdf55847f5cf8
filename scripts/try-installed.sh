#!/usr/bin/env bash
# Installs the built package as a lab would (apt), starts the installed recorder from its folder
# under Xvfb against the installed simulator mapped as COM1 in /opt/ve17/VE17.ini, checks that
# its window appears and that status panel 0 reads "Порт COM1 - ОК" (read from outside over
# AT-SPI), closes it in order, then checks that reinstalling and removing keep the operators'
# VE17.ini and test files and that purging removes only what the package made.
#   scripts/try-installed.sh [package]   default: build/ve17_<version>_amd64.deb
# For a throwaway machine such as CI's: it needs root, refuses to run while ve17 is installed,
# and puts back any VE17.ini it finds in /opt/ve17.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deb=$(realpath "${1:-$(ls "$root"/build/ve17_*_amd64.deb)}")
folder=/opt/ve17
ini=$folder/VE17.ini
saved=$(mktemp -d)
sim_pid=""

fail() {
    echo "try-installed: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || fail "needs root (it installs and purges the package)"
if dpkg-query -W -f='${Status}' ve17 2>/dev/null | grep -q 'ok installed'; then
    fail "ve17 is installed on this machine; remove it first"
fi
[ -e "$ini" ] && cp -p "$ini" "$saved/VE17.ini"

cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    dpkg --purge ve17 >/dev/null 2>&1 || true
    rm -f "$ini" "$folder/DBCustom/check.ktd"
    rmdir "$folder/DBCustom" "$folder" 2>/dev/null || true
    if [ -e "$saved/VE17.ini" ]; then
        mkdir -p "$folder"
        cp -p "$saved/VE17.ini" "$ini"
    fi
    rm -rf "$saved"
}
trap cleanup EXIT

expect_shared() {  # <folder>: root:ve17, mode 2775
    [ "$(stat -c '%U:%G %a' "$1")" = "root:ve17 2775" ] ||
        fail "$1 is $(stat -c '%U:%G %a' "$1"), not root:ve17 2775"
}

echo "== install"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
getent group ve17 >/dev/null || fail "no group ve17"
expect_shared "$folder"
expect_shared "$folder/DBCustom"
[ ! -e "$ini" ] || fail "the package brought a VE17.ini"

echo "== the installed program against the simulated unit"
sim_out=$(mktemp)
"$folder/ve17-sim" --ini "$ini" --port COM1 --profile steady --quiet >"$sim_out" &
sim_pid=$!
for _ in $(seq 50); do
    [ -s "$sim_out" ] && break
    sleep 0.1
done
[ -s "$sim_out" ] || fail "the simulator did not map COM1"
rm -f "$sim_out"

# Qt offers its widgets over AT-SPI once asked to; the accessibility bus and its registry start
# on demand inside the private session bus.
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR=$saved dbus-run-session -- \
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
        set -u
        cd /
        "$1/ve17" & app=$!
        status=0
        xdotool search --sync --limit 1 --name "Регистратор ВЕ-17" >/dev/null || status=1
        [ $status -eq 0 ] && echo "window: shown" || echo "window: missing" >&2
        "$2/scripts/wait-for-label.py" "Порт COM1 - ОК" 30 || status=1
        import -window root "$3/installed.png" 2>/dev/null || true
        kill -TERM $app
        wait $app || { echo "the program did not close in order" >&2; status=1; }
        exit $status
    ' try "$folder" "$root" "$root/build" || fail "the installed program failed (screenshot: build/installed.png)"
kill "$sim_pid"
wait "$sim_pid" || true
sim_pid=""

echo "== reinstall, remove and purge keep the operators' files"
printf '[USER]\r\nNAME=check\r\n' >"$ini"
echo check >"$folder/DBCustom/check.ktd"
dpkg -i "$deb" >/dev/null
expect_shared "$folder"
expect_shared "$folder/DBCustom"
dpkg --remove ve17 >/dev/null 2>&1
[ -e "$ini" ] && [ -e "$folder/DBCustom/check.ktd" ] || fail "removing lost the operators' files"
[ ! -e "$folder/ve17" ] || fail "removing left the program"
dpkg --purge ve17 >/dev/null 2>&1
grep -q NAME=check "$ini" && [ -e "$folder/DBCustom/check.ktd" ] ||
    fail "purging lost the operators' files"
getent group ve17 >/dev/null || fail "purging removed the group of files still there"

echo "== purge of an installation the operators left nothing in"
rm -f "$ini" "$folder/DBCustom/check.ktd"
dpkg -i "$deb" >/dev/null
dpkg --purge ve17 >/dev/null 2>&1
[ ! -e "$folder" ] || fail "purging left $folder"
! getent group ve17 >/dev/null || fail "purging left the group ve17"
echo "installed package: ok"
