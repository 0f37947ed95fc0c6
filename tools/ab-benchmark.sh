#!/usr/bin/env bash
# A/B benchmark of two builds of graphmat (not a test): runs a default
# matching of each real pair with the reference build and the new build in
# turn (A B A B ...), ROUNDS times each, and reports per pair the median of
# user+system processor seconds and the largest peak resident memory of each
# build, with the ratios new / reference. Alternating keeps the load of a
# shared machine about equal on both sides; processor time (not wall time)
# is what is compared.
#
# Usage: tools/ab-benchmark.sh REF NEW [ROUNDS (default 3)] [extra graphmat switches...]
#   REF and NEW are build directories holding graphmat, or git revisions,
#   which are built first with tools/build-revision.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
program() {  # build dir or revision, scratch name
  if [ -d "$1" ]; then
    echo "$(cd "$1" && pwd)/graphmat"
  else
    "$root/tools/build-revision.sh" "$1" "$work/$2" >&2
    echo "$work/$2/graphmat"
  fi
}
ref="$(program "$1" ref-build)"
new="$(program "$2" new-build)"
rounds="${3:-3}"
shift $(( $# < 3 ? $# : 3 ))
extra=("$@")
data="$root/tests/data"

pairs=(
  "junit-3.8.2 junit-4.13.2"
  "commons-lang-2.6 commons-lang3-3.12"
)

# One run: prints "cpu-seconds peak-kB".
run() {  # binary, graph 1, graph 2
  rm -rf "$work/run"; mkdir -p "$work/run/results"
  (cd "$work/run" && /usr/bin/time -f "%U %S %M" -o time.txt "$1" -d 1 -g 0.5 -e 1 -y 1 ${extra[@]+"${extra[@]}"} \
     -o "$data/$2.txt" -n "$data/$3.txt" > /dev/null 2>&1 || true)
  awk '{ printf "%.2f %d\n", $1 + $2, $3 }' "$work/run/time.txt"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf "%-40s %10s %10s %6s %10s %10s %6s\n" pair ref-cpu-s new-cpu-s ratio ref-MB new-MB ratio
for pair in "${pairs[@]}"; do
  set -- $pair
  : > "$work/ref.txt"; : > "$work/new.txt"
  for ((r = 0; r < rounds; ++r)); do
    run "$ref" "$1" "$2" >> "$work/ref.txt"
    run "$new" "$1" "$2" >> "$work/new.txt"
  done
  rc=$(cut -d' ' -f1 "$work/ref.txt" | median); nc=$(cut -d' ' -f1 "$work/new.txt" | median)
  rm_=$(cut -d' ' -f2 "$work/ref.txt" | sort -n | tail -1); nm=$(cut -d' ' -f2 "$work/new.txt" | sort -n | tail -1)
  awk -v p="$1 / $2" -v rc="$rc" -v nc="$nc" -v rm="$rm_" -v nm="$nm" 'BEGIN {
    printf "%-40s %10.2f %10.2f %6.2f %10.1f %10.1f %6.2f\n", p, rc, nc, nc / rc, rm / 1024, nm / 1024, nm / rm }'
done
