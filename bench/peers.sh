#!/usr/bin/env bash
# Side by side, one process per document: our conversion (the harness,
# into PDF, PNG and SVG), unrtf (to HTML) and LibreOffice (to PDF), each
# where installed, on the same corpus documents. Prints the mean wall time
# per document of each and the ratio of ours to each peer.
#
#   bench/peers.sh [BUILD_DIR] [CORPUS_RTF_DIR] [DOCUMENTS...]
#
# UNRTF and SOFFICE name the peers' programs when they are not on the
# PATH (for example an unrtf unpacked with dpkg -x).
set -uo pipefail
BUILD=${1:-build}
CORPUS=${2:-/work/shared/corpus/rtf}
shift 2 2>/dev/null || true
DOCS=("$@")
[ ${#DOCS[@]} -eq 0 ] && DOCS=(wordpad_bazel_license.rtf word_rtfjs_sample.rtf libreoffice_rtfparser_sample_100kB.rtf)
HARNESS=$BUILD/tests/tools/convert-harness
UNRTF=${UNRTF:-$(command -v unrtf || true)}
SOFFICE=${SOFFICE:-$(command -v soffice || true)}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

now_ms() { date +%s%N | cut -c1-13; }
# Milliseconds of one run of a command.
time_ms() {
  local s e
  s=$(now_ms)
  timeout 300 "$@" >/dev/null 2>&1
  e=$(now_ms)
  echo $((e - s))
}

declare -A Total
tools=("ours-pdf" "ours-png" "ours-svg")
[ -n "$UNRTF" ] && tools+=("unrtf-html")
[ -n "$SOFFICE" ] && tools+=("lo-pdf")
for t in "${tools[@]}"; do Total[$t]=0; done

for d in "${DOCS[@]}"; do
  f=$CORPUS/$d
  [ -f "$f" ] || { echo "skipped $d: not found" >&2; continue; }
  for fmt in pdf png svg; do
    Total[ours-$fmt]=$((Total[ours-$fmt] + $(time_ms "$HARNESS" --input-rtf "$f" $fmt "$WORK/o")))
  done
  [ -n "$UNRTF" ] && Total[unrtf-html]=$((Total[unrtf-html] + $(time_ms "$UNRTF" --html "$f")))
  [ -n "$SOFFICE" ] && Total[lo-pdf]=$((Total[lo-pdf] + $(time_ms "$SOFFICE" --headless --convert-to pdf --outdir "$WORK" "$f")))
done

n=${#DOCS[@]}
printf '%-12s %10s\n' tool "ms/doc"
for t in "${tools[@]}"; do printf '%-12s %10s\n' "$t" $((Total[$t] / n)); done
for p in unrtf-html lo-pdf; do
  [ -n "${Total[$p]:-}" ] || continue
  for t in ours-pdf ours-png ours-svg; do
    awk -v a="${Total[$t]}" -v b="${Total[$p]}" -v t="$t" -v p="$p" 'BEGIN { if (b > 0) printf "%s / %s = %.2f\n", t, p, a / b }'
  done
done
