#!/usr/bin/env bash
# Converts real photos to Radiance HDR with quillet, ImageMagick and libvips, alternating the
# three, five measured runs each after one warm-up, and prints the median wall time, the median
# peak memory and the ratios quillet/ImageMagick and quillet/vips.
#
# Usage: bench/compare.sh [SAMPLES_FOLDER]   (default: $QUILLET_BENCH_SAMPLES, else ../shared/samples)
set -euo pipefail
cd "$(dirname "$0")/.."

samples=${1:-${QUILLET_BENCH_SAMPLES:-../shared/samples}}
runs=5
quillet=./build/src/app/quillet
magick=/usr/bin/convert  # ImageMagick itself, whatever else is first on PATH
vips=/usr/bin/vips

for tool in "$magick" "$vips" /usr/bin/time; do
  [ -x "$tool" ] || { echo "missing $tool (run ./scripts/setup)" >&2; exit 1; }
done
[ -d "$samples" ] || { echo "no samples folder: $samples" >&2; exit 1; }
[ -x "$quillet" ] || ./scripts/build >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/run" "$tmp/quillet"
chmod 700 "$tmp/run"
export XDG_RUNTIME_DIR="$tmp/run"  # the instance lock of these runs only

# The 24-megapixel input is the 16-megapixel photo scaled up.
"$magick" "$samples/seeding_5312x2988.jpg" -resize '6000x4000!' -quality 92 "$tmp/big_6000x4000.jpg"
inputs=("$samples/life_3088x2056_progressive.jpg" "$samples/kleiber_6028x3391.jpg" "$tmp/big_6000x4000.jpg")

# Runs one conversion and appends "seconds kilobytes" to the tool's record.
measure() {
  local record=$1
  shift
  /usr/bin/time -f '%e %M' -o "$tmp/last" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  cat "$tmp/last" >>"$record"
}

median() {  # column number, file
  cut -d' ' -f"$1" "$2" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

printf '%-34s %6s | %8s %8s %8s | %8s %8s %8s | %9s %9s | %9s %9s\n' \
  image MP "quillet" "IM" "vips" "quillet" "IM" "vips" "time q/IM" "q/vips" "mem q/IM" "q/vips"
printf '%-34s %6s | %26s | %26s |\n' "" "" "median wall time (s)" "median peak memory (MB)"

for input in "${inputs[@]}"; do
  name=$(basename "$input")
  : >"$tmp/q.txt"; : >"$tmp/im.txt"; : >"$tmp/vips.txt"
  for run in $(seq 0 "$runs"); do
    [ "$run" -eq 0 ] && suffix=warm || suffix=txt
    measure "$tmp/q.$suffix" "$quillet" -q -i "$input" -o "$tmp/quillet"
    measure "$tmp/im.$suffix" "$magick" "$input" "$tmp/im.hdr"
    measure "$tmp/vips.$suffix" "$vips" copy "$input" "$tmp/vips.hdr"
  done
  pixels=$(/usr/bin/vipsheader -f width "$input")x$(/usr/bin/vipsheader -f height "$input")
  mp=$(awk -v s="$pixels" 'BEGIN {split(s, d, "x"); printf "%.1f", d[1] * d[2] / 1e6}')
  tq=$(median 1 "$tmp/q.txt"); tim=$(median 1 "$tmp/im.txt"); tv=$(median 1 "$tmp/vips.txt")
  mq=$(median 2 "$tmp/q.txt"); mim=$(median 2 "$tmp/im.txt"); mv=$(median 2 "$tmp/vips.txt")
  awk -v n="$name" -v mp="$mp" -v tq="$tq" -v tim="$tim" -v tv="$tv" -v mq="$mq" -v mim="$mim" -v mv="$mv" 'BEGIN {
    printf "%-34s %6s | %8.2f %8.2f %8.2f | %8.0f %8.0f %8.0f | %9.2f %9.2f | %9.2f %9.2f\n",
      n, mp, tq, tim, tv, mq / 1024, mim / 1024, mv / 1024, tq / tim, tq / tv, mq / mim, mq / mv }'
done
