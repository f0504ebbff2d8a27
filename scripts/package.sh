#!/usr/bin/env bash
# Builds the packages a user installs, into dist/:
#   kelvorat_<version>_amd64.deb     for Debian and Ubuntu
#   kelvorat-<version>-setup.exe     the Windows installer (NSIS)
#
#   scripts/package.sh --check-host HOST --notify-host HOST
#   scripts/package.sh --demo
#
# The two service hosts (host or host:port each) are fixed in the program when
# it is built, so a package talks to the services of whoever built it.
# --demo builds for the local stand-in services of tools/standin_services.py
# (127.0.0.1:18080); its version ends in "~demo" and its name says so.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: scripts/package.sh --check-host HOST --notify-host HOST" >&2
  echo "       scripts/package.sh --demo" >&2
}
refuse() {
  echo "package.sh: $1; no package was made." >&2
  usage
  exit 2
}

check_host=""
notify_host=""
demo=0
while (($#)); do
  case $1 in
    --check-host|--notify-host)
      (($# >= 2)) || refuse "$1 needs a host"
      if [ "$1" = --check-host ]; then check_host=$2; else notify_host=$2; fi
      shift 2 ;;
    --demo) demo=1; shift ;;
    -h|--help) usage; exit 0 ;;
    *) refuse "unknown argument '$1'" ;;
  esac
done
if ((demo)); then
  [ -z "$check_host$notify_host" ] || refuse "--demo builds for the local stand-in; it takes no host"
  check_host=127.0.0.1:18080
  notify_host=127.0.0.1:18080
elif [ -z "$check_host" ] || [ -z "$notify_host" ]; then
  refuse "a package is built for real services: give both --check-host and --notify-host, or --demo for the local stand-in"
fi
# The host goes into a URL and a C string: a name or address, and a port.
host_pattern='^([A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?|\[[0-9A-Fa-f:.]+\])(:[0-9]{1,5})?$'
for host in "$check_host" "$notify_host"; do
  [[ $host =~ $host_pattern ]] || refuse "'$host' is not a host or host:port"
done

scripts/install-deps.sh run windows package

# What the packages say about the program. The project has no web address
# and grants no licence yet: the homepage (where docs/ is served, for the
# AppStream screenshots) and the component id below are placeholders in the
# reserved .example domain, to be replaced once it has them.
homepage=https://kelvorat.example/
app_id=example.kelvorat.Kelvorat
license=LicenseRef-proprietary
maintainer="${DEBFULLNAME:-The Kelvorat developers} <${DEBEMAIL:-kelvorat@packages.invalid}>"

version=$(sed -n 's/^project(kelvorat VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
file_version=$(awk -F. '{ printf "%d.%d.%d.%d", $1, $2, $3, $4 }' <<<"$version")
if ((demo)); then
  version+="~demo"
  display_name="Kelvorat (demo: local stand-in services)"
  services="Demo build: it talks to the local stand-in services of the Kelvorat source tree (tools/standin_services.py) on $check_host, not to real services."
  man_note=$'.PP\nThis is a demo build: both are the local stand-in services of the Kelvorat\nsource tree (tools/standin_services.py).'
else
  display_name="Kelvorat"
  services="Built for the block-check service at $check_host and the notification service at $notify_host."
  man_note='.\" built for real services'
fi
# Dates from the last commit, so the same tree gives the same packages.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || date +%s)}
date=$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)
changelog_date=$(date -u -R -d "@$SOURCE_DATE_EPOCH")
changelog_services=$(fold -s -w 72 <<<"$services" | sed 's/ *$//; 2,$s/^/    /')
fill() {
  python3 packaging/fill.py "$1" "$2" VERSION="$version" DATE="$date" CHANGELOG_DATE="$changelog_date" \
    APP_ID="$app_id" HOMEPAGE="$homepage" LICENSE="$license" SERVICES="$services" CHANGELOG_SERVICES="$changelog_services" \
    CHECK_HOST="$check_host" NOTIFY_HOST="$notify_host" DEMO_NOTE="$man_note"
}
mkdir -p dist
umask 022

echo "== Linux build (check service $check_host, notification service $notify_host)"
linux=build-package-linux
cmake -S . -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get LDFLAGS)" \
  -DKELVORAT_BENCHMARKS=OFF \
  -DKELVORAT_CHECK_HOST="$check_host" -DKELVORAT_NOTIFY_HOST="$notify_host" >/dev/null
