#!/usr/bin/env bash
# Times JPEG -> Radiance HDR by the FreeImage road (load, ConvertToRGBF, Save) and by the
# streaming road (on two threads, and on one), against `vips copy` and the decode floor
# (`djpeg -dct int`, and the stream's own decoding with the rows discarded), on the large
# sample photos and a 24-megapixel image scaled up from one of them at run time.
# Prints the median wall and CPU time of RUNS runs and the peak resident memory, then ratios.
#
#   bench/hdr_components.sh [BUILD_DIR] [SAMPLES_DIR]
#   RUNS=5 by default.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
samples=${2:-/work/shared/samples}
runs=${RUNS:-5}
driver="$build/bench/hdr_components"
[[ -x $driver ]] || { echo "build $driver first (cmake --build $build)" >&2; exit 1; }
for tool in vips djpeg convert /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert "$samples/seeding_5312x2988.jpg" -resize '6000x4000!' -quality 92 "$work/big_6000x4000.jpg"
inputs=("$samples/seeding_5312x2988.jpg" "$samples/kleiber_6028x3391.jpg" "$work/big_6000x4000.jpg")

# median COLUMN FILE: the median of one column of numbers.
median() { awk -v c="$1" '{ print $c }' "$2" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# measure COMMAND...: runs the command $runs times; prints the median wall and CPU times in
# milliseconds and the largest peak resident memory in kilobytes.
measure() {
  local i start end
  : >"$work/runs.txt"
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    /usr/bin/time -f '%M %U %S' -o "$work/time.txt" "$@" >/dev/null
    end=$(date +%s%N)
    awk -v w=$(((end - start) / 1000000)) '{ printf "%d %d %d\n", w, ($2 + $3) * 1000, $1 }' "$work/time.txt" \
      >>"$work/runs.txt"
  done
  echo "$(median 1 "$work/runs.txt") $(median 2 "$work/runs.txt") $(sort -n -k3 "$work/runs.txt" | tail -1 | cut -d' ' -f3)"
}

printf '%-28s %-15s %9s %9s %9s\n' input road wall_ms cpu_ms peak_MB
for input in "${inputs[@]}"; do
  name=$(basename "$input")
  declare -A wall=() cpu=()
  for road in freeimage stream stream-1thread decode vips djpeg; do
    case $road in
      vips) result=$(measure vips copy "$input" "$work/vips.hdr") ;;
      djpeg) result=$(measure djpeg -dct int -outfile /dev/null "$input") ;;
      *) result=$(measure "$driver" "$road" "$input" "$work/$road.hdr") ;;
    esac
    read -r w c p <<<"$result"
    wall[$road]=$w
    cpu[$road]=$c
    printf '%-28s %-15s %9d %9d %9.1f\n' "$name" "$road" "$w" "$c" "$(awk -v p="$p" 'BEGIN { print p / 1024 }')"
  done
  if cmp -s "$work/freeimage.hdr" "$work/stream.hdr" && cmp -s "$work/freeimage.hdr" "$work/stream-1thread.hdr"; then
    same=identical
  else
    same=DIFFERENT
  fi
  awk -v n="$name" -v s="${wall[stream]}" -v f="${wall[freeimage]}" -v v="${wall[vips]}" -v d="${wall[djpeg]}" \
    -v cs="${cpu[stream]}" -v cv="${cpu[vips]}" -v cd="${cpu[djpeg]}" -v o="${cpu[decode]}" -v same="$same" 'BEGIN {
      printf "%-28s stream/freeimage %.2f  stream/vips %.2f (cpu %.2f)  stream/djpeg %.2f (cpu %.2f)", n, s / f, s / v, cs / cv, s / d, cs / cd
      printf "  cpu stream/own decode %.2f  output %s\n", cs / o, same }'
  unset wall cpu
done
