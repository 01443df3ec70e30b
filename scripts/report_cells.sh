#!/usr/bin/env bash
# Writes every report's workbook on fixed samples and dumps their cells with the independent
# reader, one text file per workbook, so that two builds can be compared with diff:
#   bash scripts/report_cells.sh BUILD_DIR OUT_DIR [LINES]
#   diff -r OUT_BEFORE OUT_AFTER
# The samples (both company variants, two seeds) have a fixed reference day and every report
# gets explicit dates, so the cells do not depend on the day the script runs; only the titles
# carry today's date. Both ways of fetching lookups are run.
set -euo pipefail
build="$(cd "$1" && pwd)"
out="$2"
lines="${3:-1500}"
source_dir="$(cd "$(dirname "$0")/.." && pwd)"
reader="$source_dir/tests/support/xlsx_reader.py"
python="${TALVERS_PYTHON:-/usr/bin/python3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

for variant in default alternate; do
  for seed in 1 2; do
    sample="$work/$variant-$seed"
    "$build/apps/talvers-sample" --out "$sample" --seed "$seed" --lines "$lines" \
      --today 2026-06-30 --variant "$variant" >/dev/null
    for mode in conjunto linha; do
      settings="$sample/Talvers-$mode.qor"
      sed "s/^\[Talvers\]\$/[Talvers]\nConsultas=$mode/" "$sample/Talvers.qor" >"$settings"
      grep -q "^Consultas=$mode" "$settings" || printf '[Talvers]\nConsultas=%s\n' "$mode" >>"$settings"
      name="$variant-$seed-$mode"
      run() {
        local report="$1"
        shift
        local status=0
        "$build/apps/talvers-report" "$report" --settings "$settings" \
          --output "$work/$name-$report.xlsx" "$@" 2>"$work/err" >"$out/$name-$report.out" ||
          status=$?
        echo "exit $status" >>"$out/$name-$report.out"
        if [ -f "$work/$name-$report.xlsx" ]; then
          "$python" "$reader" "$work/$name-$report.xlsx" >"$out/$name-$report.cells"
        fi
      }
      run pendentes --date 2025-06-30
      run fornecedor --date 2025-06-30
      run aprovisionamento --from 2026-01-01 --to 2026-06-30
      run series
    done
  done
done
echo "report_cells: $(ls "$out"/*.cells | wc -l) workbooks dumped into $out"
