#!/usr/bin/env bash
# Builds the Debian packages from the build folder (veltrane: the program
# and the lab; veltrane-samba: the samba backend's module) and checks them
# without installing them into the system: their file lists and
# dependencies (the program's name no Samba library), the desktop entry and
# AppStream metadata, the manual pages, and that the program runs from the
# packages' own layout, with and without the samba module.
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
samba_deb="$work/out/veltrane-samba_${version}_amd64.deb"
for d in "$deb" "$samba_deb"; do
  [ -f "$d" ] || fail "no $d (made: $(ls "$work/out"))"
done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#' >"$work/files"
for f in /usr/bin/veltrane /usr/bin/veltrane-lab \
         /usr/share/applications/software.brisle.Veltrane.desktop \
         /usr/share/metainfo/software.brisle.Veltrane.metainfo.xml \
         /usr/share/icons/hicolor/scalable/apps/veltrane.svg \
         /usr/share/man/man1/veltrane.1.gz /usr/share/man/man1/veltrane-lab.1.gz \
         /usr/share/veltrane/labs/default-lab.json; do
  grep -qx "$f" "$work/files" || fail "the package lacks $f"
done
grep -qE '^/usr/lib/([^/]+/)?veltrane/libveltrane-core\.so$' "$work/files" ||
  fail "the package lacks its core library"
! grep -q 'veltrane-samba\.so' "$work/files" || fail "the program's package holds the samba module"
dpkg-deb -c "$samba_deb" | awk '{print $6}' | sed 's#^\./#/#' >"$work/samba-files"
grep -qE '^/usr/lib/([^/]+/)?veltrane/backends/veltrane-samba\.so$' "$work/samba-files" ||
  fail "veltrane-samba lacks the module: $(grep -v '/$' "$work/samba-files")"
! grep -qE '/usr/bin/|libveltrane-core' "$work/samba-files" ||
  fail "veltrane-samba holds the program's own files"

# Samba's client libraries, by the packages that hold them.
samba_packages="samba-libs libsmbclient libldb2 libtalloc2 libtevent0 libwbclient0"
depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libc6 libstdc++6 libqt6widgets6 qt6-qpa-plugins libqt6sql6-sqlite libsodium23; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
for lib in $samba_packages; do
  [[ "$depends" != *"$lib"* ]] || fail "the program's package depends on $lib: $depends"
done
samba_depends="$(dpkg-deb -f "$samba_deb" Depends)"
[[ "$samba_depends" == *"veltrane (= $version)"* ]] ||
  fail "veltrane-samba does not depend on veltrane (= $version): $samba_depends"
for lib in samba-libs libsmbclient libldb2 libtalloc2 libtevent0; do
  [[ "$samba_depends" == *"$lib"* ]] || fail "veltrane-samba's Depends lacks $lib: $samba_depends"
done
for d in "$deb" "$samba_deb"; do
  [ "$(dpkg-deb -f "$d" Version)" = "$version" ] || fail "$d: package version is not $version"
done

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

# Nothing the program or the lab tool loads is Samba's.
for program in veltrane veltrane-lab; do
  needed="$(readelf -d "$root/usr/bin/$program" | grep NEEDED)"
  if grep -qiE 'smbclient|netapi|ldb|talloc|tevent|samba' <<<"$needed"; then
    fail "$program links Samba's libraries: $needed"
  fi
done
LD_LIBRARY_PATH= ldd "$root/usr/bin/veltrane" >"$work/ldd" || fail "ldd failed on the program"
! grep -qiE 'smbclient|netapi|ldb|talloc|tevent|samba' "$work/ldd" ||
  fail "the program loads Samba's libraries: $(cat "$work/ldd")"
grep -q "libveltrane-core.so => $root/usr/" "$work/ldd" ||
  fail "the program does not find its own core library: $(grep veltrane-core "$work/ldd")"

# The installed layout runs: an unattended export from the package's root.
home="$work/home"
mkdir -p "$home"
in_home() {
  env -u VELTRANE_BACKEND_PATH HOME="$home" XDG_DATA_HOME="$home/data" \
    XDG_CONFIG_HOME="$home/config" KRB5CCNAME="FILE:$home/no-ticket" QT_QPA_PLATFORM=offscreen "$@"
}
in_home "$root/usr/bin/veltrane" users LABPDC "$work/users.txt" ||
  fail "the packaged program did not export the Users display"
# The samba backend without its package: one line that names the package.
if in_home "$root/usr/bin/veltrane" --backend samba users DC1 "$work/x.txt" 2>"$work/nosamba"; then
  fail "--backend samba ran without its module"
fi
[ "$(wc -l <"$work/nosamba")" = 1 ] && grep -q 'install the package veltrane-samba' "$work/nosamba" ||
  fail "--backend samba without its module said: $(cat "$work/nosamba")"
# With it unpacked beside the program, the module is found, loaded and its
# backend starts (and stops at once: there is no account to act as).
dpkg-deb -x "$samba_deb" "$root"
if in_home "$root/usr/bin/veltrane" --backend samba users DC1 "$work/x.txt" 2>"$work/samba"; then
  fail "--backend samba ran without an account"
fi
grep -qx 'veltrane: the samba backend could not start: no account to act as: .*' "$work/samba" ||
  fail "--backend samba with its module said: $(cat "$work/samba")"
grep -q "Administrator" "$work/users.txt" || fail "the export holds no Administrator"
"$root/usr/bin/veltrane-lab" check "$root/usr/share/veltrane/labs/default-lab.json" >/dev/null ||
  fail "the shipped lab does not pass its check"
echo "check_package: $deb and $samba_deb are complete and run from their own layout"
