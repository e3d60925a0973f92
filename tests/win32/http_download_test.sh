#!/usr/bin/env bash
# The web-picture download under Wine against a local fixture server. Usage:
# http_download_test.sh BUILD_WIN32_DIR. Ends with "N passed, M failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:?usage: http_download_test.sh BUILD_WIN32_DIR}" && pwd)
exe=$build/tests/win32/spindrel_http_tests.exe
work=$(mktemp -d)
server=

finish() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT

summary() {
  echo "$1 passed, $2 failed"
  [ "$2" = 0 ]
  exit
}

[ -f "$exe" ] || { echo "no $exe: build the spindrel_http_tests target"; summary 0 1; }

# Random bytes: whatever is served must come back byte for byte.
fixtures=$work/fixtures
mkdir -p "$fixtures"
head -c 300001 /dev/urandom > "$fixtures/photo.jpg"
head -c 777 /dev/urandom > "$fixtures/small.jpg"
head -c 4099 /dev/urandom > "$fixtures/badge.png"
echo '<html><body>not a picture</body></html>' > "$fixtures/page.html"

python3 -u "$here/http_fixture_server.py" "$fixtures" > "$work/port" 2> "$work/server.log" &
server=$!
port=
for _ in $(seq 100); do
  port=$(head -n 1 "$work/port")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "the fixture server did not start:"; cat "$work/server.log"; summary 0 1; }

# WinInet's preconfigured access honours these; the server is on this machine.
unset http_proxy HTTP_PROXY https_proxy HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY
source "$root/scripts/wine-env.sh"
make_wine_prefix
export SPINDREL_HTTP_BASE=http://127.0.0.1:$port/
export SPINDREL_HTTP_FIXTURES="Z:${fixtures//\//\\}"

log=$work/test.log
(cd "$(dirname "$exe")" && timeout 600 wine "$(basename "$exe")" 2>&1) | tr -d '\r' | tee "$log"
rc=${PIPESTATUS[0]}
good=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\.$/\1/p' "$log")
bad=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:$/\1/p' "$log")
if [ -z "$good" ] && [ -z "$bad" ]; then
  echo "spindrel_http_tests.exe ended (exit $rc) without a summary"
  summary 0 1
fi
[ "$rc" = 0 ] || [ -n "$bad" ] || { echo "spindrel_http_tests.exe exited $rc"; bad=1; }
summary "${good:-0}" "${bad:-0}"
