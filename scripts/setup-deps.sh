#!/usr/bin/env bash
# Installs every Debian package the build, the program, the package and the tests need,
# and generates the locales the tests run under. Idempotent: when everything is present
# it prints nothing and changes nothing.
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
  dpkg-dev                      # dpkg-shlibdeps: the Debian package's library dependencies
  desktop-file-utils appstream  # the tests validate the menu entry and the AppStream file
  locales                       # the tests run some programs under es_ES.UTF-8 and en_US.UTF-8
  poppler-utils # pdftotext: the tests read the reports' PDF files back
)
locales=(es_ES.UTF-8 en_US.UTF-8)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Instalando dependencias: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# locale -a writes "es_ES.utf8" for "es_ES.UTF-8".
missing_locales=()
for l in "${locales[@]}"; do
  if ! locale -a 2>/dev/null | grep -qix "${l%%.*}.utf8"; then
    missing_locales+=("$l")
  fi
done
if [ ${#missing_locales[@]} -gt 0 ]; then
  echo "Generando locales: ${missing_locales[*]}"
  for l in "${missing_locales[@]}"; do
    if grep -q "^# *$l UTF-8" /etc/locale.gen; then
      $SUDO sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
    elif ! grep -q "^$l UTF-8" /etc/locale.gen; then
      echo "$l UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
    fi
  done
  $SUDO locale-gen >/dev/null
fi
