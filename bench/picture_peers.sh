#!/usr/bin/env bash
# A slide made ready, as whole processes: spindrel-render picture --fit beside
# ImageMagick's resize and ffmpeg's bilinear scale, each decoding a camera-sized
# JPEG and writing the fitted BMP. Prints the median wall time of each and our
# speed-up over the faster peer; then the in-process benchmark for comparison.
# usage: bench/picture_peers.sh [BUILD_DIR]   (default build; installs ffmpeg if missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${PEER_RUNS:-7}
work=$build/bench/picture_peers
mkdir -p "$work"

command -v ffmpeg >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ffmpeg >/dev/null
cmake --build "$build" --target spindrel-render spindrel_picture_bench >/dev/null
render=$build/tools/spindrel-render

# Photo-like files: smooth light with grain, so they compress like camera pictures.
for size in 6000x4000 4000x3000; do
  [ -f "$work/$size.jpg" ] || /usr/bin/convert -size "$size" gradient:'#402818-#d0e8ff' -attenuate 0.35 \
    +noise Gaussian -quality 90 "$work/$size.jpg"
done

# Median milliseconds of $runs runs of a command.
median_ms() {
  local i t0 t1 times=()
  for ((i = 0; i < runs; i++)); do
    t0=$(date +%s%N); "$@" >/dev/null 2>&1; t1=$(date +%s%N)
    times+=($(((t1 - t0) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

printf '%-10s %-10s %10s %10s %10s %8s\n' picture screen ours convert ffmpeg speed-up
for pair in 6000x4000:3840x2160 4000x3000:1920x1080; do
  picture=${pair%%:*} box=${pair##*:} w=${box%x*} h=${box#*x}
  in=$work/$picture.jpg out=$work/out.bmp
  ours=$(median_ms "$render" picture "$in" "$out" --fit "$box")
  im=$(median_ms /usr/bin/convert "$in" -resize "$box" "$out")
  ff=$(median_ms ffmpeg -y -nostdin -loglevel error -i "$in" \
    -vf "scale=$w:$h:force_original_aspect_ratio=decrease:flags=bilinear" "$out")
  best=$((im < ff ? im : ff))
  printf '%-10s %-10s %8s ms %8s ms %8s ms %7sx\n' "$picture" "$box" "$ours" "$im" "$ff" \
    "$(awk -v a="$best" -v b="$ours" 'BEGIN { printf "%.1f", a / b }')"
done

echo
"$build/bench/spindrel_picture_bench" --benchmark_filter='SlideReady' --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true
