#!/usr/bin/env bash
# End-to-end checks of the show program under Wine on a private Xvfb: the window,
# the first transition, the caption, the slide timing, the input rules, web
# pictures, and the runs that must end without a window. Each scenario is one
# check; the last line is "N passed, M failed".
#   tests/win32/show_test.sh WIN32_BUILD_DIR NATIVE_BUILD_DIR
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
win32=$(cd "${1:?WIN32_BUILD_DIR}" && pwd) || exit 2
native=$(cd "${2:?NATIVE_BUILD_DIR}" && pwd) || exit 2
program=$win32/saver/Spindrel.scr
driver=$win32/tests/win32/driver/spindrel-driver.exe
pack=$native/tools/spindrel-pack
work=$win32/show-test
fixtures=$work/fixtures
log=$work/wine.log

width=1920 height=1080
tolerance=48         # JPEG pictures of one colour decode within this of it
band=60              # the caption band of a 20-point font lies inside the top 60 rows
below=$((band + 40)) # where the picture is measured, clear of the caption

passed=0 failed=0
xvfb_pid='' server_pid='' show_pid='' wine_ready='' why='' details=''

for needed in "$program" "$driver" "$pack"; do
  if [ ! -e "$needed" ]; then
    echo "FAIL: set-up — $needed is missing"
    echo "0 passed, 1 failed"
    exit 1
  fi
done
rm -rf "$work" && mkdir -p "$fixtures"

# --- the machinery: X server, Wine, the driver, the show process -------------

# Xvfb on the first display from :90 that it can take. Other runs may pick
# displays at the same time: the display is ours only once its lock file names our server.
start_xvfb() {
  local n
  for n in $(seq 90 199); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "${width}x${height}x24" -nolisten tcp >>"$log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 250); do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      if [ "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" = "$xvfb_pid" ] && DISPLAY=:$n xset q >/dev/null 2>&1; then
        export DISPLAY=:$n
        return 0
      fi
      sleep 0.02
    done
    kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=''
  done
  echo "no X display could be started"
  return 1
}

cleanup() {
  end_show
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  [ -n "$wine_ready" ] && timeout 30 wineserver -k 2>/dev/null
  if [ -n "$xvfb_pid" ]; then
    xset s default 2>/dev/null  # the show's switch maps to the X server's own saver
    kill "$xvfb_pid" 2>/dev/null
  fi
}
trap cleanup EXIT

# Runs the driver; its output without carriage returns, its exit code kept.
drv() {
  local out rc
  out=$(timeout 30 wine "$driver" "$@" 2>>"$log")
  rc=$?
  printf '%s\n' "${out//$'\r'/}"
  return $rc
}

# NAME=value from a driver line.
field() { sed -n "s/.* $1=\([^ ]*\).*/\1/p" <<<" $2"; }

windows_path() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

start_show() {  # BASE [ARGUMENT]
  (cd "$fixtures" && exec timeout 90 wine "$1.scr" "${2:-/s}") >>"$log" 2>&1 &
  show_pid=$!
}

show_running() { [ -n "$show_pid" ] && kill -0 "$show_pid" 2>/dev/null; }

end_show() {
  if show_running; then
    kill "$show_pid" 2>/dev/null
    wait "$show_pid" 2>/dev/null
  fi
  show_pid=''
}

# True when the show process ends within MS.
show_ends_within() {
  local deadline=$((SECONDS * 1000 + $1))
  while show_running; do
    [ $((SECONDS * 1000)) -lt "$deadline" ] || return 1
    sleep 0.02
  done
  wait "$show_pid" 2>/dev/null
  show_pid=''
}

# True when the show window is still there after MS (the input did not end it).
still_showing() {
  ! drv gone TFormMain "$1" >/dev/null && show_running
}

# True when the show window goes within MS and its process ends soon after.
closes_within() {
  drv gone TFormMain "$1" >/dev/null && show_ends_within 3000
}

# The visible top-level windows, for a failure that expected another.
visible_windows() {
  drv windows | sed -n 's/^class=\([^ ]*\) .*visible=1 .* rect=\([^ ]*\) .*/\1 at \2/p' | tr '\n' ' '
}

# Records why the scenario failed and keeps the screen as it was then.
failed() {
  why=$1
  drv shot "$work/$scenario.bmp" >/dev/null
  return 1
}

