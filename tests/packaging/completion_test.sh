#!/usr/bin/env bash
# The bash completion as a shell uses it: sourced into a plain bash, its function called with
# COMP_WORDS and COMP_CWORD set the way bash sets them, its answers compared word for word.
# Usage: completion_test.sh COMPLETION_FILE
set -uo pipefail
completion=$1
failures=0

# shellcheck source=/dev/null
source "$completion" || { echo "cannot source $completion"; exit 1; }

# complete WORD... : the words of a command line, the last one being completed.
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _quillet
}

# expect "what" "expected words" WORD... : the completion's answer, sorted, must be the words.
expect() {
  local what=$1 expected=$2 actual
  shift 2
  complete_words "$@"
  actual=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
  expected=$(printf '%s\n' $expected | sort | tr '\n' ' ')
  if [[ $actual != "$expected" ]]; then
    echo "FAIL: $what"
    echo "  words:    $*"
    echo "  expected: $expected"
    echo "  got:      $actual"
    failures=$((failures + 1))
  fi
}

# expect_has "what" WORD-THAT-MUST-BE-OFFERED WORD... / expect_lacks likewise.
expect_has() {
  local what=$1 word=$2
  shift 2
  complete_words "$@"
  [[ " ${COMPREPLY[*]} " == *" $word "* ]] || { echo "FAIL: $what: '$word' not offered for: $*"; failures=$((failures + 1)); }
}
expect_lacks() {
  local what=$1 word=$2
  shift 2
  complete_words "$@"
  [[ " ${COMPREPLY[*]} " != *" $word "* ]] || { echo "FAIL: $what: '$word' offered for: $*"; failures=$((failures + 1)); }
}

[[ $(complete -p quillet 2>/dev/null) == "complete -F _quillet quillet" ]] ||
  { echo "FAIL: quillet is not completed by _quillet"; failures=$((failures + 1)); }

algorithms="box bilinear bspline bicubic catmullrom lanczos"
# bash splits "--resize-algorithm=" into "--resize-algorithm" and "=" (COMP_WORDBREAKS holds "=").
expect "resize algorithms after =" "$algorithms" quillet -i a.jpg --resize-algorithm =
expect "resize algorithms by prefix" "box bilinear bspline bicubic" quillet -i a.jpg --resize-algorithm = b
expect "a keyword typed in capitals" "lanczos" quillet --resize-algorithm = LA
# Without "=" among the word breaks the option and its value are one word.
expect "one-word form" "--resize-algorithm=box --resize-algorithm=bilinear --resize-algorithm=bspline \
--resize-algorithm=bicubic --resize-algorithm=catmullrom --resize-algorithm=lanczos" quillet --resize-algorithm=
expect "other keyword lists" "topleft topcenter topright" quillet --wm-text-position = top
expect "compressions of one format" "none zlib1 zlib6 zlib9" quillet --png-compression =
expect "output types" "hdr" quillet -i a.jpg -c ""
expect "a free number" "" quillet --width =
expect "option names" "--resize-algorithm= --resize-type=" quillet -i a.jpg --resize-
expect "a switch" "--greyscale" quillet -i a.jpg --grey
expect_has "help in the first place" "--help" quillet -
expect_lacks "help later" "--help" quillet -i a.jpg -
expect_has "short forms" "-i" quillet -i a.jpg -

# Paths: JPEG files (and folders) for the input, folders for the output.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
mkdir "$folder/sub"
touch "$folder/a.jpg" "$folder/b.JPEG" "$folder/c.png" "$folder/d.hdr"
cd "$folder" || exit 1
expect "input files" "a.jpg b.JPEG sub" quillet -i ""
expect "input files, long form" "a.jpg b.JPEG sub" quillet --input = ""
expect "output folders" "sub" quillet -i a.jpg -o ""
expect "profile files" "a.jpg b.JPEG c.png d.hdr sub" quillet -i a.jpg --profile = ""
expect "a photo to open" "a.jpg b.JPEG sub" quillet ""
expect "the screenshot folder" "sub" quillet -t ""

if ((failures > 0)); then
  echo "$failures completion check(s) failed"
  exit 1
fi
echo "completion: all checks passed"
