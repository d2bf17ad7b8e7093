#!/usr/bin/env bash
# The man page renders without a warning, has its sections, and names every option the
# program's own usage text names.
# Usage: man_page_test.sh MAN_PAGE QUILLET_EXECUTABLE
set -euo pipefail
page=$1
program=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

export MANWIDTH=80 LC_ALL=C.UTF-8 MAN_DISABLE_SECCOMP=1
man --warnings -l "$page" >"$work/page.txt" 2>"$work/warnings.txt"
if [[ -s $work/warnings.txt ]]; then
  echo "FAIL: man reports:"
  cat "$work/warnings.txt"
  exit 1
fi

failures=0
for heading in NAME SYNOPSIS DESCRIPTION OPTIONS "FILENAME MASK" "PROFILE FILES" "EXIT STATUS" FILES EXAMPLES \
  "SEE ALSO"; do
  grep -q "^$heading\$" "$work/page.txt" || { echo "FAIL: no section $heading"; failures=$((failures + 1)); }
done
for status in 0 1 2; do
  sed -n '/^EXIT STATUS$/,/^ENVIRONMENT$/p' "$work/page.txt" | grep -Eq "^ +$status +" ||
    { echo "FAIL: exit status $status is not described"; failures=$((failures + 1)); }
done

# Every option form of the usage text, as "-i", "--input" or "--width", is in the page.
XDG_RUNTIME_DIR=$work "$program" --help >"$work/usage.txt"
forms=$(grep -Eo -- '(^| )--?[a-z?][a-z-]*' "$work/usage.txt" | tr -d ' ' | sort -u)
[[ -n $forms ]] || { echo "FAIL: no options found in the usage text"; exit 1; }
for form in $forms; do
  grep -qF -- "$form" "$work/page.txt" || { echo "FAIL: $form is not in the man page"; failures=$((failures + 1)); }
done
# The keyword lists, read across the page's line breaks.
tr -s ' \n' '  ' <"$work/page.txt" >"$work/flat.txt"
grep -qF -- "--resize-algorithm=WORD Set resize algorithm. WORD is one of box, bilinear, bspline, bicubic, \
catmullrom, lanczos." "$work/flat.txt" || { echo "FAIL: the resize algorithms are not listed"; failures=$((failures + 1)); }

if ((failures > 0)); then
  echo "$failures man page check(s) failed"
  exit 1
fi
echo "man page: renders cleanly and names every option of the usage text"
