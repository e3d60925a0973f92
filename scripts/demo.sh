#!/usr/bin/env bash
# Builds everything (native and win32), packs the built-in demo saver from pictures
# the build paints, and runs its show under Wine: on your display when DISPLAY is
# set, otherwise on a private Xvfb. Screenshots of the show go to build/demo/screenshots.
#
#   bash scripts/demo.sh                          # set up, build, show
#   bash scripts/demo.sh --show [NATIVE [WIN32]]  # show again from existing builds (build, build/win32)
#
# SPINDREL_DEMO_SECONDS sets how long the show runs (default: 40 s on your display,
# just long enough for the screenshots on Xvfb); a key or a mouse move ends it sooner.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

native=build win32=build/win32
if [ "${1:-}" = --show ]; then
  native=${2:-build} win32=${3:-build/win32}
else
  bash scripts/setup.sh
  cmake --preset native >/dev/null
  cmake --build --preset native
  cmake --preset win32 >/dev/null
  cmake --build --preset win32
fi

saver=$native/demo/saver
echo
echo "Demo saver: $saver/SpindrelDemo.ssp ($(stat -c %s "$saver/SpindrelDemo.ssp") bytes)," \
     "$saver/SpindrelDemo.mda ($(stat -c %s "$saver/SpindrelDemo.mda") bytes)"
"$native/tools/spindrel-pack" dump "$saver/SpindrelDemo.ssp"

# The show: the saver program under the demo's base name, beside its two files.
run=$native/demo/run shots=$native/demo/screenshots
rm -rf "$run" "$shots" && mkdir -p "$run" "$shots"
cp "$saver/SpindrelDemo.ssp" "$saver/SpindrelDemo.mda" "$run/"
cp "$win32/saver/Spindrel.scr" "$run/SpindrelDemo.scr"
source scripts/wine-env.sh
make_wine_prefix

xvfb_pid='' show_pid='' saver_settings=''
cleanup() {
  [ -z "$show_pid" ] || kill "$show_pid" 2>/dev/null || true
  timeout 20 wineserver -k 2>/dev/null || true
  # The show switches screen saving off through the X server, which outlives it.
  if [ -n "$xvfb_pid" ]; then
    xset s default 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  elif [ -n "$saver_settings" ]; then
    xset s $saver_settings 2>/dev/null || true
  fi
  rm -f "$shots"/*.ppm
}
trap cleanup EXIT

start_private_display() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$! DISPLAY=:$n
  export DISPLAY
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "demo: Xvfb on $DISPLAY did not start" >&2
  exit 1
}

show_running() { kill -0 "$show_pid" 2>/dev/null; }
now_ms() { date +%s%3N; }
sleep_until_ms() {
  local left=$(($1 - $(now_ms)))
  [ "$left" -le 0 ] || sleep "$((left / 1000)).$(printf '%03d' $((left % 1000)))"
}

if [ -n "${DISPLAY:-}" ]; then
  saver_settings=$(xset q | awk '/timeout:/ { print $2, $4 }')
  seconds=${SPINDREL_DEMO_SECONDS:-40}
  echo "Showing the demo saver on your display $DISPLAY for $seconds s (a key or a mouse move ends it)"
else
  start_private_display
  seconds=${SPINDREL_DEMO_SECONDS:-0}
  echo "Showing the demo saver on a private Xvfb ($DISPLAY, 1920 x 1080)"
fi


(cd "$run" && exec timeout 600 wine SpindrelDemo.scr /s >/dev/null 2>&1) &
show_pid=$!
for _ in $(seq 300); do
  xdotool search --onlyvisible --classname 'spindreldemo.scr' >/dev/null 2>&1 && break
  show_running || { echo "demo: the show ended before its window appeared" >&2; exit 1; }
  sleep 0.1
done
xdotool search --onlyvisible --classname 'spindreldemo.scr' >/dev/null 2>&1 \
  || { echo "demo: no show window after 30 s" >&2; exit 1; }
start=$(now_ms)

# Moments after the window appears, in ms: a transition takes about 0.75 s and each slide
# then holds for 5 s, so slide k starts arriving about 5.75 k s in.
moments=(
  "450 first-transition"
  "2500 welcome"
  "6150 second-transition"
  "8500 dawn"
  "11950 third-transition"
  "14500 tide"
  "20000 meadow"
  "25500 shapes"
)
taken=()
for moment in "${moments[@]}"; do
  sleep_until_ms $((start + ${moment%% *}))
  show_running || break
  file=$shots/$(printf '%02d' $((${#taken[@]} + 1)))-${moment#* }
  import -window root "$file.ppm" && taken+=("$file")
done
while show_running && [ "$(now_ms)" -lt $((start + seconds * 1000)) ]; do sleep 0.2; done

# A key ends the show; on a desktop whose focus lies elsewhere, a mouse move does (the show
# has parked the pointer in the bottom-right corner, so it moves up and left).
ended_by=''
end_show() {
  show_running || return 0
  "$@"
  for _ in $(seq 30); do show_running || { ended_by=$2; return 0; }; sleep 0.1; done
}
end_show xdotool key space
end_show xdotool mousemove_relative -- -40 -40 mousemove_relative -- -40 -40
if show_running; then
  echo "demo: the show did not end on a key press or a mouse move" >&2
  exit 1
fi
wait "$show_pid" 2>/dev/null || true
show_pid=''

for file in "${taken[@]}"; do convert "$file.ppm" "$file.png" && rm -f "$file.ppm"; done
echo
case $ended_by in
  key) how='on a key press' ;;
  mousemove_relative) how='on a mouse move' ;;
  *) how='before the script ended it (a key or a mouse move of yours)' ;;
esac
echo "The show ran and ended $how; ${#taken[@]} screenshots in $shots:"
ls "$shots"
