#!/usr/bin/env bash
# The installed tree and the Debian package: their file lists against the
# expected list, the desktop entry, metainfo and man pages through their
# validators, the package's dependencies.
#   check_install.sh tree|package BUILD_DIR EXPECTED_LIST
set -euo pipefail
mode=$1; build=$2; expected=$3
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT

compare() {  # the listing on stdin against the expected list
  sort > "$tmp/actual"
  diff -u <(grep -v '^#' "$expected" | sort) "$tmp/actual" || { echo "FAIL: file list differs" >&2; exit 1; }
}

if [ "$mode" = tree ]; then
  DESTDIR="$tmp/root" cmake --install "$build" --prefix /usr >/dev/null
  (cd "$tmp/root" && find . \( -type f -o -type l \) | sed 's|^\./||') | compare
  root=$tmp/root/usr
  desktop-file-validate "$root"/share/applications/*.desktop
  appstreamcli validate --no-net "$root"/share/metainfo/*.metainfo.xml
  for page in "$root"/share/man/man1/*.1; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "FAIL: $page: $warnings" >&2; exit 1; }
  done
  version=$("$root/bin/quillmere" --version)
  [ "$version" = "Quillmere 2.60" ] || { echo "FAIL: --version said '$version'" >&2; exit 1; }
else
  cpack -G DEB -B "$tmp" --config "$build/CPackConfig.cmake" >/dev/null
  deb=$(ls "$tmp"/quillmere_*_*.deb)
  dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | compare
  depends=$(dpkg-deb -f "$deb" Depends)
  for lib in libqscintilla2-qt6 libqt6widgets6 libqt6core6 libqt6svg6 libtidy fonts-liberation; do
    case "$depends" in *"$lib"*) ;; *) echo "FAIL: Depends lacks $lib: $depends" >&2; exit 1 ;; esac
  done
fi
