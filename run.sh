#!/usr/bin/env bash
# Installs what is missing, builds, makes build/Datos with the eight empty tables
# when it is not there yet, and starts the program.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"
if [ ! -e build/Datos ]; then
  ./build/quelvaro-datos build/Datos
fi
if [ -x build/quelvaro ]; then
  exec ./build/quelvaro "$@"
else
  echo "El programa aún no está construido: build/quelvaro no existe todavía."
fi