# Runs one scenario in this shell (it starts and tracks processes); a scenario
# leaves what it measured in details, or why it failed in why.
check() {  # NAME FUNCTION
  scenario=$2 why='' details=''
  if "$2" && [ -z "$why" ]; then
    passed=$((passed + 1))
    echo "PASS: $1${details:+ ($details)}"
  else
    failed=$((failed + 1))
    [ -e "$work/$2.bmp" ] || drv shot "$work/$2.bmp" >/dev/null
    echo "FAIL: $1 — ${why:-no reason given}; screen in $work/$2.bmp"
  fi
  end_show
}

# --- fixtures --------------------------------------------------------------

picture() {  # FILE COLOUR
  convert -size "${width}x${height}" "xc:$2" -quality 95 "$fixtures/$1"
}

# A settings file and archive from a manifest on stdin, and the program beside them.
fixture() {  # BASE
  cat >"$fixtures/$1.json"
  "$pack" build "$fixtures/$1.json" "$fixtures" >>"$log" 2>&1 || return 1
  cp "$program" "$fixtures/$1.scr"
}

# Settings every fixture shares: a grey solid background the pictures differ from.
common='"ImageEnlargeFit": true, "BackgroundFillKind": 0, "BackgroundSolidColor": 4210752'

make_fixtures() {
  picture red.jpg '#ff0000' && picture blue.jpg '#0000ff' && picture green.jpg '#00ff00' || return 1
  # Yellow (0x00FFFF as a Windows colour) captions, wipes from the left then the right.
  fixture Main <<EOF || return 1
{ "Name": "Main", $common, "ImageInterval": 2,
  "CaptionLocation": 1, "CaptionFont": { "Name": "Tahoma", "Color": 65535, "Charset": 0, "Size": 20, "Style": 1 },
  "TransitionOrder": 0, "TransitionStyles": [5, 6],
  "Slides": [ { "Source": "red.jpg", "Name": "Red slide" }, { "Source": "blue.jpg", "Name": "Blue slide" } ] }
EOF
  local base flags
  for base in Still NoKeys NoMouse; do
    case $base in
      Still) flags='' ;;
      NoKeys) flags='"DisableKeyPress": true,' ;;
      NoMouse) flags='"DisableMouse": true,' ;;
    esac
    fixture "$base" <<EOF || return 1
{ "Name": "$base", $common, $flags "ImageInterval": 30, "TransitionStyles": [],
  "Slides": [ { "Source": "red.jpg", "Name": "Red" } ] }
EOF
  done
  mkdir -p "$fixtures/bare" && cp "$program" "$fixtures/bare/Lone.scr"
}

# --- scenarios -------------------------------------------------------------

# Waits for the show window and for the red picture over the whole screen.
red_picture_shown() {
  drv window TFormMain 10000 >/dev/null || { failed "no show window within 10 s (visible: $(visible_windows))"; return; }
  drv await FF0000 "$tolerance" 0 "$below" "$width" "$height" 99% 10000 >/dev/null \
    || failed "the red picture never covered the screen"
}

# The first transition as a time series of red pixels, from before the window is up.
sample_first_transition() {
  drv sample FF0000 "$tolerance" 0 "$below" "$width" "$height" 15 12000 99% >"$work/transition.txt"
}