cmake --build "$linux" -j2 --target kelvorat

echo "== kelvorat_${version}_amd64.deb"
root=$linux/deb
rm -rf "$root"
install -D -m 755 "$linux/src/kelvorat" "$root/usr/bin/kelvorat"
strip --remove-section=.comment --remove-section=.note "$root/usr/bin/kelvorat"
install -D -m 644 packaging/linux/kelvorat.desktop "$root/usr/share/applications/kelvorat.desktop"
# The icon in the hicolor theme at its own size and the smaller usual ones
# (Debian's Python: python3-pil scales it).
/usr/bin/python3 - resources/pictures/kelvorat_icon.png "$root/usr/share/icons/hicolor" <<'PYTHON'
import os, sys
from PIL import Image
picture, theme = Image.open(sys.argv[1]).convert("RGBA"), sys.argv[2]
for size in [s for s in (16, 22, 24, 32, 48, 64, 128, 256, 512) if s <= min(picture.size)]:
    os.makedirs(f"{theme}/{size}x{size}/apps")
    picture.resize((size, size), Image.LANCZOS).save(f"{theme}/{size}x{size}/apps/kelvorat.png", optimize=True)
PYTHON
mkdir -p "$root/usr/share/metainfo" "$root/usr/share/man/man1" "$root/usr/share/doc/kelvorat"
fill packaging/linux/kelvorat.metainfo.xml.in "$root/usr/share/metainfo/$app_id.metainfo.xml"
fill packaging/linux/kelvorat.1.in "$root/usr/share/man/man1/kelvorat.1"
gzip -9n "$root/usr/share/man/man1/kelvorat.1"
install -m 644 packaging/linux/copyright "$root/usr/share/doc/kelvorat/copyright"
fill packaging/linux/changelog.in "$root/usr/share/doc/kelvorat/changelog"
gzip -9n "$root/usr/share/doc/kelvorat/changelog"
find "$root" -type d -exec chmod 755 {} +
find "$root" -type f ! -path "$root/usr/bin/*" -exec chmod 644 {} +

# Dependencies from the libraries the binary links, as dpkg-shlibdeps finds
# them (it wants a debian/control beside it).
mkdir -p "$linux/shlibdeps/debian"
printf 'Source: kelvorat\n\nPackage: kelvorat\nArchitecture: amd64\n' >"$linux/shlibdeps/debian/control"
depends=$(cd "$linux/shlibdeps" && dpkg-shlibdeps -O -e"$PWD/../deb/usr/bin/kelvorat" 2>/dev/null |
  sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "package.sh: dpkg-shlibdeps found no dependency"; exit 1; }

mkdir -p "$root/DEBIAN"
{
  echo "Package: kelvorat"
  echo "Version: $version"
  echo "Architecture: amd64"
  echo "Maintainer: $maintainer"
  echo "Installed-Size: $(du -sk --exclude=DEBIAN "$root" | cut -f1)"
  echo "Depends: $depends"
  echo "Section: net"
  echo "Priority: optional"
  echo "Description: warns you through WeChat when WeChat blocks your domain"
  echo " Kelvorat watches one domain name and warns its owner through a WeChat"
  echo " push message (the 喵提醒 service) as soon as WeChat blocks the domain."
  echo " ."
  fold -s -w 72 <<<"$services" | sed 's/ *$//; s/^/ /'
} >"$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
deb=dist/kelvorat_${version}_amd64.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null

echo "== Windows build"
windows=build-package-windows
KELVORAT_CHECK_HOST=$check_host KELVORAT_NOTIFY_HOST=$notify_host WINDOWS_RELEASE_DIR=$windows \
  scripts/build-windows.sh

echo "== kelvorat-${version}-setup.exe"
setup=dist/kelvorat-${version}-setup.exe
makensis -V2 -DVERSION="$version" -DFILE_VERSION="$file_version" -DDISPLAY_NAME="$display_name" \
  -DEXE="$PWD/$windows/src/kelvorat.exe" -DICON="$PWD/$windows/src/kelvorat.ico" \
  -DOUTFILE="$PWD/$setup" packaging/windows/kelvorat.nsi

echo "package.sh: $deb and $setup ($services)"
