#!/usr/bin/env bash
# Builds a reference revision and the working tree side by side and compares
# every output file of their runs byte for byte with tools/compare-runs.sh
# (not a test). The working tree is built into build/ as `make build` does.
#
# Usage: tools/compare-with-revision.sh REVISION [quick|full] [inserted]
#   COMPARE_SLOW=1 adds the slow runs of the largest pair (see compare-runs.sh).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
revision="$1"
shift
reference="$(mktemp -d)"
trap 'rm -rf "$reference"' EXIT
"$root/tools/build-revision.sh" "$revision" "$reference"
make -C "$root" build > /dev/null
"$root/tools/compare-runs.sh" "$reference" "$root/build" "$@"
