#!/usr/bin/env bash
# Builds the whole suite with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-san/ and runs it (the long crash trials excepted). Any report, from a test
# or from a process a test started, stops that process and fails the run; leak
# checking is on, with only the suppressions in scripts/sanitizers.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup-deps.sh
start=$(date +%s)
dir=build-san
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELVARO_SANITIZERS=ON >/dev/null
cmake --build "$dir" --parallel "$(nproc)"

# Every process writes its reports to a file of its own here as well, so that a
# report from a child process whose output a test swallows is never missed.
informes="$PWD/$dir/informes-sanitizers"
rm -rf "$informes"
mkdir -p "$informes"
supp="$PWD/scripts/sanitizers.supp"
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=0:detect_leaks=1:detect_stack_use_after_return=1:log_path=$informes/asan"
export LSAN_OPTIONS="suppressions=$supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$informes/ubsan"
export QT_QPA_PLATFORM=offscreen

status=0
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" -LE largo || status=$?
if compgen -G "$informes/*" >/dev/null; then
  echo "Informes de los sanitizadores:"
  for f in "$informes"/*; do
    echo "=== $f"
    cat "$f"
  done
  status=1
fi
echo "Prueba con sanitizadores: $(( $(date +%s) - start )) s"
exit $status
