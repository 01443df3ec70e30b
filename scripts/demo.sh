#!/usr/bin/env bash
# The demo: install what is needed, build, generate the sample ERP databases into ./demo and
# run every report on them from the command line. The workbooks land in ./demo/out.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

today=$(date +%F)
bin=build/apps
rm -rf demo
"$bin/talvers-sample" --out demo/default --lines 2000 --today "$today" --variant default
"$bin/talvers-sample" --out demo/alternate --lines 2000 --today "$today" --variant alternate
mkdir -p demo/out

run() {
  echo "+ talvers-report $*"
  "$bin/talvers-report" "$@"
}

for variant in default alternate; do
  settings="demo/$variant/Talvers.qor"
  run check --settings "$settings"
  run pendentes --settings "$settings" --output "demo/out/pendentes-$variant.xlsx"
  run fornecedor --settings "$settings" --output "demo/out/fornecedor-$variant.xlsx"
  run aprovisionamento --settings "$settings" --output "demo/out/aprovisionamento-$variant.xlsx"
done
run lista grupos --settings demo/default/Talvers.qor
run series --settings demo/default/Talvers.qor --output demo/out/series.xlsx

echo
echo "Workbooks written:"
ls -l demo/out
echo
echo "Desktop program on the sample: build/apps/talvers with TALVERS_BASE pointing at the sample:"
echo "  mkdir -p demo/base && ln -sfn ../default demo/base/kelmar && TALVERS_BASE=\$PWD/demo/base build/apps/talvers"