show_and_key() {
  drv move 700 300 >/dev/null
  sample_first_transition &
  local sampler=$!
  start_show Main
  local line
  line=$(drv window TFormMain 10000) || { failed "no show window within 10 s (visible: $(visible_windows))"; return; }
  [ "$(field rect "$line")" = "0,0,$width,$height" ] && [ "$(field topmost "$line")" = 1 ] \
    && [ "$(field framed "$line")" = 0 ] || { failed "not a full-screen topmost borderless window: $line"; return; }
  wait "$sampler" || { failed "the red picture never covered the screen: $(tail -n 1 "$work/transition.txt")"; return; }

  # Frames of the wipe: some of the picture arrived and some not yet, then all of it.
  local first partial full
  read -r first partial full < <(awk '$2 > 0 && !first { first = $1 }
      { share = $2 / $3 } share >= 0.01 && share <= 0.9 { partial++ } END { print first, partial + 0, $1 }' \
      "$work/transition.txt")
  [ "$partial" -ge 3 ] || { failed "the picture did not arrive through a transition ($partial partial frames)"; return; }
  local took=$((full - first))
  [ "$took" -ge 400 ] && [ "$took" -le 3000 ] || { failed "the transition took $took ms"; return; }

  local inBand outside underneath
  inBand=$(drv count FFFF00 60 0 0 "$width" "$band" | cut -d' ' -f1)
  outside=$(drv count FFFF00 60 0 "$band" "$width" "$height" | cut -d' ' -f1)
  underneath=$(drv count FF0000 "$tolerance" 0 0 "$width" "$band" | cut -d' ' -f1)
  [ "$inBand" -ge 100 ] && [ "$outside" = 0 ] \
    || { failed "caption pixels: $inBand in the top band, $outside below it"; return; }
  [ "$underneath" -ge $((width * band / 2)) ] \
    || { failed "the caption band hides the picture (only $underneath red pixels in it)"; return; }
  [ "$(drv saver-active)" = 0 ] || { failed "screen saving is still on during the show"; return; }

  line=$(drv await 0000FF "$tolerance" 0 "$below" "$width" "$height" 1 8000) \
    || { failed "the second picture did not come"; return; }
  local gap=$(($(field tick "$line") - full))
  [ "$gap" -ge 1700 ] && [ "$gap" -le 3200 ] \
    || { failed "the second picture came $gap ms after the first (interval 2 s)"; return; }
  drv await 0000FF "$tolerance" 0 "$below" "$width" "$height" 99% 5000 >/dev/null \
    || { failed "the second picture never covered the screen"; return; }

  line=$(drv key space)
  local sent
  sent=$(field tick "$line")
  line=$(drv gone TFormMain 1000) || { failed "the window was still there 1 s after a key"; return; }
  show_ends_within 3000 || { failed "the window closed but the program did not end"; return; }
  local active position
  active=$(registry_saver_switch)
  [ "$active" = 1 ] && [ "$(drv saver-active)" = 1 ] || { failed "screen saving is not on again (registry: '$active')"; return; }
  position=$(drv cursor)
  [ "$position" = "700 300" ] || { failed "the pointer is at $position, not back at 700 300"; return; }
  details="transition $took ms with $partial partial frames, next picture after $gap ms, closed $(($(field tick "$line") - sent)) ms after the key"
}

# ScreenSaveActive as the registry holds it. Wine keeps a switch that is not
# written to the user profile in a volatile key, which then hides the profile's.
registry_saver_switch() {
  local key value
  for key in 'HKCU\Software\Wine\Temporary System Parameters\Control Panel\Desktop' 'HKCU\Control Panel\Desktop'; do
    value=$(timeout 30 wine reg query "$key" /v ScreenSaveActive 2>>"$log" | tr -d '\r' \
      | awk '$1 == "ScreenSaveActive" { print $3 }')
    [ -n "$value" ] && { echo "$value"; return; }
  done
}

# Moves the pointer to its first position plus (DX, DY), towards the middle of the screen.
move_from_origin() {  # DX DY
  local x=$((origin_x + ($origin_x > width / 2 ? -$1 : $1)))
  local y=$((origin_y + ($origin_y > height / 2 ? -$2 : $2)))
  drv move "$x" "$y" >/dev/null || failed "the driver could not put the pointer at $x,$y"
}

# Starts the Still show and notes where the pointer is once its picture is up.
start_still_show() {
  start_show Still
  red_picture_shown || return
  read -r origin_x origin_y < <(drv cursor)
}

mouse_threshold() {
  start_still_show || return
  local step
  for step in "5 0" "5 5" "0 5"; do
    move_from_origin $step || return
    still_showing 600 || { failed "a move of ($step) px from $origin_x,$origin_y ended the show"; return; }
  done
  move_from_origin 6 0 || return
  closes_within 1000 || { failed "a move of 6 px on x did not end the show"; return; }

  start_still_show || return
  move_from_origin 0 6 || return
  closes_within 1000 || { failed "a move of 6 px on y did not end the show"; return; }

  start_still_show || return
  drv click left >/dev/null
  closes_within 1000 || { failed "a click did not end the show"; return; }
  details="pointer first at $origin_x,$origin_y"
}

keys_disabled() {
  start_show NoKeys
  red_picture_shown || return
  drv key a >/dev/null && drv key space >/dev/null && drv key enter >/dev/null
  still_showing 700 || { failed "a key other than Escape ended the show"; return; }
  drv key escape >/dev/null
  closes_within 1000 || { failed "Escape did not end the show"; return; }
}

mouse_disabled() {
  start_show NoMouse
  red_picture_shown || return
  read -r origin_x origin_y < <(drv cursor)
  move_from_origin 100 100 || return
  drv click left >/dev/null && drv click right >/dev/null && drv click middle >/dev/null
  still_showing 700 || { failed "the mouse ended the show"; return; }
  drv key space >/dev/null
  closes_within 1000 || { failed "a key did not end the show"; return; }
}

web_pictures() {
  mkdir -p "$work/web" && cp "$fixtures/green.jpg" "$work/web/"
  printf '<html><body>not a picture</body></html>\n' >"$work/web/page.html"
  local port
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  python3 -m http.server --bind 127.0.0.1 "$port" --directory "$work/web" >"$work/http.log" 2>&1 &
  server_pid=$!
  local up=''
  for _ in $(seq 250); do
    (: </dev/tcp/127.0.0.1/"$port") 2>/dev/null && { up=1; break; }
    sleep 0.02
  done
  [ -n "$up" ] || { failed "the web server did not start"; return; }
  local address="http://127.0.0.1:$port"
  fixture Web <<EOF || { failed "the web fixture could not be built"; return; }
{ "Name": "Web", $common, "ImageInterval": 2, "TransitionStyles": [],
  "Slides": [ { "Kind": 1, "Name": "Green", "Path": "$address/green.jpg", "Ext": ".jpg", "Location": -5 },
              { "Kind": 1, "Name": "Page", "Path": "$address/page.html", "Ext": ".html", "Location": -5 },
              { "Source": "red.jpg", "Name": "Red" } ] }
EOF
  start_show Web
  drv window TFormMain 10000 >/dev/null || { failed "no show window within 10 s (visible: $(visible_windows))"; return; }
  local whole="0 0 $width $height"
  drv await 00FF00 "$tolerance" $whole 99% 10000 >/dev/null || { failed "the web picture did not show"; return; }
  drv await 000000 24 $whole 99% 8000 >/dev/null || { failed "the HTML reply gave no black slide"; return; }
  drv await FF0000 "$tolerance" $whole 99% 8000 >/dev/null || { failed "the show did not go on after the black slide"; return; }
  grep -q 'GET /green.jpg' "$work/http.log" && grep -q 'GET /page.html' "$work/http.log" \
    || { failed "the server did not see both requests: $(tr '\n' ' ' <"$work/http.log")"; return; }
  drv key space >/dev/null
  closes_within 1000 || { failed "a key did not end the show"; return; }
}

# Runs the program and expects it to end at once, exit 0, without a show window.
ends_without_window() {  # PROGRAM ARGUMENT
  local line
  line=$(drv run 8000 TFormMain "$(windows_path "$1")" "$2") || { failed "still running after 8 s: $line"; return; }
  [ "$(field exit "$line")" = 0 ] && [ "$(field window-seen "$line")" = 0 ] && [ "$(field after "$line")" -le 5000 ] \
    || { failed "$line"; return; }
  details="ended after $(field after "$line") ms"
}
no_settings() { ends_without_window "$fixtures/bare/Lone.scr" /s; }
ignore_mode() { ends_without_window "$fixtures/Main.scr" /x; }

# --- the run ---------------------------------------------------------------

setup_problem=''
make_fixtures || setup_problem="the fixtures could not be built (see $log)"
if [ -z "$setup_problem" ]; then
  start_xvfb >>"$log" || setup_problem="Xvfb did not start (see $log)"
fi
if [ -z "$setup_problem" ]; then
  export SPINDREL_WINE=$win32/show-wine
  source "$root/scripts/wine-env.sh"
  make_wine_prefix
  unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY all_proxy ALL_PROXY no_proxy NO_PROXY
  # Wine's background services inherit the streams of the first program of a
  # server: give them none, or they hold a caller's pipe open.
  timeout 60 wineserver -p </dev/null >/dev/null 2>&1
  timeout 60 wine "$driver" cursor </dev/null >/dev/null 2>&1
  wine_ready=1
fi
if [ -n "$setup_problem" ]; then
  echo "FAIL: set-up — $setup_problem"
  failed=1
else
  check "/s shows full screen, the first picture through its transition, the caption, the next picture; a key ends it" show_and_key
  check "a 5-pixel pointer move does not end the show, 6 pixels or a click do" mouse_threshold
  check "with DisableKeyPress only Escape ends the show" keys_disabled
  check "with DisableMouse neither moving nor clicking ends the show" mouse_disabled
  check "a web picture shows, a text/html reply gives a black slide and the show goes on" web_pictures
  check "no settings file: the program ends at once without a window" no_settings
  check "/x: the program ends at once without a window" ignore_mode
fi
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
