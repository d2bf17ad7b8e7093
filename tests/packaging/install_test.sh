#!/usr/bin/env bash
# "cmake --install" into a fresh prefix: exactly the expected files land where a desktop looks
# for them, and the installed program converts the sample, finds its themes and its manual.
# Usage: install_test.sh BUILD_FOLDER SAMPLE_JPEG PATHS_PROBE
set -euo pipefail
build=$1
sample=$2
probe=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/usr
export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config QT_QPA_PLATFORM=offscreen
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
chmod 700 "$XDG_RUNTIME_DIR"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

expected="bin/quillet
share/applications/quillet.desktop
share/bash-completion/completions/quillet
share/doc/quillet/main-window.png
share/doc/quillet/manual.html"
for size in 16 32 48 64 128 256; do
  expected+=$'\n'"share/icons/hicolor/${size}x${size}/apps/quillet.png"
done
expected+=$'\n'"share/man/man1/quillet.1"
expected+=$'\n'"share/quillet/gfx/handdrawn.zip"
actual=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
expected=$(LC_ALL=C sort <<<"$expected")
if [[ $actual != "$expected" ]]; then
  fail "installed files differ from the expected list"
  diff <(echo "$expected") <(echo "$actual") || true
fi
[[ -x $prefix/bin/quillet ]] || fail "bin/quillet is not executable"
desktop-file-validate "$prefix/share/applications/quillet.desktop" || fail "the desktop entry is not valid"
for size in 16 32 48 64 128 256; do
  file "$prefix/share/icons/hicolor/${size}x${size}/apps/quillet.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size}x${size} icon is not a $size-pixel PNG"
done
# Every picture the manual shows is shipped beside it, and every link inside it has its target.
manual=$prefix/share/doc/quillet/manual.html
for picture in $(grep -o 'src="[^"]*"' "$manual" | sed 's/^src="//; s/"$//'); do
  [[ -f $prefix/share/doc/quillet/$picture ]] || fail "the manual shows $picture, which is not installed"
done
for anchor in $(grep -o 'href="#[^"]*"' "$manual" | sed 's/^href="#//; s/"$//' | sort -u); do
  grep -q "id=\"$anchor\"" "$manual" || fail "the manual links to #$anchor, which it does not have"
done
grep -q -- '<code>--resize-algorithm=<var>WORD</var></code>' "$manual" || fail "the manual lacks the option reference"
grep -q '@[A-Z_]*@' "$manual" && fail "the manual has an unfilled @PLACEHOLDER@"

# The installed program converts the sample.
mkdir "$work/out"
if "$prefix/bin/quillet" -q -i "$sample" -o "$work/out"; then
  result=$work/out/$(basename "${sample%.*}").hdr
  head -c 10 "$result" 2>/dev/null | grep -q '^#?RADIANCE' || fail "no Radiance file at $result"
else
  fail "the installed program could not convert $sample"
fi

# Its look-ups of the manual and the themes, installed and in the build folder.
"$probe" "$prefix" "$build/src/app" || fail "the manual or the themes are not found"

# The window shows the shipped theme both from the build folder and installed, and looks
# different without it: the theme archive is found in both places.
mkdir "$work/built" "$work/installed" "$work/bare"
"$build/src/app/quillet" -T "$work/built"
"$prefix/bin/quillet" -T "$work/installed"
mv "$prefix/share/quillet/gfx" "$prefix/share/quillet/gfx.away"
"$prefix/bin/quillet" -T "$work/bare"
mv "$prefix/share/quillet/gfx.away" "$prefix/share/quillet/gfx"
cmp -s "$work/built/quillet1.jpg" "$work/installed/quillet1.jpg" ||
  fail "the installed window does not look like the build folder's"
if cmp -s "$work/installed/quillet1.jpg" "$work/bare/quillet1.jpg"; then
  fail "the window looks the same without its themes: the installed theme is not used"
fi

# bash-completion's own loader finds the installed completion by the program's name.
if [[ -r /usr/share/bash-completion/bash_completion ]]; then
  XDG_DATA_DIRS=$prefix/share bash --norc -c '
    source /usr/share/bash-completion/bash_completion
    __load_completion quillet && [[ $(complete -p quillet) == *"-F _quillet quillet" ]]' ||
    fail "bash-completion does not load the installed completion"
fi

if ((failures > 0)); then
  echo "$failures install check(s) failed"
  exit 1
fi
echo "install: every file in place; the installed program converts, finds its themes and its manual"
