#!/usr/bin/env bash
# Runs every fuzz harness of a fuzz build (make fuzz) for a bounded time,
# several at once: first over its kept regression inputs
# (tests/fuzz/regressions/<name>/), then fuzzing from its seeds
# (tests/fuzz/seeds/<name>/, the examples, small cuts of ../shared/data/).
# Each harness works in a scratch folder of its own, with no standard input
# (the console pause of a reader then never waits). A finding is saved
# under <build>/fuzz-runs/<name>/ and the script ends with status 1.
#
# Usage: tools/run-fuzzers.sh BUILD_DIR [SECONDS] [JOBS]
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?usage: run-fuzzers.sh BUILD_DIR [SECONDS] [JOBS]}" && pwd)"
seconds="${2:-30}"
jobs="${3:-4}"
runs="$build/fuzz-runs"
rm -rf "$runs" && mkdir -p "$runs"

harnesses=()
for exe in "$build"/tests/fuzz/fuzz_*; do
  [ -x "$exe" ] && [ -f "$exe" ] && harnesses+=("$exe")
done
if [ ${#harnesses[@]} -eq 0 ]; then
  echo "no fuzz harness in $build/tests/fuzz" >&2
  exit 1
fi

# Seeds of one harness: its own, plus the shipped examples and cuts of the
# real models for the readers of text graphs.
seed() {
  local name="$1" corpus="$2"
  mkdir -p "$corpus"
  [ -d "$root/tests/fuzz/seeds/$name" ] && cp "$root/tests/fuzz/seeds/$name"/* "$corpus"/ 2>/dev/null
  if [ "$name" = model_graph ]; then
    cp "$root"/examples/*.txt "$corpus"/ 2>/dev/null
    for model in "$root"/../shared/data/*.txt; do
      [ -f "$model" ] && head -n 60 "$model" > "$corpus/cut-$(basename "$model")"
    done
  fi
  return 0
}

run_one() {
  local exe="$1" name work status
  name="$(basename "$exe")"; name="${name#fuzz_}"
  work="$runs/$name"
  mkdir -p "$work/scratch"
  seed "$name" "$work/corpus"
  local regressions="$root/tests/fuzz/regressions/$name"
  status=0
  if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    (cd "$work/scratch" && "$exe" -rss_limit_mb=2048 "$regressions"/* < /dev/null > "$work/regressions.log" 2>&1) || status=1
  fi
  if [ $status -eq 0 ]; then
    (cd "$work/scratch" && "$exe" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len=4096 \
      -artifact_prefix="$work/" -print_final_stats=1 "$work/corpus" < /dev/null > "$work/fuzz.log" 2>&1) || status=1
  fi
  if [ $status -eq 0 ]; then
    echo "fuzz_$name: $(grep -a -m1 'stat::number_of_executed_units' "$work/fuzz.log" | awk '{print $2}') inputs, no finding"
  else
    echo "fuzz_$name: FINDING (see $work/)"
    tail -n 40 "$work/regressions.log" "$work/fuzz.log" 2>/dev/null
  fi
  return $status
}

failed=0
pids=()
for exe in "${harnesses[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do sleep 1; done
  run_one "$exe" &
  pids+=($!)
done
for i in "${!pids[@]}"; do
  wait "${pids[$i]}" || failed=1
done
if [ $failed -ne 0 ]; then
  echo "fuzzing found a fault" >&2
  exit 1
fi
echo "fuzzing: ${#harnesses[@]} harnesses, no finding"
