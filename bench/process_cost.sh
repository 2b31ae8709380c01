#!/usr/bin/env bash
# The fixed cost of one conversion process: the harness run as a whole
# process on an empty, a one-line and a one-page document, into PDF, PNG
# and SVG, with the desktop's Type 1 and OpenType CFF faces (URW base 35)
# visible to fontconfig and hidden from it. Prints the mean wall time of a
# process in milliseconds and the ratio with/without those faces: font
# discovery is cached by fontconfig and done once per process, so the
# extra faces must cost next to nothing.
#
#   bench/process_cost.sh [BUILD_DIR] [URW_FONT_DIR] [RUNS]
#
# Last, a long document of the corpus (61 pages) to PDF, with the system's
# fonts, when the corpus is beside the clone (or in $SX_CORPUS_DIR).
#
# URW_FONT_DIR defaults to the folder fonts-urw-base35 installs; point it at
# an unpacked copy (dpkg -x) to measure on a machine without the package.
set -euo pipefail
BUILD=${1:-build}
URW=${2:-/usr/share/fonts}
RUNS=${3:-15}
HARNESS=$BUILD/tests/tools/convert-harness
[ -x "$HARNESS" ] || { echo "no harness at $HARNESS (build first)" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# fontconfig setups: the system's with the URW faces added, and the
# system's with every URW face rejected.
cat > "$WORK/with.conf" <<EOF
<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><include>/etc/fonts/fonts.conf</include><dir>$URW</dir>
<cachedir>$WORK/cache-with</cachedir></fontconfig>
EOF
cat > "$WORK/without.conf" <<EOF
<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><include>/etc/fonts/fonts.conf</include>
<selectfont><rejectfont><glob>*urw-base35*</glob><glob>*/X11/Type1/*</glob></rejectfont></selectfont>
<cachedir>$WORK/cache-without</cachedir></fontconfig>
EOF
if [ -z "$(FONTCONFIG_FILE=$WORK/with.conf fc-list ':fontformat=Type 1' file)" ]; then
  echo "no Type 1 faces under $URW: the comparison would measure nothing" >&2
  exit 1
fi

printf '{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}}' > "$WORK/empty.rtf"
printf '{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}}\\f0\\fs24 One line of text.\\par}' > "$WORK/line.rtf"
{
  printf '{\\rtf1\\ansi{\\fonttbl{\\f0 Times New Roman;}{\\f1 Arial;}{\\f2 Courier New;}}\\f0\\fs24 '
  for I in $(seq 1 30); do
    printf 'Paragraph %s of a page: {\\b bold}, {\\i italic}, {\\f1 sans} and {\\f2 mono} words on one line.\\par ' "$I"
  done
  printf '}'
} > "$WORK/page.rtf"

now_ms() { date +%s%N | cut -c1-13; }

# Mean milliseconds of one process, after one warm-up run (the file cache).
measure() {
  local conf=$1 doc=$2 fmt=$3
  FONTCONFIG_FILE=$conf timeout 120 "$HARNESS" --input-rtf "$doc" "$fmt" "$WORK/out" >/dev/null 2>&1 || true
  local start end
  start=$(now_ms)
  for _ in $(seq 1 "$RUNS"); do
    FONTCONFIG_FILE=$conf timeout 120 "$HARNESS" --input-rtf "$doc" "$fmt" "$WORK/out" >/dev/null 2>&1 || true
  done
  end=$(now_ms)
  echo $(( (end - start) / RUNS ))
}

printf '%-6s %-5s %10s %10s %7s\n' doc format "without" "with" ratio
for doc in empty line page; do
  for fmt in pdf png svg; do
    a=$(measure "$WORK/without.conf" "$WORK/$doc.rtf" $fmt)
    b=$(measure "$WORK/with.conf" "$WORK/$doc.rtf" $fmt)
    ratio=$(awk -v a="$a" -v b="$b" 'BEGIN { if (a > 0) printf "%.2f", b / a; else print "-" }')
    printf '%-6s %-5s %8s ms %8s ms %7s\n' $doc $fmt "$a" "$b" "$ratio"
  done
done

LONG=${SX_CORPUS_DIR:-$(dirname "$0")/../../shared/corpus}/rtf/word_striprtf_bvwgt_large.rtf
if [ -f "$LONG" ]; then
  FONTCONFIG_FILE=$WORK/without.conf timeout 120 "$HARNESS" "$LONG" pdf "$WORK/long.pdf" >/dev/null 2>&1 || true
  start=$(now_ms)
  for _ in $(seq 1 "$RUNS"); do
    FONTCONFIG_FILE=$WORK/without.conf timeout 120 "$HARNESS" "$LONG" pdf "$WORK/long.pdf" >/dev/null 2>&1 || true
  done
  end=$(now_ms)
  printf '%-6s %-5s %8s ms\n' 61p pdf $(( (end - start) / RUNS ))
fi
