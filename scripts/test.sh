#!/usr/bin/env bash
# The whole test suite: the native tests (plain and with sanitizers), the same
# portable tests cross-built for Windows and run under Wine, the Windows-only
# checks, the static-linking check, and a short fuzz run. Ends with "N passed, N failed".
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1
jobs=$(nproc)
fuzz_seconds=${SPINDREL_FUZZ_SECONDS:-20}
passed=0 failed=0

note() { printf '\n=== %s\n' "$*"; }
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAILED: $*"; }

# Adds the counts of a ctest run from its summary line.
run_ctest() {
  local dir=$1 log
  log=$(mktemp)
  (cd "$dir" && ctest --output-on-failure -j "$jobs" 2>&1) | tee "$log"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    fail "ctest in $dir ran no test"
  else
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad)) failed=$((failed + bad))
  fi
  rm -f "$log"
}

# Runs one GoogleTest program under Wine and adds its counts.
run_wine_gtest() {
  local exe=$1 log rc
  log=$(mktemp)
  (cd "$(dirname "$exe")" && timeout 600 wine "$(basename "$exe")" 2>&1) | tr -d '\r' | tee "$log"
  rc=${PIPESTATUS[0]}
  local good bad
  good=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\.$/\1/p' "$log")
  bad=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:$/\1/p' "$log")
  if [ -z "$good" ] && [ -z "$bad" ]; then
    fail "$exe ended (exit $rc) without a summary"
  else
    passed=$((passed + ${good:-0})) failed=$((failed + ${bad:-0}))
    [ "$rc" = 0 ] || [ -n "$bad" ] || fail "$exe exited $rc"
  fi
  rm -f "$log"
}

# Runs a scenario script whose last line is "N passed, M failed" and adds its counts.
run_counted_script() {
  local log rc line
  log=$(mktemp)
  timeout 900 "$@" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  line=$(tail -n 1 "$log" | tr -d '\r')
  if [[ "$line" =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
    passed=$((passed + BASH_REMATCH[1])) failed=$((failed + BASH_REMATCH[2]))
    [ "$rc" = 0 ] || [ "${BASH_REMATCH[2]}" != 0 ] || fail "$* exited $rc"
  else
    fail "$* ended (exit $rc) without a summary"
  fi
  rm -f "$log"
}

note "native build and tests"
if cmake --preset native >/dev/null && cmake --build --preset native; then
  run_ctest build
else
  fail "native build"
fi

note "native tests with AddressSanitizer and UBSan"
if cmake --preset native-asan >/dev/null && cmake --build --preset native-asan; then
  run_ctest build/asan
else
  fail "sanitizer build"
fi

note "win32 build"
if cmake --preset win32 >/dev/null && cmake --build --preset win32; then
  allowed='^(KERNEL32|msvcrt|USER32|GDI32|ADVAPI32|SHELL32|ole32|OLEAUT32|COMCTL32|comdlg32|WINMM|WININET|SHLWAPI|VERSION|WS2_32)\.dll$'
  while IFS= read -r exe; do
    foreign=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | grep -viE "$allowed")
    if [ -z "$foreign" ]; then pass; else fail "$exe needs $foreign"; fi
  done < <(find build/win32 -name '*.exe' -not -path '*/CMakeFiles/*')

  note "portable and Windows tests under Wine"
  source scripts/wine-env.sh
  make_wine_prefix
  run_wine_gtest build/win32/tests/spindrel_tests.exe
  run_wine_gtest build/win32/tests/win32/spindrel_win32_tests.exe
  # The Windows build of the tool reads the demo saver exactly as the native one does.
  if diff <(timeout 60 wine build/win32/tools/spindrel-pack.exe dump build/demo/saver/SpindrelDemo.ssp | tr -d '\r') \
          <(build/tools/spindrel-pack dump build/demo/saver/SpindrelDemo.ssp); then
    pass
  else
    fail "spindrel-pack.exe dump differs from the native dump"
  fi
  timeout 60 wineserver -k 2>/dev/null || true

  note "web picture downloads under Wine"
  run_counted_script bash tests/win32/http_download_test.sh build/win32
  note "the show under Wine and Xvfb"
  run_counted_script bash tests/win32/show_test.sh build/win32 build
else
  fail "win32 build"
fi

note "fuzzing every reader for ${fuzz_seconds} s each"
if cmake --preset fuzz >/dev/null && cmake --build --preset fuzz --target fuzzers; then
  mkdir -p build/fuzz/corpus/settings_load_fuzz
  cp build/demo/saver/SpindrelDemo.ssp build/fuzz/corpus/settings_load_fuzz/
  for fuzzer in build/fuzz/tests/fuzz/*_fuzz; do
    name=$(basename "$fuzzer")
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    if "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" > "build/fuzz/$name.log" 2>&1; then
      pass
      echo "$name: $(sed -n 's/stat::number_of_executed_units: *//p' "build/fuzz/$name.log") inputs, no fault"
    else
      tail -n 40 "build/fuzz/$name.log"
      fail "$name found a fault (build/fuzz/$name.log)"
    fi
  done
else
  fail "fuzz build"
fi

echo
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
