#!/bin/sh
# Peak memory of a conversion against the size of its input: plain text of
# SIZES megabytes (default 1 10 50) converted to PDF on the editor road
# (the text imported into the editor) and on the rich-edit road (the same
# text as RTF paragraphs, --input-rtf). Prints, per road and size, the
# seconds taken, the peak resident set and its ratio to the input size.
#   bench/peak_memory.sh BUILD_DIR [SIZES...]
set -eu
BUILD=${1:-build}
shift || true
SIZES=${*:-1 10 50}
HARNESS="$BUILD/tests/tools/convert-harness"
[ -x "$HARNESS" ] || { echo "no $HARNESS: build first" >&2; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
printf '%-10s %6s %8s %10s %6s\n' road MB seconds "peak MB" ratio
for MB in $SIZES; do
  # Lines of prose-like words, 70 bytes and a line end each.
  python3 - "$WORK/in.txt" "$WORK/in.rtf" "$MB" <<'PY'
import sys
txt, rtf, mb = sys.argv[1], sys.argv[2], int(sys.argv[3])
line = "The quick brown fox jumps over the lazy dog near the riverbank at dawn"
n = mb * 1024 * 1024 // (len(line) + 2)
with open(txt, "w", newline="") as f:
    for i in range(n): f.write(line + "\r\n")
with open(rtf, "w", newline="") as f:
    f.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ")
    for i in range(n): f.write(line + "\\par\r\n")
    f.write("}")
PY
  for ROAD in editor richedit; do
    if [ "$ROAD" = editor ]; then IN="$WORK/in.txt"; OPT=""; else IN="$WORK/in.rtf"; OPT="--input-rtf"; fi
    SIZE=$(stat -c %s "$IN")
    /usr/bin/time -f "%e %M" -o "$WORK/time" "$HARNESS" $OPT "$IN" pdf "$WORK/out.pdf" >/dev/null 2>"$WORK/err" \
      || { echo "$ROAD $MB MB failed: $(cat "$WORK/err")" >&2; continue; }
    read -r SECS KB <"$WORK/time"
    awk -v r="$ROAD" -v mb="$MB" -v s="$SECS" -v kb="$KB" -v size="$SIZE" \
      'BEGIN { printf "%-10s %6s %8s %10.1f %6.1f\n", r, mb, s, kb / 1024, kb * 1024 / size }'
    rm -f "$WORK"/out*
  done
done
