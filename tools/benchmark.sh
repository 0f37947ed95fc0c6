#!/usr/bin/env bash
# Times matching runs on the real class diagrams under tests/data/ (not a
# test): for each pair, the wall-clock seconds and peak memory of the whole
# run, the processor seconds of the search ("Time"), the iterations and the
# costs. Usage: tools/benchmark.sh [extra graphmat switches...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
extra=("$@")
make -C "$root" build > /dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/results"
cd "$work"
pairs=(
  "junit-extensions-3.8.2 junit-extensions-4.13.2"
  "junit-framework-3.8.2 junit-framework-4.13.2"
  "junit-3.8.2 junit-4.13.2"
  "commons-lang-2.6 commons-lang3-3.12"
)
printf "%-50s %8s %9s %8s %6s %12s %12s\n" pair wall-s peak-MB search-s iter no-matching matching
for pair in "${pairs[@]}"; do
  set -- $pair
  /usr/bin/time -f "%e %M" -o time.txt "$root/build/graphmat" -d 1 -g 0.5 -e 1 -y 1 ${extra[@]+"${extra[@]}"} \
    -o "$root/tests/data/$1.txt" -n "$root/tests/data/$2.txt" > run.log 2> err.log || true
  read -r wall mem < time.txt
  search=$(grep -a "^Time : " run.log | sed 's/Time : //')
  iterations=$(grep -a "^Iterations : " run.log | sed 's/Iterations : //')
  empty=$(grep -a "No Matching Cost : " run.log | sed 's/.*: //')
  found=$(grep -a "^Matching Cost : " run.log | sed 's/.*: //')
  printf "%-50s %8s %9d %8s %6s %12s %12s\n" "$1 / $2" "$wall" $((mem / 1024)) "$search" "$iterations" "$empty" "$found"
done
