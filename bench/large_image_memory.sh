#!/usr/bin/env bash
# Peak memory of `glintext recognize` on the largest images Qt decodes (5,600 pixels square,
# just under its 128 MB allocation limit in RGB32): one sparse screenshot-like image and one
# covered with four blocks of 70 text lines. Target: peak resident set under 400 MB.
#
#   bench/large_image_memory.sh          (GLINTEXT_BIN defaults to build/src/glintext)
#
# Needs ImageMagick's convert and GNU time (/usr/bin/time). Exits 1 when a peak misses the
# target. The dense image takes a minute or two: it is a lot of text.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
BIN=${GLINTEXT_BIN:-$HERE/../build/src/glintext}
LIMIT_KB=$((400 * 1024))
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT

words=(settings display network keyboard window capture history clipboard language
  recognition shortcut screen folder preview)
lines=""
for i in $(seq 70); do
  line=""
  for j in $(seq 12); do line+="${words[$(( (i * 7 + j * 5) % ${#words[@]} ))]} "; done
  lines+="$line"$'\n'
done

convert -size 5600x5600 xc:white -font DejaVu-Sans -fill '#222222' \
  -pointsize 28 -annotate +100+200 'A large screenshot of several monitors' \
  -pointsize 40 -annotate +3000+4000 'Second block of text 12345' \
  -fill '#3070c0' -draw 'rectangle 2000,1000 2600,1400' -depth 8 "PNG24:$DIR/sparse.png"
convert -size 5600x5600 xc:white -font DejaVu-Sans -pointsize 26 -fill '#202020' \
  -annotate +60+80 "$lines" -annotate +2900+80 "$lines" -annotate +60+2900 "$lines" \
  -annotate +2900+2900 "$lines" -depth 8 "PNG24:$DIR/dense.png"

status=0
for image in sparse dense; do
  OMP_THREAD_LIMIT=1 /usr/bin/time -v "$BIN" recognize "$DIR/$image.png" >"$DIR/$image.txt" \
    2>"$DIR/$image.time"
  peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$DIR/$image.time")
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$DIR/$image.time")
  printf '%-7s peak %4d MB  wall %s  %d lines read\n' "$image" $((peak / 1024)) "$wall" \
    "$(wc -l <"$DIR/$image.txt")"
  [ "$peak" -lt "$LIMIT_KB" ] || status=1
done
exit $status
