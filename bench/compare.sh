#!/usr/bin/env bash
# Converts real photos to Radiance HDR with quillet, ImageMagick and libvips side by side in one
# run, next to the decoding floor (djpeg, accurate integer DCT, output discarded). Each tool runs
# once to warm up and then RUNS times (default 5), the tools taking turns, and the script prints
# the median wall time, the median peak memory and the ratios quillet/vips, quillet/ImageMagick
# and quillet/djpeg, with the targets of a plain conversion: at most 1/2 of vips' time and 1/4 of
# ImageMagick's, at most 3 times the decoding floor from 20 megapixels up, under 64 MB at every
# size. A second table does resize 50 % + frame + text watermark in quillet and the same chain in
# ImageMagick (whose border is added around the picture where quillet's frame lies inside it).
# The load average is printed before and after: the figures are only as quiet as the machine.
#
# Usage: bench/compare.sh [SAMPLES_FOLDER]   (default: $QUILLET_BENCH_SAMPLES, else /work/shared/samples)
set -euo pipefail
cd "$(dirname "$0")/.."

samples=${1:-${QUILLET_BENCH_SAMPLES:-/work/shared/samples}}
runs=${RUNS:-5}
quillet=./build/src/app/quillet
magick=/usr/bin/convert  # ImageMagick itself, whatever else is first on PATH
vips=/usr/bin/vips
djpeg=/usr/bin/djpeg
font=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
text="Converted with Lumavane JPG to HDR"

for tool in "$magick" "$vips" "$djpeg" /usr/bin/time; do
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
inputs=("$samples/life_3088x2056_progressive.jpg" "$samples/seeding_5312x2988.jpg"
  "$samples/kleiber_6028x3391.jpg" "$tmp/big_6000x4000.jpg")

# Runs one command and appends "wall-seconds peak-kilobytes cpu-seconds" to the record file.
measure() {
  local record=$1
  shift
  /usr/bin/time -f '%e %M %U %S' -o "$tmp/last" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  awk '{print $1, $2, $3 + $4}' "$tmp/last" >>"$record"
}

median() {  # column number, file
  cut -d' ' -f"$1" "$2" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

megapixels() {
  local size
  size=$(/usr/bin/vipsheader -f width "$1")x$(/usr/bin/vipsheader -f height "$1")
  awk -v s="$size" 'BEGIN {split(s, d, "x"); printf "%.1f", d[1] * d[2] / 1e6}'
}

# The command of one road for one input, in the array `cmd`.
command_of() {
  local road=$1 input=$2
  case $road in
    quillet) cmd=("$quillet" -q -i "$input" -o "$tmp/quillet") ;;
    magick) cmd=("$magick" "$input" "$tmp/im.hdr") ;;
    vips) cmd=("$vips" copy "$input" "$tmp/vips.hdr") ;;
    djpeg) cmd=("$djpeg" -dct int -outfile /dev/null "$input") ;;
    quillet-chain)
      cmd=("$quillet" -q -i "$input" -o "$tmp/quillet" --WIDTH=50 --WIDTH-UNIT=PERCENT --HEIGHT=50
        --HEIGHT-UNIT=PERCENT --FR-SOLID-LEFT=20 --FR-SOLID-RIGHT=20 --FR-SOLID-TOP=20 --FR-SOLID-BOTTOM=20
        "--WM-TEXT=$text") ;;
    magick-chain)
      cmd=("$magick" "$input" -resize 50% -bordercolor '#000000' -border 20 -font "$font" -pointsize 14
        -fill white -gravity SouthEast -annotate +5+5 "$text" "$tmp/im.hdr") ;;
  esac
}

