#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
# Idempotent: when everything is present it prints nothing and changes nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6 libqt6network6 libqt6printsupport6 libqt6test6
  libqt6opengl6-dev libgl-dev
  qt6-qpa-plugins qt6-translations-l10n
  libsqlite3-dev sqlite3
  fonts-liberation2 fonts-comic-neue
  xvfb xauth
  libxcb1-dev libxcb-xtest0-dev # real key presses and window titles in the tests on X11
  poppler-utils # pdftotext: the tests read the reports' PDF files back
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

echo "Instalando dependencias: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
