# Sourced by the scripts that run Windows programs: a private Wine prefix and
# HOME under build/wine, no crash dialogs, no window-manager delays, no menu
# entries, a null sound card. The prefix is made once (about 20 s) and kept.
wine_root=${SPINDREL_WINE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wine}
export WINEPREFIX=$wine_root/prefix
export HOME=$wine_root/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64

wine_prefix_ready() { [ -f "$WINEPREFIX/.spindrel-ready" ]; }

make_wine_prefix() {
  wine_prefix_ready && return 0
  rm -rf "$WINEPREFIX" && mkdir -p "$HOME"
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$HOME/.asoundrc"
  timeout 300 wineboot -i >/dev/null 2>&1
  timeout 120 wineserver -w
  timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  timeout 120 wineserver -w
  touch "$WINEPREFIX/.spindrel-ready"
}