# Runs the given roads on one input RUNS + 1 times, taking turns; the first round warms up.
# Leaves the lines of measure() in $tmp/ROAD.txt.
run_roads() {
  local input=$1 road run
  shift
  for road in "$@"; do : >"$tmp/$road.txt"; done
  for run in $(seq 0 "$runs"); do
    for road in "$@"; do
      command_of "$road" "$input"
      if [ "$run" -eq 0 ]; then measure "$tmp/warm.txt" "${cmd[@]}"; else measure "$tmp/$road.txt" "${cmd[@]}"; fi
    done
  done
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; median of $runs runs after one warm-up"
echo
echo "Plain conversion (no step switched on): median wall time (s) and median peak memory (MB)"
printf '%-30s %4s | %7s %7s %7s %7s | %7s %7s %7s %7s | %6s %6s %7s | %s\n' \
  image MP quillet IM vips djpeg quillet IM vips djpeg q/vips q/IM q/djpeg targets
for input in "${inputs[@]}"; do
  run_roads "$input" quillet magick vips djpeg
  mp=$(megapixels "$input")
  awk -v n="$(basename "$input")" -v mp="$mp" \
    -v tq="$(median 1 "$tmp/quillet.txt")" -v tim="$(median 1 "$tmp/magick.txt")" \
    -v tv="$(median 1 "$tmp/vips.txt")" -v td="$(median 1 "$tmp/djpeg.txt")" \
    -v mq="$(median 2 "$tmp/quillet.txt")" -v mim="$(median 2 "$tmp/magick.txt")" \
    -v mv="$(median 2 "$tmp/vips.txt")" -v md="$(median 2 "$tmp/djpeg.txt")" 'BEGIN {
      missed = ""
      if (tq > tv / 2) missed = missed " time>vips/2"
      if (tq > tim / 4) missed = missed " time>IM/4"
      if (mp >= 19.5 && tq > 3 * td) missed = missed " time>3*djpeg"
      if (mq >= 64 * 1024) missed = missed " mem>=64MB"
      printf "%-30s %4s | %7.2f %7.2f %7.2f %7.2f | %7.1f %7.1f %7.1f %7.1f | %6.2f %6.2f %7.2f | %s\n",
        n, mp, tq, tim, tv, td, mq / 1024, mim / 1024, mv / 1024, md / 1024, tq / tv, tq / tim, tq / td,
        missed == "" ? "met" : "MISSED:" missed }' >>"$tmp/plain.txt"
  # CPU time (user + system) does not depend on how busy the machine is, as wall time does.
  awk -v n="$(basename "$input")" -v mp="$mp" \
    -v cq="$(median 3 "$tmp/quillet.txt")" -v cim="$(median 3 "$tmp/magick.txt")" \
    -v cv="$(median 3 "$tmp/vips.txt")" -v cd="$(median 3 "$tmp/djpeg.txt")" 'BEGIN {
      printf "%-30s %4s | %7.2f %7.2f %7.2f %7.2f | %6.2f %6.2f %7.2f\n",
        n, mp, cq, cim, cv, cd, cq / cv, cq / cim, cq / cd }' >>"$tmp/cpu.txt"
done
cat "$tmp/plain.txt"
echo
echo "The same runs: median CPU time, user + system (s)"
printf '%-30s %4s | %7s %7s %7s %7s | %6s %6s %7s\n' image MP quillet IM vips djpeg q/vips q/IM q/djpeg
cat "$tmp/cpu.txt"

echo
echo "Resize 50 % + 20-pixel black frame + text watermark: median wall time (s), peak memory (MB), CPU time (s)"
printf '%-30s %4s | %7s %7s | %7s %7s | %7s %7s | %6s %8s\n' image MP quillet IM quillet IM quillet IM q/IM "cpu q/IM"
for input in "${inputs[@]}"; do
  run_roads "$input" quillet-chain magick-chain
  awk -v n="$(basename "$input")" -v mp="$(megapixels "$input")" \
    -v tq="$(median 1 "$tmp/quillet-chain.txt")" -v tim="$(median 1 "$tmp/magick-chain.txt")" \
    -v mq="$(median 2 "$tmp/quillet-chain.txt")" -v mim="$(median 2 "$tmp/magick-chain.txt")" \
    -v cq="$(median 3 "$tmp/quillet-chain.txt")" -v cim="$(median 3 "$tmp/magick-chain.txt")" 'BEGIN {
      printf "%-30s %4s | %7.2f %7.2f | %7.1f %7.1f | %7.2f %7.2f | %6.2f %8.2f\n",
        n, mp, tq, tim, mq / 1024, mim / 1024, cq, cim, tq / tim, cq / cim }'
done
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
