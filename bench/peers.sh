#!/usr/bin/env bash
# Our nearest styles beside a well-known video filter's transitions, one thread,
# 1920x1080, planar RGB: time per frame and the ratio. Installs the peer if missing.
# usage: bench/peers.sh [BUILD_DIR]   (default build; builds spindrel_transition_bench there)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
frames=${PEER_FRAMES:-100}

command -v ffmpeg >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ffmpeg >/dev/null
cmake --build "$build" --target spindrel_transition_bench >/dev/null

# Seconds of user time one ffmpeg run takes (its own -benchmark figure).
ffmpeg_utime() {
  ffmpeg -hide_banner -nostdin -benchmark -threads 1 -filter_threads 1 "$@" -f null - 2>&1 |
    sed -n 's/.*bench: utime=\([0-9.]*\)s.*/\1/p' | tail -n 1
}

sources=(-f lavfi -i "testsrc2=size=1920x1080:rate=25:duration=$((frames / 25 + 1))"
         -f lavfi -i "smptehdbars=size=1920x1080:rate=25:duration=$((frames / 25 + 1))")
# The same two sources, converted and discarded: the cost to take away.
base=$(ffmpeg_utime "${sources[@]}" -filter_complex "[0]format=gbrp[a];[1]format=gbrp,nullsink;[a]null" -frames:v "$frames")

json=$(mktemp)
"$build/bench/spindrel_transition_bench" --benchmark_filter='^Compose/(5|4|118|127|84)/1920x1080$' \
  --benchmark_format=json --benchmark_min_time=0.5 > "$json"
ours() { sed -n "/\"name\": \"Compose\/$1\/1920x1080\"/,/real_time/p" "$json" | sed -n 's/.*"real_time": \([0-9.e+]*\).*/\1/p'; }

printf '%-12s %8s %12s %12s %8s\n' peer style "peer ms" "ours ms" ratio
for pair in wipeleft:5 slideleft:4 fade:118 dissolve:127 circleopen:84; do
  name=${pair%%:*} style=${pair##*:}
  total=$(ffmpeg_utime "${sources[@]}" \
    -filter_complex "[0]format=gbrp[a];[1]format=gbrp[b];[a][b]xfade=transition=$name:duration=$((frames / 25)):offset=0" \
    -frames:v "$frames")
  peer=$(awk -v t="$total" -v b="$base" -v n="$frames" 'BEGIN { printf "%.3f", (t - b) * 1000 / n }')
  mine=$(awk -v us="$(ours "$style")" 'BEGIN { printf "%.3f", us / 1000 }')
  ratio=$(awk -v p="$peer" -v m="$mine" 'BEGIN { printf "%.1f", p / m }')
  printf '%-12s %8s %12s %12s %7sx\n' "$name" "$style" "$peer" "$mine" "$ratio"
done
rm -f "$json"
