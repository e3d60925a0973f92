#!/usr/bin/env bash
# spindrel-pack as a user runs it: dump, resave and the one-line errors.
# usage: pack_command_line.sh SPINDREL_PACK SCRATCH DEMO_DIR
set -u
pack=$1 scratch=$2 demo=$3
rm -rf "$scratch" && mkdir -p "$scratch"
failures=0
check() { if ! eval "$2"; then echo "FAILED: $1"; failures=$((failures + 1)); fi; }

ssp=$demo/saver/SpindrelDemo.ssp
cp "$ssp" "$scratch/demo.ssp"
check "dump prints JSON with the title" \
  '"$pack" dump "$scratch/demo.ssp" > "$scratch/dump.json" && grep -q "\"Title\": \"Spindrel Demo\"" "$scratch/dump.json"'
check "resave changes no byte of a current file" \
  '"$pack" resave "$scratch/demo.ssp" && cmp -s "$ssp" "$scratch/demo.ssp"'

printf 'not a settings file' > "$scratch/junk.ssp"
cp "$scratch/junk.ssp" "$scratch/junk.orig"
head -c 37 "$ssp" > "$scratch/cut.ssp"
for args in "dump $scratch/junk.ssp" "resave $scratch/junk.ssp" "dump $scratch/cut.ssp" \
            "resave $scratch/cut.ssp" "dump $scratch/absent.ssp" "build $scratch/absent.json $scratch/out" \
            "frobnicate"; do
  # shellcheck disable=SC2086
  "$pack" $args > /dev/null 2> "$scratch/err"
  rc=$?
  check "'$args' exits 1" '[ $rc = 1 ]'
  check "'$args' says why on one line" '[ "$(wc -l < "$scratch/err")" -ge 1 ] && [ -s "$scratch/err" ]'
done
check "a refused resave writes nothing" 'cmp -s "$scratch/junk.ssp" "$scratch/junk.orig"'
check "no output folder was made" '[ ! -e "$scratch/out" ]'

[ $failures = 0 ] && echo "all checks passed"
exit $failures
