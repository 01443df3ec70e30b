#!/usr/bin/env bash
# Counts that show whether the folders still mirror the libraries and whether the facts the
# reports share are written once. Reads the tracked sources (tests, test support and benchmarks
# aside); prints one line per count with what it should be, and the places behind a count that
# is off. Always exits 0: it informs, the reviewer decides.
#   bash scripts/layout_counts.sh
set -uo pipefail
cd "$(dirname "$0")/.."

sources=$(git ls-files '*.cpp' '*.h' | grep -v -E '(_test\.(cpp|h)$|^tests/|^bench/)')

count() {  # count <label> <aim> <places...>
  local label="$1" aim="$2"
  shift 2
  local n=$#
  printf '%-62s %3d   (aim %s)\n' "$label" "$n" "$aim"
  [ "$n" -gt 0 ] && [ "${SHOW_PLACES:-0}" = 1 ] && printf '    %s\n' "$@"
}

mapfile -t root < <(echo "$sources" | grep -E '^shell/[^/]+$')
count "files at shell/'s root" "<= 8" "${root[@]}"

mapfile -t qt < <(echo "$sources" | grep -v -E '(^|/)desktop/|_window\.(cpp|h)$|_dialog\.(cpp|h)$|^apps/talvers\.cpp$' |
  xargs grep -l -E '^#include <Q' 2>/dev/null)
count "Qt includes outside desktop/ and *_window/*_dialog files" "0" "${qt[@]}"

mapfile -t upward < <(echo "$sources" | grep '^shell/' |
  xargs grep -n -E '^#include "(reports|utility|apps)/' 2>/dev/null)
count "includes from shell/ up into reports/, utility/ or apps/" "0" "${upward[@]}"

mapfile -t pairs < <(echo "$sources" | xargs grep -n -E 'Connection&\s*\w*\s*,\s*(const\s+)?Connection&' 2>/dev/null)
count "signatures taking two connections" "0" "${pairs[@]}"

# A report's default dates: one calendar year before today (pending orders, orders by
# supplier), 1 January of this year (provisioning).
for report in pending/pending_orders supplier/orders_by_supplier provisioning/provisioning; do
  mapfile -t places < <(echo "$sources" | grep -v '^shell/dataaccess/date_time' |
    xargs grep -n -E 'oneYearEarlier\(\)|\.year, 1, 1\}' 2>/dev/null | grep "^reports/$report")
  count "places writing the default dates of ${report#*/}" "1" "${places[@]}"
done
mapfile -t elsewhere < <(echo "$sources" | grep -v -E '^shell/dataaccess/date_time|^reports/|^sample/' |
  xargs grep -n -E 'oneYearEarlier\(\)|\.year, 1, 1\}' 2>/dev/null)
count "places writing report default dates outside the reports" "0" "${elsewhere[@]}"

mapfile -t setBased < <(echo "$sources" | xargs grep -n -E '(=|\?|:)\s*LookupMode::SetBased' 2>/dev/null)
count "places where set-based lookups are the default" "<= 2" "${setBased[@]}"

mapfile -t clocks < <(echo "$sources" | xargs grep -n -E 'QDate::currentDate|QDateTime::currentDateTime|std::time\(' 2>/dev/null |
  grep -v '^shell/dataaccess/date_time')
count "clocks for today other than DateTime::now" "0" "${clocks[@]}"
