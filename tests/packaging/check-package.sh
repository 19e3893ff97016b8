#!/usr/bin/env bash
# Packages a build tree with CPack and checks the package as a Debian user's tools see it.
# usage: check-package.sh <build folder> <project version>
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb="$work/out/quorin_${version}_amd64.deb"
[ -f "$deb" ] || { cat "$work/cpack.log"; echo "FAIL: no $deb"; exit 1; }

# The files, nothing more and nothing less (directories aside).
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
expected=(
  ./usr/bin/quorin ./usr/bin/quorin-registry ./usr/bin/quorin-sql
  "./usr/lib/$multiarch/quorin/libdalport.so.${version%%.*}" "./usr/lib/$multiarch/quorin/libdalport.so.$version"
  ./usr/share/applications/quorin.desktop
  ./usr/share/doc/quorin/changelog.gz ./usr/share/doc/quorin/copyright
  ./usr/share/man/man1/quorin-registry.1.gz ./usr/share/man/man1/quorin-sql.1.gz ./usr/share/man/man1/quorin.1.gz
)
for size in 16 22 24 32 48 64 128 256; do expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/quorin.png"); done
dpkg-deb --fsys-tarfile "$deb" | tar -tvf - | awk '$1 !~ /^d/ {print $6}' | sort > "$work/files"
printf '%s\n' "${expected[@]}" | sort > "$work/expected"
diff -u "$work/expected" "$work/files" || fail "the package's files differ from the list above"

# Every file belongs to root, and nothing is writable by others.
dpkg-deb --fsys-tarfile "$deb" | tar -tvf - | awk '$2 != "root/root" || ($1 !~ /^l/ && $1 ~ /^........w/) {print}' > "$work/owners"
[ ! -s "$work/owners" ] || { cat "$work/owners"; fail "files not owned by root or writable by others"; }

# Dependencies come from the binaries: Qt, ODBC and SQLite among them, Dalport not.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 libqt6network6 libodbc2 libsqlite3-0 libsodium23 libarchive13 qt6-qpa-plugins; do
  grep -q "\b$package\b" <<< "$depends" || fail "Depends lacks $package"
done
! grep -q dalport <<< "$depends" || fail "Depends names Dalport, which the package carries"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"

# Unpacked, the programs find their library and say the package's version.
dpkg-deb -x "$deb" "$work/unpacked"
for program in quorin quorin-sql quorin-registry; do
  said=$("$work/unpacked/usr/bin/$program" --version 2>&1) || fail "$program --version failed: $said"
  [ "$said" = "$program $version" ] || fail "$program --version says '$said'"
done

desktop-file-validate "$work/unpacked/usr/share/applications/quorin.desktop" || fail "desktop-file-validate"

for page in "$work"/unpacked/usr/share/man/man1/*.1.gz; do
  name=$(basename "$page" .1.gz)
  warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 > "$work/page.txt") || fail "man $name"
  [ -z "$warnings" ] || { echo "$warnings"; fail "man --warnings on $name"; }
  for section in NAME SYNOPSIS DESCRIPTION 'EXIT STATUS' ENVIRONMENT 'SEE ALSO'; do
    grep -q "^$section" "$work/page.txt" || fail "$name(1) has no $section"
  done
done

for size in 16 22 24 32 48 64 128 256; do
  got=$(identify -format '%wx%h %m' "$work/unpacked/usr/share/icons/hicolor/${size}x${size}/apps/quorin.png")
  [ "$got" = "${size}x${size} PNG" ] || fail "icon ${size}: $got"
done

# lintian: errors fail, warnings are listed.
lintian --tag-display-limit 0 "$deb" > "$work/lintian" 2>&1 || true
cat "$work/lintian"
! grep -q '^E:' "$work/lintian" || fail "lintian reports errors"

[ "$failures" -eq 0 ] || { echo "$failures checks failed"; exit 1; }
echo "The package passes."
