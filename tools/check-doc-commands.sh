#!/usr/bin/env bash
# Runs every command shown in README.md, in the READMEs under examples/ and
# in docs/USAGE.md (their ```sh blocks, also those indented in a list), as
# written, and fails when one fails.
#   tools/check-doc-commands.sh [BUILD_DIR]     (default: build)
# The programs must be built in BUILD_DIR. Everything runs in a scratch copy
# of the work tree, whose build/ is BUILD_DIR, so nothing is left behind.
# Each block runs in a new shell (bash -e -o pipefail) from the folder of
# its README (README.md: the top of the work tree; docs/USAGE.md: the top
# of the work tree too, where its paths start), whatever folder an earlier
# block went to, and with the PATH this script was started with: a README
# block names the programs by their paths (build/graphmat), or sets PATH
# itself; only docs/USAGE.md, whose commands name the programs bare, runs
# with BUILD_DIR on PATH. Lines that set up or build (apt-get, make) are not
# run: CI does that itself. The blocks of one file share the scratch copy,
# in their order (a block may read what an earlier one wrote). So every
# ```sh block must run and succeed as written, in a new shell. A synopsis with
# placeholders (`evaluate RESULT_FILE DATASET`) belongs in a plain ```
# block, which is not run; a command shown failing is written `! command`
# (bash -e lets a negated command fail, and fails the block if it succeeds).
# After the READMEs (before docs/USAGE.md), in a git work tree, git must see
# nothing new in the copy but what .gitignore names: the output folders
# that the READMEs' commands make.
#   tools/check-doc-commands.sh BUILD_DIR tests
# then runs the tests of BUILD_DIR once more, with the examples read from
# the copy (GRAPHMAT_EXAMPLES), where the commands left their results: no
# test may depend on what a README's command leaves in examples/.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build="$(cd "${1:-build}" && pwd)"
rerunTests="${2:-}"
for program in graphmat mces graphgen graphstats tunnel evaluate logcost reduce; do
  [ -x "$build/$program" ] || { echo "check-doc-commands: $build/$program is not built" >&2; exit 1; }
done

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
copy="$scratch/repo"
mkdir -p "$copy" "$scratch/tmp"
tar -C "$root" --exclude=./.git --exclude='./build*' --exclude=./demo-run --exclude=./bench-run -cf - . |
  tar -C "$copy" -xf -
ln -s "$build" "$copy/build"

readmes=(README.md)
while IFS= read -r readme; do readmes+=("$readme"); done < <(cd "$root" && find examples -name README.md | sort)
readmes+=(docs/USAGE.md)

# What git sees in the copy that it neither tracks unchanged nor ignores
# (nothing when the work tree is no git checkout). The index is only read.
gitdir="$(git -C "$root" rev-parse --absolute-git-dir 2>/dev/null || true)"
gitSees() {
  [ -n "$gitdir" ] || return 0
  git -C "$copy" --git-dir="$gitdir" --work-tree="$copy" --no-optional-locks status --porcelain -- . ':!build' | LC_ALL=C sort
}
seenBefore="$(gitSees)"

failed=0
blocks=0
leftBehind=0
for readme in "${readmes[@]}"; do
  if [ "$readme" = docs/USAGE.md ]; then
    left="$(LC_ALL=C comm -13 <(printf '%s\n' "$seenBefore") <(printf '%s\n' "$(gitSees)") | sed '/^$/d')"
    if [ -n "$left" ]; then
      leftBehind=1
      echo "FAILED: the commands of the READMEs leave what .gitignore does not name (git status):" >&2
      printf '%s\n' "$left" | sed 's/^/    /' >&2
    fi
  fi
  # One file per block: its first line number, then its lines.
  rm -f "$scratch"/block-*
  # A block indented in a list loses its indentation.
  awk -v out="$scratch/block-" '
    /^[[:space:]]*```sh[[:space:]]*$/ {
      inside = 1; n++; file = sprintf("%s%03d", out, n); print NR + 1 > file
      indent = index($0, "`") - 1; next
    }
    /^[[:space:]]*```/ && inside { inside = 0; close(file); next }
    inside { print substr($0, 1, indent) ~ /^[[:space:]]*$/ ? substr($0, indent + 1) : $0 > file }
  ' "$copy/$readme"
  for block in "$scratch"/block-*; do
    [ -e "$block" ] || continue
    blocks=$((blocks + 1))
    line="$(head -n 1 "$block")"
    case "$readme" in
      docs/*) folder="$copy" ;;
      *) folder="$(dirname "$copy/$readme")" ;;
    esac
    path="$PATH"
    [ "$readme" = docs/USAGE.md ] && path="$copy/build:$PATH"
    script="$scratch/script.sh"
    tail -n +2 "$block" | sed -E 's/^(apt-get|make)( .*)?$/# not run here: &/' > "$script"
    if ! (cd "$folder" && PATH="$path" TMPDIR="$scratch/tmp" bash -e -o pipefail "$script") \
        > "$scratch/log" 2>&1; then
      failed=$((failed + 1))
      echo "FAILED: $readme, the block at line $line:" >&2
      sed 's/^/    /' "$script" >&2
      echo "  output (last lines):" >&2
      tail -n 15 "$scratch/log" | sed 's/^/    /' >&2
    fi
  done
done

if [ "$failed" -gt 0 ]; then
  echo "check-doc-commands: $failed of $blocks blocks failed" >&2
  exit 1
fi
if [ "$leftBehind" -ne 0 ]; then
  echo "check-doc-commands: all $blocks blocks ran, but the READMEs' commands leave files that git sees" >&2
  exit 1
fi
echo "check-doc-commands: all $blocks blocks ran"

if [ "$rerunTests" = tests ]; then
  echo "check-doc-commands: the tests once more, with the examples as the commands left them"
  GRAPHMAT_EXAMPLES="$copy/examples" ctest --test-dir "$build" --output-on-failure -j"${JOBS:-$(nproc)}"
fi
