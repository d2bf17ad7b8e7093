#!/usr/bin/env bash
# "cpack -G DEB" makes a package that names what it needs and holds what a desktop expects.
# Installing it on a clean Debian 12 root is scripts/package-check's job (too slow for every run).
# Usage: deb_package_test.sh BUILD_FOLDER
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"
  exit 1
}
packages=("$work"/quillet_*.deb)
[[ ${#packages[@]} -eq 1 && -f ${packages[0]} ]] || { echo "FAIL: no single quillet_*.deb"; ls "$work"; exit 1; }
deb=${packages[0]}
echo "built $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == quillet ]] || fail "Package is $(field Package)"
[[ $(field Version) == 2.2* ]] || fail "Version is $(field Version)"
[[ $(field Section) == graphics ]] || fail "Section is $(field Section)"
[[ $(field Architecture) == "$(dpkg --print-architecture)" ]] || fail "Architecture is $(field Architecture)"
depends=$(field Depends)
echo "Depends: $depends"
for needed in libfreeimage3 libqt6core6 libqt6gui6 libqt6widgets6 libarchive13 libc6 libstdc++6 \
  fonts-liberation fonts-dejavu-core; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends does not name $needed"
done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./||' >"$work/files"
for file in usr/bin/quillet usr/share/quillet/gfx/handdrawn.zip usr/share/applications/quillet.desktop \
  usr/share/icons/hicolor/48x48/apps/quillet.png usr/share/icons/hicolor/256x256/apps/quillet.png \
  usr/share/man/man1/quillet.1 usr/share/bash-completion/completions/quillet usr/share/doc/quillet/manual.html \
  usr/share/doc/quillet/main-window.png; do
  grep -qx "$file" "$work/files" || fail "the package lacks /$file"
done
if grep -v '^usr/' "$work/files" | grep -qv '^$'; then
  fail "the package installs outside /usr:"
  grep -v '^usr/' "$work/files"
fi

# The packaged program is stripped and its files belong to root.
dpkg-deb -x "$deb" "$work/root"
file "$work/root/usr/bin/quillet" | grep -q ', stripped' || fail "usr/bin/quillet is not stripped"
if dpkg-deb -c "$deb" | awk '{print $2}' | grep -qv '^root/root$'; then fail "files not owned by root"; fi

if ((failures > 0)); then
  echo "$failures package check(s) failed"
  exit 1
fi
echo "package: dependencies declared, every file in place"
