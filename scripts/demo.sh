#!/usr/bin/env bash
# Builds everything (native and win32) and shows the built-in demo saver:
# its settings file and media archive, packed from pictures the build paints.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset win32 >/dev/null
cmake --build --preset win32
saver=build/demo/saver
echo
echo "Demo saver: $saver/SpindrelDemo.ssp ($(stat -c %s "$saver/SpindrelDemo.ssp") bytes)," \
     "$saver/SpindrelDemo.mda ($(stat -c %s "$saver/SpindrelDemo.mda") bytes)"
build/tools/spindrel-pack dump "$saver/SpindrelDemo.ssp"
