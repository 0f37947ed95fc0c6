#!/usr/bin/env bash
# Checks that the source folders form a one-way stack: a file includes only
# from its own folder or from a folder below it. Prints every upward include
# (file, line, the include and the two folders) and exits 1 when there is one.
# Tests may include any folder; they are not checked.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(graph solvers mces matching reports tunnel generators apps)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

status=0
for dir in "${layers[@]}"; do
  [ -d "$dir" ] || continue
  while IFS= read -r -d '' file; do
    lineno=0
    while IFS= read -r line || [ -n "$line" ]; do
      lineno=$((lineno + 1))
      [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^/\"]+)/ ]] || continue
      target=${BASH_REMATCH[1]}
      [ -n "${rank[$target]+set}" ] || continue
      if [ "${rank[$target]}" -gt "${rank[$dir]}" ]; then
        echo "upward include: $file:$lineno: ${line#"${line%%[![:space:]]*}"} ($dir/ may not use $target/)"
        status=1
      fi
    done < "$file"
  done < <(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' \) -print0 | sort -z)
done

if [ "$status" -eq 0 ]; then
  echo "layers: every include points down the stack (${layers[*]})"
fi
exit "$status"
