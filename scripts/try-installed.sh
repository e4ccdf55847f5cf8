#!/usr/bin/env bash
# Installs the built package as a lab would (apt), over what the older package left: the
# program's folder /opt/ve17 and its DBCustom shared by the group ve17 (dpkg-statoverride), the
# operators' VE17.ini and test files in them, and what an operator could plant there (a link, a
# qt.conf, a program of his own). Checks that the program's folder and everything else the
# package installed is root's alone, that the operators' files moved to /var/lib/ve17 as they
# were, and that the folder there and its DBCustom are the group's. Then starts the installed
# recorder under Xvfb against the installed simulator mapped as COM1 in /var/lib/ve17/VE17.ini,
# checks that its window appears and that status panel 0 reads "Порт COM1 - ОК" (read from
# outside over AT-SPI), closes it in order, and checks that reinstalling and removing keep the
# operators' VE17.ini and test files and that purging removes only what the package made.
#   scripts/try-installed.sh [package]   default: build/ve17_<version>_amd64.deb
# For a throwaway machine such as CI's: it needs root, refuses to run while ve17 is installed or
# either folder exists, and removes both folders when it ends.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deb=$(realpath "${1:-$(ls "$root"/build/ve17_*_amd64.deb)}")
folder=/opt/ve17
state=/var/lib/ve17
ini=$state/VE17.ini
sim_pid=""
made_group=""

