#!/usr/bin/env bash
# How much CPU the show takes while a picture just stays on screen: packs a saver of
# three 1920 x 1080 pictures with a long interval (20 s, or longer for longer spans),
# runs its show under Wine on a private Xvfb, waits for the first transition to end,
# and measures the CPU time (user + system, from /proc) of the saver process, its
# wineserver, the prefix's other Wine processes and the Xvfb over the next 10 s.
# A benchmark, not a test: it prints percent of one core and builds nothing.
#
#   bench/show_idle.sh [WIN32_BUILD [NATIVE_BUILD]]     # defaults: build/win32, build
#
# SPINDREL_IDLE_SECONDS changes the measured span.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
win32=${1:-build/win32} native=${2:-build}
seconds=${SPINDREL_IDLE_SECONDS:-10}
settle=4  # the first transition takes about a second after the window appears
interval=$((seconds + settle + 6 > 20 ? seconds + settle + 6 : 20))  # no second transition while measuring
for need in "$win32/saver/Spindrel.scr" "$native/tools/spindrel-pack"; do
  [ -e "$need" ] || { echo "show_idle: $need is missing; build it first" >&2; exit 1; }
done

work=$native/bench/show_idle
rm -rf "$work" && mkdir -p "$work/saver"
convert -size 1920x1080 gradient:'#1c2a5a-#e0905a' "$work/first.jpg"
convert -size 1920x1080 radial-gradient:'#f0e0a0-#3a1830' "$work/second.jpg"
convert -size 1920x1080 -seed 7 plasma:'#205060-#80c0b0' "$work/third.jpg"
cat > "$work/IdleShow.json" <<EOF
{
  "Name": "IdleShow",
  "Title": "Idle show",
  "CaptionLocation": 5,
  "CaptionFont": { "Name": "Tahoma", "Color": 16777215, "Charset": 0, "Size": 18, "Style": 1 },
  "ImageInterval": $interval,
  "ImageEnlargeFit": true,
  "TransitionStyles": [118],
  "Slides": [
    { "Source": "first.jpg", "Name": "First" },
    { "Source": "second.jpg", "Name": "Second" },
    { "Source": "third.jpg", "Name": "Third" }
  ]
}
EOF
"$native/tools/spindrel-pack" build "$work/IdleShow.json" "$work/saver" >/dev/null
cp "$win32/saver/Spindrel.scr" "$work/saver/IdleShow.scr"

source scripts/wine-env.sh
make_wine_prefix

n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=:$n
show_pid=''
cleanup() {
  [ -z "$show_pid" ] || kill "$show_pid" 2>/dev/null || true
  timeout 20 wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

(cd "$work/saver" && exec timeout 600 wine IdleShow.scr /s >/dev/null 2>&1) &
show_pid=$!
for _ in $(seq 300); do
  xdotool search --onlyvisible --classname 'idleshow.scr' >/dev/null 2>&1 && break
  sleep 0.1
done
xdotool search --onlyvisible --classname 'idleshow.scr' >/dev/null 2>&1 \
  || { echo "show_idle: no show window after 30 s" >&2; exit 1; }
sleep "$settle"

# The processes by what they run: the saver by its command line, the prefix's other
# processes (wineserver, explorer, services) by the WINEPREFIX they were started with.
cmdline() { { tr '\0' ' ' < "/proc/$1/cmdline"; } 2>/dev/null; }
in_prefix() { { tr '\0' '\n' < "/proc/$1/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; }
saver='' server='' services=''
for pid in $(pgrep -u "$(id -u)" .); do
  [ "$pid" != $$ ] && in_prefix "$pid" || continue
  case "$(cmdline "$pid")" in
    'IdleShow.scr /s'*) saver=$pid ;;
    *wineserver*) server="$server $pid" ;;
    *.exe*) services="$services $pid" ;;
  esac
done
[ -n "$saver" ] || { echo "show_idle: no saver process" >&2; exit 1; }

# utime + stime in clock ticks, summed over the given processes; fields are counted after
# the command name, which may hold spaces. A process that has ended counts 0.
cpu_ticks() {
  local pid sum=0 t
  for pid in "$@"; do
    t=$({ sed 's/^.*) //' "/proc/$pid/stat"; } 2>/dev/null | awk '{ print $12 + $13 }')
    sum=$((sum + ${t:-0}))
  done
  echo "$sum"
}

names=(saver wineserver 'Wine services' Xvfb)
groups=("$saver" "$server" "$services" "$xvfb_pid")
before=() after=()
for i in "${!groups[@]}"; do before[$i]=$(cpu_ticks ${groups[$i]}); done
start=$(date +%s%N)
sleep "$seconds"
for i in "${!groups[@]}"; do after[$i]=$(cpu_ticks ${groups[$i]}); done
elapsed_ns=$(($(date +%s%N) - start))
kill -0 "$saver" 2>/dev/null || { echo "show_idle: the show ended while being measured" >&2; exit 1; }

hz=$(getconf CLK_TCK)
echo "CPU while a slide holds, over $(awk -v ns="$elapsed_ns" 'BEGIN { printf "%.1f", ns / 1e9 }') s" \
     "($((1000 / hz)) ms ticks), percent of one core:"
for i in "${!groups[@]}"; do
  awk -v name="${names[$i]}" -v t=$((after[$i] - before[$i])) -v hz="$hz" -v ns="$elapsed_ns" \
    'BEGIN { printf "  %-14s %5.1f %%\n", name, 100 * t / hz / (ns / 1e9) }'
done
