#!/usr/bin/env bash
# The demo: install what is needed, build, generate the sample ERP databases into ./demo and
# run every report on them from the command line. The workbooks land in ./demo/out. Then the
# desktop program opens on the default sample when there is a display; without one, the
# command that opens it is printed. The default sample is written straight into the folder
# the desktop program looks in ($TALVERS_BASE/kelmar), so nothing needs linking.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh

today=$(date +%F)
bin=build/apps
rm -rf demo
"$bin/talvers-sample" --out demo/base/kelmar --lines 2000 --today "$today" --variant default
"$bin/talvers-sample" --out demo/alternate --lines 2000 --today "$today" --variant alternate
mkdir -p demo/out

run() {
  echo "+ talvers-report $*"
  "$bin/talvers-report" "$@"
}

for variant in default alternate; do
  settings="demo/alternate/Talvers.qor"
  [ "$variant" = default ] && settings="demo/base/kelmar/Talvers.qor"
  run check --settings "$settings"
  run pendentes --settings "$settings" --output "demo/out/pendentes-$variant.xlsx"
  run fornecedor --settings "$settings" --output "demo/out/fornecedor-$variant.xlsx"
  run aprovisionamento --settings "$settings" --output "demo/out/aprovisionamento-$variant.xlsx"
done
run lista grupos --settings demo/base/kelmar/Talvers.qor
run series --settings demo/base/kelmar/Talvers.qor --output demo/out/series.xlsx

echo
echo "Workbooks written:"
ls -l demo/out
echo
desktop="TALVERS_BASE=$PWD/demo/base build/apps/talvers"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Opening the desktop program on the default sample: $desktop"
  TALVERS_BASE="$PWD/demo/base" build/apps/talvers
else
  echo "No display here. To open the desktop program on the default sample:"
  echo "  $desktop"
fi
