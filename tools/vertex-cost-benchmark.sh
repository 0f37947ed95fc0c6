#!/usr/bin/env bash
# What a vertex made from a header's count costs in each program that reads
# graph files, beside the price the memory guard puts on it (not a test).
# Each program reads edge list graph files (reader mode 6: a header alone
# makes its vertices) or plain graph files (mode 0: a vertex line each) of
# N1 and N2 vertices; the measured cost is the difference of the peak
# resident memories over the difference of the vertices. A matching run
# (graphmat, logcost) is measured up to its first search move: its moves
# grow with its valid pairs, not with its vertices (docs/USAGE.md, "Limits").
# The guard's figure is read from its own refusal of a header of two
# billion vertices. Both graphs of graphmat and logcost are the file read;
# their cost is per vertex of either graph. mces reads the file as graph 1
# against a graph of one vertex (its pair tables are checked apart).
# Usage: tools/vertex-cost-benchmark.sh [BUILD_DIR] [N1 N2]
# (default 500000 1000000: about a minute and 3 GB at the peak).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" 2> /dev/null && pwd || echo "${1:-$root/build}")"
small="${2:-500000}"
large="${3:-1000000}"
[ -x "$build/graphstats" ] || make -C "$root" build > /dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p graphs logs results
: > empty.log
printf '1,0\n' > one.csv
printf '2000000000,0\n' > huge.csv
for n in "$small" "$large"; do
  printf '%s,0\n' "$n" > "e$n.csv"
  awk -v n="$n" 'BEGIN { print n ",0"; for (i = 0; i < n; i++) print i "," i }' > "p$n.csv"
done

# Peak resident KiB of a command; with a marker, the command is stopped when
# the marker first shows on its standard output.
peak_kb() {
  local marker="$1"
  shift
  /usr/bin/time -f "%M" -o peak.txt "$@" > run.out 2> run.err &
  local timer=$!
  if [ -n "$marker" ]; then
    while kill -0 "$timer" 2> /dev/null; do
      if grep -q -- "$marker" run.out 2> /dev/null; then
        local child
        child="$(pgrep -P "$timer" || true)"
        [ -n "$child" ] && kill "$child" 2> /dev/null
        break
      fi
      sleep 0.1
    done
  fi
  wait "$timer" 2> /dev/null || true
  tail -n 1 peak.txt
}

# The guard's bytes per vertex: its refusal "needs N GB for 2000000000
# vertices" (N whole from 100 GB on: within a byte per vertex).
guard_bytes() {
  "$@" > /dev/null 2> guard.err || true
  awk '/ GB for 2000000000 vertices/ {
         for (i = 1; i <= NF; i++) if ($i == "needs") { printf "%.0f", $(i + 1) * 1073741824 / 2e9; exit }
       }' guard.err
}

printf "%-28s %5s %14s %14s %12s %12s\n" program mode "peak-MB(N1)" "peak-MB(N2)" measured-B guard-B
# program, mode, marker, arguments with FILE for the file read
runs=(
  "graphstats|6||-h 6 FILE"
  "graphstats|0||-h 0 FILE"
  "graphmat|6|FF Content|-h 6 -d 1 -g 0.5 -e 1 -y 1 -o FILE -n FILE"
  "graphmat|0|FF Content|-h 0 -d 1 -g 0.5 -e 1 -y 1 -o FILE -n FILE"
  "logcost|6|FF Content|-h 6 -d 1 -g 0.5 -e 1 -y 1 -o FILE -n FILE -p empty.log"
  "mces|6||-o FILE -n one.csv"
  "reduce|6||-h 6 FILE FILE"
  "graphgen|0||shuffle 0 FILE 7 shuffled.csv"
)
for run in "${runs[@]}"; do
  IFS='|' read -r program mode marker arguments <<< "$run"
  peaks=()
  for n in "$small" "$large"; do
    file="e$n.csv"
    [ "$mode" = 0 ] && file="p$n.csv"
    # shellcheck disable=SC2086
    peaks+=("$(peak_kb "$marker" "$build/$program" ${arguments//FILE/$file})")
  done
  # Per vertex of either graph where a run reads the file twice.
  reads=1
  case "$program" in graphmat | logcost | reduce) reads=2 ;; esac
  measured=$(( (peaks[1] - peaks[0]) * 1024 / ((large - small) * reads) ))
  # The guard prices a vertex alike in every reader mode; its figure is
  # read in mode 6, where a header alone makes the vertices.
  guard_arguments="${arguments//-h 0/-h 6}"
  guard_arguments="${guard_arguments//shuffle 0/shuffle 6}"
  # shellcheck disable=SC2086
  guard="$(guard_bytes "$build/$program" ${guard_arguments//FILE/huge.csv})"
  [ -n "$guard" ] || guard="(accepted)"
  printf "%-28s %5s %14d %14d %12d %12s\n" "$program" "$mode" $((peaks[0] / 1024)) $((peaks[1] / 1024)) \
    "$measured" "$guard"
done
