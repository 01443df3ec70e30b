#!/usr/bin/env bash
# Counts the statements every report has SQLite prepare, over both connections, from outside
# the program: talvers-report runs with a preload library (libtalvers_prepare_count.so) that
# counts the prepare calls, start-up included (opening each database, the company query, the
# statements the document-key functions prepare for themselves). "program" counts what the
# program asks for; "sqlite" what SQLite prepares for itself meanwhile (reading each
# database's schema and statistics once). Samples of the given sizes in both company
# variants; one line per report and size.
#   bash bench/count_statements.sh BUILD_DIR LINES...      (e.g. 100000 300000)
# KEEP=1 keeps the samples and the lists of prepared statements in $TMPDIR/talvers-count.
set -euo pipefail
build="$(cd "$1" && pwd)"
shift
shim="$build/bench/libtalvers_prepare_count.so"
[ -f "$shim" ] || { echo "no $shim: build the bench folder first" >&2; exit 1; }
work="${TMPDIR:-/tmp}/talvers-count"
rm -rf "$work"
mkdir -p "$work"
[ "${KEEP:-0}" = 1 ] || trap 'rm -rf "$work"' EXIT

count() {  # count NAME SETTINGS REPORT ARGS...: prints the report's prepare count
  local name="$1" settings="$2" report="$3"
  shift 3
  local list="$work/$name.prepares"
  rm -f "$list"
  local status=0
  TALVERS_PREPARE_COUNT="$list" LD_PRELOAD="$shim" \
    "$build/apps/talvers-report" "$report" --settings "$settings" "$@" >/dev/null 2>&1 ||
    status=$?
  [ "$status" -le 2 ] || { echo "$name: talvers-report failed ($status)" >&2; exit 1; }
  awk -F'\t' '$1 == "total program" { p = $2 } $1 == "total sqlite" { s = $2 }
               END { printf "%11s %11s", p, s }' "$list"
}

printf '%-28s %8s %11s %11s\n' report lines program sqlite
for lines in "$@"; do
  for variant in default alternate; do
    sample="$work/$variant-$lines"
    "$build/apps/talvers-sample" --out "$sample" --lines "$lines" --today 2026-06-30 \
      --variant "$variant" >/dev/null
    settings="$sample/Talvers.qor"
    out="$work/out.xlsx"
    printf '%-28s %8s %s\n' "pendentes ($variant)" "$lines" \
      "$(count "pendentes-$variant-$lines" "$settings" pendentes --date 2025-06-30 --output "$out")"
    printf '%-28s %8s %s\n' "fornecedor ($variant)" "$lines" \
      "$(count "fornecedor-$variant-$lines" "$settings" fornecedor --date 2025-06-30 --output "$out")"
    printf '%-28s %8s %s\n' "aprovisionamento ($variant)" "$lines" \
      "$(count "aprovisionamento-$variant-$lines" "$settings" aprovisionamento --from 2026-01-01 \
        --to 2026-06-30 --output "$out")"
    printf '%-28s %8s %s\n' "series ($variant)" "$lines" \
      "$(count "series-$variant-$lines" "$settings" series --output "$out")"
    rm -rf "$sample"
  done
done
