#!/bin/sh
# Runs convert-harness end to end on a corpus file for html, rtf and every
# engine format it lists, and checks its answers to bad calls. Exit 77
# (skipped) without the corpus.
set -u
HARNESS=$1
CORPUS=$2
IN="$CORPUS/rtf/abiword_striprtf_french.rtf"
[ -f "$IN" ] || { echo "corpus absent: skipped"; exit 77; }
WORK=$(mktemp -d) || exit 1
trap 'rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Every program this script starts, the harness too, has a time limit.
run() { timeout -k 5 300 "$@"; }

# Bad calls: one line on stderr, the status given.
run "$HARNESS" >/dev/null 2>"$WORK/err"; [ $? -eq 2 ] || fail "no arguments is not a usage error"
[ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "usage error is not one line"
run "$HARNESS" "$IN" nosuchformat "$WORK/x" 2>"$WORK/err"; [ $? -eq 3 ] || fail "unknown format accepted"
[ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "format error is not one line"
run "$HARNESS" "$WORK/missing.rtf" bmp "$WORK/x" 2>/dev/null; [ $? -eq 1 ] || fail "missing input accepted"

for FORMAT in html rtf $(run "$HARNESS" --list); do
  OUT="$WORK/out_$FORMAT.$FORMAT"
  run "$HARNESS" "$IN" "$FORMAT" "$OUT" >"$WORK/files" 2>"$WORK/err" || fail "$FORMAT: $(cat "$WORK/err")"
  [ -s "$WORK/files" ] || fail "$FORMAT: no output file named"
  while read -r F; do
    [ -s "$F" ] || fail "$FORMAT: $F missing or empty"
  done <"$WORK/files"
  case $FORMAT in
    html) run xmllint --html --noout "$OUT" 2>"$WORK/lint" && [ ! -s "$WORK/lint" ] || fail "html: $(cat "$WORK/lint")" ;;
    rtf) [ "$(head -c 5 "$OUT")" = '{\rtf' ] || fail "rtf: $OUT is not RTF" ;;
  esac
  # An empty input converts nothing and says so.
  : >"$WORK/empty.rtf"
  run "$HARNESS" "$WORK/empty.rtf" "$FORMAT" "$WORK/empty_$FORMAT" 2>/dev/null && fail "$FORMAT: empty input converted"
  echo "$FORMAT: ok"
done
exit 0
