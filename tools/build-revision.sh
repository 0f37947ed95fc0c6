#!/usr/bin/env bash
# Builds the graphmat and mces programs of a git revision of this repository (not a
# test) in a scratch worktree, Release as `make build` does but without the
# tests, and leaves them in OUT_DIR/graphmat and OUT_DIR/mces. The worktree is removed
# afterwards; the working tree is not touched.
#
# Usage: tools/build-revision.sh REVISION OUT_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
revision="$1"
out="$2"
commit="$(git -C "$root" rev-parse --verify "$revision^{commit}")"
scratch="$(mktemp -d)"
cleanup() { git -C "$root" worktree remove --force "$scratch/src" > /dev/null 2>&1 || true; rm -rf "$scratch"; }
trap cleanup EXIT
git -C "$root" worktree add --detach "$scratch/src" "$commit" > /dev/null 2>&1
cmake -S "$scratch/src" -B "$scratch/build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF > /dev/null
cmake --build "$scratch/build" --target graphmat mces -j"$(nproc 2> /dev/null || echo 2)" > /dev/null
mkdir -p "$out"
cp "$scratch/build/graphmat" "$out/graphmat"
cp "$scratch/build/mces" "$out/mces"
echo "built $revision ($commit) into $out/graphmat"
