# Sourced by the scripts that run the Windows build under wine: a virtual X
# display and a wine prefix set up as every run expects. The caller keeps a
# `pids` array that its exit trap kills.

# Starts Xvfb on a display number Xvfb finds free and exports DISPLAY. Set it
# before the first wine command: that one starts wine's desktop process,
# which every later window goes through.
kelvorat_virtual_display() {
  local number
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  pids+=("$!")
  for _ in $(seq 1 100); do [ -s "$number" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -1 "$number")"
  rm -f "$number"
}

# kelvorat_wine_prefix <folder> [fresh]: exports WINEPREFIX and wine's quiet
# settings (no .NET or Gecko installer prompts), and makes the prefix when it
# is missing, or anew with "fresh": wine's own fonts in it (Marlett draws the
# caption buttons) and one virtual desktop for every window, so that with no
# window manager on the display wine draws the frames itself.
kelvorat_wine_prefix() {
  export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "${2:-}" = fresh ]; then rm -rf "$WINEPREFIX"; fi
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  wine wineboot -i >/dev/null 2>&1
  wineserver -w
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -w
}
