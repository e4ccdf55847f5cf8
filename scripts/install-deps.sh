#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the benchmarks, the demo and the package
# checks need (the archive's tests start a PostgreSQL server of their own).
# Safe to run again: packages already present are skipped without touching apt.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6printsupport6 qt6-tools-dev qt6-tools-dev-tools
  qt6-documentation-tools assistant-qt6 qt6-qpa-plugins qt6-translations-l10n
  libqcustomplot-dev libqcustomplot2.1-qt6
  libjpeg62-turbo-dev
  libqt6sql6-sqlite libqt6sql6-psql postgresql
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev clang-format
  fonts-liberation xvfb x11-apps xdotool imagemagick xauth poppler-utils
  dpkg-dev file lintian desktop-file-utils appstream
  dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
