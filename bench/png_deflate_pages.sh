#!/bin/sh
# Renders every corpus document to PNG pages through the conversion harness
# and runs the PNG deflate benchmark on them.
#   bench/png_deflate_pages.sh BUILD_DIR [CORPUS_DIR]
set -e
BUILD=${1:?build folder}
CORPUS=${2:-$(dirname "$0")/../../shared/corpus/rtf}
PAGES=$(mktemp -d)
trap 'rm -rf "$PAGES"' EXIT
for F in "$CORPUS"/*.rtf; do
  B=$(basename "$F" .rtf)
  timeout 120 "$BUILD/tests/tools/convert-harness" "$F" png "$PAGES/$B.png" >/dev/null 2>&1 || true
done
SX_PNG_PAGES=$PAGES "$BUILD/bench/png_deflate_bench" --benchmark_min_time=1
