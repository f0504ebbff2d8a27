#!/usr/bin/env bash
# Tests the packages of scripts/package.sh, built here with --demo:
#  - lint: lintian finds no error or warning in the .deb, desktop-file-validate
#    passes its desktop entry and appstreamcli its metainfo;
#  - the .deb on this machine: apt-get installs it, the command of its desktop
#    entry's Exec line opens the window on a virtual X display, apt-get purges
#    it, and nothing of it is left (nor any package the install brought in);
#  - the installer under wine, in a fresh prefix: /S installs the program, its
#    Start-menu shortcut and its uninstaller entry; the installed program,
#    started from the shortcut, sends a check to the stand-in services; the
#    uninstaller's /S removes all three.
# Ends with "packages: N passed, M failed" (and ", K skipped" when the .deb
# could not be tried because a kelvorat package is installed already).
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

version=$(sed -n 's/^project(kelvorat VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)~demo
deb=dist/kelvorat_${version}_amd64.deb
setup=dist/kelvorat-${version}-setup.exe
services_port=18080  # the demo packages' service host, 127.0.0.1:18080

passed=0
failed=0
skipped=0
check() {  # check NAME COMMAND...: runs the command, counts and reports it
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok      $name"
  else
    failed=$((failed + 1))
    echo "FAILED  $name"
  fi
}

work=$(mktemp -d)
pids=()
installed_here=0
new_packages=()
cleanup() {
  # Whatever failed on the way, the machine keeps nothing of the .deb test.
  if ((installed_here)); then
    apt-get purge -y -qq -o DPkg::Lock::Timeout=300 kelvorat "${new_packages[@]}" >/dev/null 2>&1 || true
  fi
  # The wine prefix (some 700 MB) goes too.
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
  fi
  if ((${#pids[@]})); then kill "${pids[@]}" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

if ! scripts/package.sh --demo >"$work/package.log" 2>&1; then
  cat "$work/package.log"
  echo "packages: 0 passed, 1 failed"
  exit 1
fi

# One virtual display for the Linux window and for wine; Xvfb picks a free number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=("$!")
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"

echo "== lint"
lint_deb() {
  lintian --fail-on error,warning --display-level '>=warning' "$deb" 2>&1 | grep -v 'running with root privileges'
  return "${PIPESTATUS[0]}"
}
check "lintian: no error or warning" lint_deb
dpkg-deb -x "$deb" "$work/deb"
check "desktop-file-validate" desktop-file-validate "$work/deb/usr/share/applications/kelvorat.desktop"
check "appstreamcli validate" appstreamcli validate --no-net "$work"/deb/usr/share/metainfo/*.metainfo.xml

echo "== the .deb on this machine"
installed_packages() { dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' | awk '$1 == "ii" { print $2 }' | sort; }
# Files of the package that other packages do not share (the directories
# usr/, usr/share/... stay).
own_paths() { dpkg -L kelvorat | while read -r path; do [ -d "$path" ] && [ "$path" != /usr/share/doc/kelvorat ] || echo "$path"; done; }
if dpkg-query -W -f='${Status}' kelvorat 2>/dev/null | grep -q "ok installed"; then
  echo "skipped: kelvorat is installed on this machine, and this test would remove it"
  skipped=3
else
  installed_packages >"$work/before"
  install_deb() {
    installed_here=1
    apt-get install -y -qq -o DPkg::Lock::Timeout=300 "./$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; return 1; }
    own_paths >"$work/paths"
    [ -x /usr/bin/kelvorat ] && [ -s /usr/share/applications/kelvorat.desktop ]
  }
  check "apt-get install ./$deb" install_deb
  installed_packages >"$work/after"
  mapfile -t new_packages < <(comm -13 "$work/before" "$work/after" | grep -v '^kelvorat$' || true)
  ((${#new_packages[@]} == 0)) || echo "the install brought in: ${new_packages[*]}"

  start_from_desktop_entry() {
    # The command of the Exec line, without field codes; a clean environment
    # but for the display, as a desktop would start it.
    local command
    command=$(sed -n 's/^Exec=//p' /usr/share/applications/kelvorat.desktop | head -1 | sed 's/ *%[fFuUdDnNickvm]//g')
    [ -n "$command" ] || return 1
    env -i DISPLAY="$DISPLAY" HOME="$work" PATH=/usr/bin:/bin sh -c "exec $command" >"$work/program.log" 2>&1 &
    local program=$! window=""
    for _ in $(seq 1 100); do
      window=$(xdotool search --onlyvisible --pid "$program" --name "Kelvorat V1.0" 2>/dev/null | head -1 || true)
      [ -n "$window" ] && break
      sleep 0.1
    done
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    [ -n "$window" ] || { echo "no window of $command appeared:"; cat "$work/program.log"; return 1; }
  }
  check "started from the desktop entry, the window shows" start_from_desktop_entry

  purge_deb() {
    apt-get purge -y -qq -o DPkg::Lock::Timeout=300 kelvorat "${new_packages[@]}" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; return 1; }
    installed_here=0
    local left=0
    ! dpkg-query -W kelvorat >/dev/null 2>&1 || { echo "dpkg still knows kelvorat"; left=1; }
    while read -r path; do
      [ ! -e "$path" ] || { echo "left behind: $path"; left=1; }
    done <"$work/paths"
    ls /var/lib/dpkg/info/kelvorat.* >/dev/null 2>&1 && { echo "left behind: /var/lib/dpkg/info/kelvorat.*"; left=1; }
    find /usr/bin /usr/share /etc -name '*kelvorat*' 2>/dev/null | sed 's/^/left behind: /' | grep . && left=1
    installed_packages >"$work/purged"
    comm -12 <(printf '%s\n' kelvorat "${new_packages[@]}" | sort) "$work/purged" | sed 's/^/still installed: /' | grep . && left=1
    return $left
  }
  check "apt-get purge leaves nothing" purge_deb
fi

echo "== the installer under wine"
windows=build-package-windows
cmake --build "$windows" -j2 --target window_probe_tool >"$work/probe-build.log" 2>&1 || cat "$work/probe-build.log"
probe() { LC_ALL=C timeout 60 wine "$windows/tests/window_probe_tool.exe" "$@"; }
export WINEPREFIX="$PWD/$windows/wineprefix"
export WINEDEBUG=-all
# No .NET or Gecko installer prompts; no menu entries or icons of the
# installed program written into this machine's own desktop menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
timeout 300 wine wineboot -i >/dev/null 2>&1
wineserver -w
# One virtual desktop for every window, drawn by wine at the display's origin,
# so the probe's screen points are the display's.
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
wineserver -w

drive_c=$WINEPREFIX/drive_c
program_dir="$drive_c/Program Files/Kelvorat"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvorat.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvorat'

install_silently() {
  timeout 120 wine "$setup" /S && wineserver -w
}
check "installer /S" install_silently
check "kelvorat.exe under Program Files" cmp -s "$program_dir/kelvorat.exe" "$windows/src/kelvorat.exe"
shortcut_points_at_program() {
  [ -f "$shortcut" ] || { echo "no $shortcut"; return 1; }
  # The target's path is in the link, in the ANSI or the wide form.
  python3 - "$shortcut" <<'PYTHON'
import sys
link, target = open(sys.argv[1], "rb").read(), "Program Files\\Kelvorat\\kelvorat.exe"
sys.exit(0 if target.encode() in link or target.encode("utf-16-le") in link else 1)
PYTHON
}
check "Start-menu shortcut to kelvorat.exe" shortcut_points_at_program
uninstaller_registered() {
  local entry
  entry=$(wine reg query "$uninstall_key" 2>/dev/null | tr -d '\r')
  grep -q "DisplayName.*REG_SZ.*Kelvorat" <<<"$entry" &&
    grep -q "UninstallString.*REG_SZ.*Program Files\\\\Kelvorat\\\\uninstall.exe" <<<"$entry" &&
    [ -f "$program_dir/uninstall.exe" ] || { echo "uninstall entry:"; echo "$entry"; return 1; }
}
check "uninstaller in Add/Remove Programs" uninstaller_registered

check_arrives() {
  # The demo's services port may be taken for a while by someone's scripts/run.sh.
  for _ in $(seq 1 60); do
    ! (exec 3<>"/dev/tcp/127.0.0.1/$services_port") 2>/dev/null && break
    sleep 1
  done
  local log="$work/requests.log"
  python3 -u tools/standin_services.py --port "$services_port" --blocked example.com --log "$log" \
    >"$work/services.out" 2>&1 &
  local services=$!
  pids+=("$services")
  sleep 0.5
  kill -0 "$services" 2>/dev/null || { echo "the stand-in could not start:"; cat "$work/services.out"; return 1; }
  # Started as a user starts it: through the Start-menu shortcut.
  LC_ALL=C wine start "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Kelvorat.lnk"
  # Under load the window can be slow to come or to take the click: a few tries.
  local point arrived=0 attempt
  for attempt in 1 2 3; do
    if ! point=$(probe start-button); then
      echo "try $attempt: no window of the installed kelvorat.exe within 30 s"
      continue
    fi
    xdotool mousemove $point click 1
    for _ in $(seq 1 150); do
      grep -qa "GET /k4tq7mbh/wxcheck?url=" "$log" 2>/dev/null && { arrived=1; break; }
      sleep 0.1
    done
    ((arrived)) && break
    echo "try $attempt: no check within 15 s of the click on $point"
  done
  probe close || true
  timeout 60 wineserver -w || true
  kill "$services" 2>/dev/null || true
  wait "$services" 2>/dev/null || true
  ((arrived)) || { echo "no check arrived at the stand-in:"; cat "$work/services.out"; return 1; }
}
check "the installed program's check arrives at the stand-in" check_arrives

uninstall_silently() {
  # The uninstaller runs from a copy of itself: wineserver -w waits for that.
  timeout 120 wine "$program_dir/uninstall.exe" /S && timeout 120 wineserver -w
  local left=0
  [ ! -e "$program_dir" ] || { echo "left behind: $(ls -A "$program_dir")"; left=1; }
  [ ! -e "$shortcut" ] || { echo "left behind: the shortcut"; left=1; }
  ! wine reg query "$uninstall_key" >/dev/null 2>&1 || { echo "left behind: $uninstall_key"; left=1; }
  return $left
}
check "uninstaller /S removes program, shortcut and entry" uninstall_silently

echo "== packages took $(($(date +%s) - started)) s"
echo "packages: $passed passed, $failed failed$( ((skipped == 0)) || echo ", $skipped skipped")"
((failed == 0))
