#!/usr/bin/env bash
# Validates the built Debian package the way a distribution would: its desktop entry
# (desktop-file-validate), its software-centre data (appstreamcli) and the package as a whole
# (lintian, whose kept findings are explained in packaging/lintian-overrides).
#   scripts/check-package.sh [package]   default: build/ve17_<version>_amd64.deb
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deb=${1:-$(ls "$root"/build/ve17_*_amd64.deb)}
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT

dpkg-deb -x "$deb" "$unpacked"
echo "desktop-file-validate:"
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
echo "appstreamcli validate:"
appstreamcli validate --no-net --pedantic "$unpacked"/usr/share/metainfo/*.metainfo.xml
echo "lintian:"
# Errors and warnings fail; lintian itself warns that it runs as root, which CI does.
lintian --fail-on error,warning "$deb" 2> >(grep -v 'running with root privileges' >&2)
echo "$deb: valid"
