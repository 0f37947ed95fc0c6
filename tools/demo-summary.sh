#!/usr/bin/env bash
# Prints a short, readable summary of one matching run from the files it
# left under RESULTS_DIR: how many elements were matched, the matched ones
# whose names differ (old name -> new name), and the deleted and inserted
# ones. Usage: tools/demo-summary.sh RESULTS_DIR RUN_NAME
#   RUN_NAME is the stem of the result files, e.g.
#   shop-v1__shop-v2__1__0.5__1__1__0__1
set -euo pipefail
dir="$1"
run="$2"
result="$dir/$run.csv"                 # match result file: one "ns" row per matched pair
pairs="$dir/raw_$run.csv"              # raw pair list: matched pairs whose names differ
summary="$dir/$run.csv.csv.csv.csv"    # review summary: deleted and inserted elements
for f in "$result" "$pairs" "$summary"; do
  [ -r "$f" ] || { echo "demo-summary: cannot read $f" >&2; exit 1; }
done

# The lines of one titled section of the review summary: from the line after
# its title frame to the next frame.
section() {
  awk -v title="$1" '
    /^,,\*+ ?$/ { if (inside && seen) exit; if (inside) seen = 1; next }
    index($0, ",,*" title "*") == 1 { inside = 1; seen = 0; next }
    inside && seen && NF { print }
  ' "$summary"
}

matched=$(grep -c '^ns,' "$result" || true)
echo "Matched elements: $matched"
echo
echo "Matched elements whose names differ (old name -> new name):"
tail -n +2 "$pairs" | awk -F'","' '{ gsub(/^"/, "", $1); split($2, rest, /",/); printf "  %-7s %s -> %s\n", rest[2], $1, rest[1] }'
echo
echo "Deleted elements (only in the old version):"
section "Deleted classes" | sed 's/^/  /'
echo
echo "Inserted elements (only in the new version):"
section "Inserted classes" | sed 's/^/  /'
