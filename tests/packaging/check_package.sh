#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it without
# installing it into the system: its file list, the desktop entry and
# AppStream metadata, the manual pages, and that the program runs from the
# package's own layout.
set -euo pipefail
build="$1"
source_dir="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

fail() { echo "check_package: $*" >&2; exit 1; }

version="$(sed -n 's/^project(Veltrane VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")"
[ -n "$version" ] || fail "no version in CMakeLists.txt"
# The program's own version texts must name the same release.
grep -q "v\.$version" "$source_dir/src/app/window_texts.h" ||
  fail "the window title does not name version $version"

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb="$work/out/veltrane_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $deb (made: $(ls "$work/out"))"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' >"$work/files"
for f in /usr/bin/veltrane /usr/bin/veltrane-lab \
         /usr/share/applications/software.brisle.Veltrane.desktop \
         /usr/share/metainfo/software.brisle.Veltrane.metainfo.xml \
         /usr/share/icons/hicolor/scalable/apps/veltrane.svg \
         /usr/share/man/man1/veltrane.1.gz /usr/share/man/man1/veltrane-lab.1.gz \
         /usr/share/veltrane/labs/default-lab.json; do
  grep -qx "$f" "$work/files" || fail "the package lacks $f"
done

depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libc6 libstdc++6 libqt6widgets6 qt6-qpa-plugins libqt6sql6-sqlite libsodium23; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"

root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/software.brisle.Veltrane.desktop"
appstreamcli validate --no-net --explain \
  "$root/usr/share/metainfo/software.brisle.Veltrane.metainfo.xml" >"$work/as.log" 2>&1 ||
  { cat "$work/as.log" >&2; fail "appstreamcli validate failed"; }
grep -q "release version=\"$version\"" "$root/usr/share/metainfo/software.brisle.Veltrane.metainfo.xml" ||
  fail "the metadata does not name release $version"

# Manual pages format without warnings and name every option --help names.
for page in veltrane veltrane-lab; do
  zcat "$root/usr/share/man/man1/$page.1.gz" >"$work/$page.1"
  warnings="$(groff -man -ww -z "$work/$page.1" 2>&1)"
  [ -z "$warnings" ] || fail "$page.1: $warnings"
  "$root/usr/bin/$page" --help >"$work/$page.help"
  help_options="$(grep -oE -- '--[a-z][a-z-]*' "$work/$page.help" | sort -u)"
  man_options="$(grep -oE '\\-\\-[a-z][a-z\\-]*' "$work/$page.1" | sed 's/\\-/-/g' | sort -u)"
  [ "$help_options" = "$man_options" ] ||
    fail "$page: --help names [$(echo $help_options)] but the manual page [$(echo $man_options)]"
done
for command in $(grep -oE '^  veltrane-lab [a-z]+' "$work/veltrane-lab.help" | awk '{print $2}'); do
  grep -qE "^\.B $command\$" "$work/veltrane-lab.1" || fail "veltrane-lab.1 does not describe $command"
done
grep -qE '^[[:space:]]+[A-Z]+ [A-Z]+ [A-Z]+ \[[A-Z]+\]' "$work/veltrane.help" ||
  fail "veltrane --help lost the unattended form"
grep -q '^\.SH UNATTENDED EXPORT' "$work/veltrane.1" || fail "veltrane.1 lacks the unattended export"

# The installed layout runs: an unattended export from the package's root.
home="$work/home"
mkdir -p "$home"
HOME="$home" XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" QT_QPA_PLATFORM=offscreen \
  "$root/usr/bin/veltrane" users LABPDC "$work/users.txt" ||
  fail "the packaged program did not export the Users display"
grep -q "Administrator" "$work/users.txt" || fail "the export holds no Administrator"
"$root/usr/bin/veltrane-lab" check "$root/usr/share/veltrane/labs/default-lab.json" >/dev/null ||
  fail "the shipped lab does not pass its check"
echo "check_package: $deb is complete and runs from its own layout"
