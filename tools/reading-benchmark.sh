#!/usr/bin/env bash
# Whole-process time and peak memory of reading graph files whose header
# claims more than the file holds, and of a clean real model for scale (not
# a test): each file is read by graphstats in its reader mode, as a user
# would read it. Usage: tools/reading-benchmark.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
[ -x "$build/graphstats" ] || make -C "$root" build > /dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p graphs logs
# A header of two million vertices over fifty junk lines, and over four lines.
{ echo "2000000,5"; for i in $(seq 0 49); do echo "junk line $i"; done; } > claim-junk.csv
printf '2000000,5\n0,a\n1,b\n0,1,1\n1999999,0,1\n' > claim-four.csv
runs=(
  "0 claim-junk.csv"
  "0 claim-four.csv"
  "12 $root/tests/data/commons-lang3-3.12.txt"
)
printf "%-40s %5s %8s %9s %7s\n" file mode wall-s peak-MB status
for run in "${runs[@]}"; do
  set -- $run
  status=0
  /usr/bin/time -f "%e %M" -o time.txt "$build/graphstats" -h "$1" "$2" > /dev/null 2> err.log || status=$?
  read -r wall mem < <(tail -n 1 time.txt)
  printf "%-40s %5s %8s %9d %7s\n" "$(basename "$2")" "$1" "$wall" $((mem / 1024)) "$status"
done