fail() {
    echo "try-installed: $*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || fail "needs root (it installs and purges the package)"
if dpkg-query -W -f='${Status}' ve17 2>/dev/null | grep -q 'ok installed'; then
    fail "ve17 is installed on this machine; remove it first"
fi
for dir in "$folder" "$state"; do
    [ ! -e "$dir" ] || fail "$dir exists (left by an earlier installation?); move it away first"
done
getent group ve17 >/dev/null || made_group=yes
scratch=$(mktemp -d)

cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    dpkg --purge ve17 >/dev/null 2>&1 || true
    for dir in "$folder/DBCustom" "$folder" "$state/DBCustom" "$state"; do
        if dpkg-statoverride --list "$dir" >/dev/null; then
            dpkg-statoverride --remove "$dir"
        fi
    done
    # Neither folder was there when the script started: what is in them now is its own.
    rm -rf "$folder" "$state"
    if [ -n "$made_group" ] && getent group ve17 >/dev/null; then
        delgroup --system --quiet ve17 || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

expect_mode() {  # <path> <owner:group mode>
    [ "$(stat -c '%U:%G %a' "$1")" = "$2" ] || fail "$1 is $(stat -c '%U:%G %a' "$1"), not $2"
}

expect_text() {  # <file> <text>: a regular file holding that text
    [ -f "$1" ] && [ ! -L "$1" ] && [ "$(cat "$1")" = "$2" ] || fail "$1 does not hold \"$2\""
}

# Every path under the program's folder and every other path the package installed, but the
# state folder and its DBCustom, is root's and writable by nobody else.
expect_root_only() {
    local others
    others=$(find "$folder" \( ! -user root -o \( ! -type l -perm /022 \) \) -print)
    [ -z "$others" ] || fail "in the program's folder, not root's alone: $others"
    while IFS= read -r path; do
        [ "$path" = "$state" ] || [ "$path" = "$state/DBCustom" ] && continue
        others=$(find "$path" -maxdepth 0 \( ! -user root -o \( ! -type l -perm /022 \) \) -print)
        [ -z "$others" ] || fail "installed by the package, not root's alone: $others"
    done < <(dpkg-query -L ve17)
}

echo "== install over the older layout"
[ -n "$made_group" ] && addgroup --system --quiet ve17
mkdir -p "$folder/DBCustom"
for dir in "$folder" "$folder/DBCustom"; do
    dpkg-statoverride --update --add root ve17 2775 "$dir"
done
old=$folder/DBCustom
printf '[USER]\r\nNAME=old\r\n' >"$folder/VE17.ini"
echo saved >"$old/Образец 1.ktd"
echo newline >"$old/two"$'\n'"lines.ktd"
echo journal >"$old/~registration-2026-12-10_09-30-00.ktd"
echo hidden >"$old/.hidden"
echo target >"$scratch/target"
chmod 0600 "$scratch/target"
ln -s "$scratch/target" "$old/planted.ktd"
chown -h nobody "$old/planted.ktd"
# Planted by an operator: his own program and a qt.conf that would redirect Qt's plugins.
printf '#!/bin/sh\necho planted\n' >"$folder/ve17"
printf '[Paths]\nPlugins=%s\n' "$scratch" >"$folder/qt.conf"
chown nobody "$folder/ve17" "$folder/qt.conf"
chmod 0775 "$folder/ve17"
# A test file the new folder already has, under the same name as an old one.
mkdir -p "$state/DBCustom"
echo new >"$state/DBCustom/both.ktd"
echo old >"$old/both.ktd"
target_before=$(stat -c '%U:%G %a %s %Y' "$scratch/target")

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$scratch/install.log" 2>&1 ||
    { cat "$scratch/install.log" >&2; fail "installing failed"; }
getent group ve17 >/dev/null || fail "no group ve17"
expect_mode "$folder" "root:root 755"
for dir in "$folder" "$folder/DBCustom"; do
    ! dpkg-statoverride --list "$dir" >/dev/null || fail "the older layout's $dir is still overridden"
done
[ ! -e "$folder/DBCustom" ] || fail "$folder/DBCustom is still there"
dpkg --verify ve17 || fail "the package's files are not the package's"
expect_root_only
expect_mode "$state" "root:ve17 2775"
expect_mode "$state/DBCustom" "root:ve17 2775"

[ -f "$ini" ] && [ ! -L "$ini" ] && grep -q NAME=old "$ini" || fail "$ini did not move"
expect_text "$state/DBCustom/Образец 1.ktd" saved
expect_text "$state/DBCustom/two"$'\n'"lines.ktd" newline
expect_text "$state/DBCustom/~registration-2026-12-10_09-30-00.ktd" journal
expect_text "$state/DBCustom/.hidden" hidden
[ -L "$state/DBCustom/planted.ktd" ] &&
    [ "$(readlink "$state/DBCustom/planted.ktd")" = "$scratch/target" ] ||
    fail "the planted link did not move as a link"
expect_text "$scratch/target" target
[ "$(stat -c '%U:%G %a %s %Y' "$scratch/target")" = "$target_before" ] ||
    fail "the planted link's target changed"
expect_text "$state/DBCustom/both.ktd" new
expect_text "$state/DBCustom/both.ktd.from-opt-1" old
grep -q "both.ktd.from-opt-1" "$scratch/install.log" || fail "no word of both.ktd's new name"
[ -f "$state/qt.conf" ] || fail "the planted qt.conf was lost"
grep -q "$folder/qt.conf" "$scratch/install.log" || fail "no word of the planted qt.conf"
rm -f "$state/qt.conf"

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
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR=$scratch dbus-run-session -- \
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

echo "== the installed archive program"
archive_folder=$(mktemp -d "$scratch/archive-XXXXXX")
"$folder/ve17-archive" list --folder "$archive_folder" || fail "ve17-archive list failed"
"$folder/ve17-archive" verify --folder "$archive_folder" || fail "ve17-archive verify failed"
[ -f "$archive_folder/VE17-archive.sqlite" ] || fail "ve17-archive made no archive"

echo "== reinstall, remove and purge keep the operators' files"
printf '[USER]\r\nNAME=check\r\n' >"$ini"
echo check >"$state/DBCustom/check.ktd"
dpkg -i "$deb" >/dev/null
expect_mode "$folder" "root:root 755"
expect_root_only
expect_mode "$state" "root:ve17 2775"
expect_mode "$state/DBCustom" "root:ve17 2775"
dpkg --remove ve17 >/dev/null 2>&1
[ -e "$ini" ] && [ -e "$state/DBCustom/check.ktd" ] || fail "removing lost the operators' files"
[ ! -e "$folder" ] || fail "removing left the program's folder"
dpkg --purge ve17 >/dev/null 2>&1
grep -q NAME=check "$ini" && [ -e "$state/DBCustom/check.ktd" ] ||
    fail "purging lost the operators' files"
getent group ve17 >/dev/null || fail "purging removed the group of files still there"

echo "== purge of an installation the operators left nothing in"
rm -rf "$state"
dpkg -i "$deb" >/dev/null
dpkg --purge ve17 >/dev/null 2>&1
[ ! -e "$state" ] || fail "purging left $state"
[ ! -e "$folder" ] || fail "purging left $folder"
! dpkg-statoverride --list "$state/*" >/dev/null || fail "purging left the state folder's overrides"
! getent group ve17 >/dev/null || fail "purging left the group ve17"
echo "installed package: ok"
