#!/usr/bin/env bash
# Prints what one matching run found, read from the files it left under
# RESULTS_DIR: the total cost, the counts of matched, deleted and inserted
# vertices, then the classes apart from their members (methods and fields):
# those matched with a new name (old name -> new name), the deleted and the
# inserted ones.
#   tools/summary.sh RESULTS_DIR [RUN_NAME]
# RUN_NAME is the stem of the run's files (shop-v1__shop-v2__1__0.5__1__1__0__1);
# without it, the newest run in RESULTS_DIR is read.
#
# Files read: RUN.csv (the match result file: header, "ns" and "ni" rows),
# raw_GRAPH.csv of both graphs (name and category of every vertex, in vertex
# order), raw_RUN.csv_MERGES.csv (the members of merged blocks).
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ] || [ "$1" = "--help" ] || [ "$1" = "-help" ]; then
  echo "Usage: tools/summary.sh RESULTS_DIR [RUN_NAME]" >&2
  echo "  prints the total cost, the counts, and the classes and members matched with" >&2
  echo "  a new name, deleted and inserted by one run (the newest when RUN_NAME is not" >&2
  echo "  given)" >&2
  [ $# -ge 1 ] && { [ "$1" = "--help" ] || [ "$1" = "-help" ]; } && exit 0
  exit 1
fi
dir="${1%/}"
[ -d "$dir" ] || { echo "summary: no folder $dir" >&2; exit 1; }

if [ $# -eq 2 ]; then
  run="${2%.csv}"
else
  # The newest match result file: RUN.csv beside its raw pair list raw_RUN.csv.
  run=""
  while IFS= read -r file; do
    base="${file##*/}"
    case "$base" in
      raw_* | sem_* | _* | alternatives_* | *.csv.csv) continue ;;
    esac
    if [ -e "$dir/raw_$base" ]; then
      run="${base%.csv}"
      break
    fi
  done < <(ls -t "$dir" 2>/dev/null | grep '\.csv$' | sed "s|^|$dir/|")
  [ -n "$run" ] || { echo "summary: no match result file in $dir" >&2; exit 1; }
fi

result="$dir/$run.csv"
[ -r "$result" ] || { echo "summary: cannot read $result" >&2; exit 1; }
# The graph names: the run name without its six parameters.
graphs="$(printf '%s' "$run" | sed -E 's/(__[^_]*){6}$//')"
graph1="${graphs%%__*}"
graph2="${graphs#*__}"
entities1="$dir/raw_$graph1.csv"
entities2="$dir/raw_$graph2.csv"
merges="$dir/raw_$run.csv_MERGES.csv"
for f in "$entities1" "$entities2"; do
  [ -r "$f" ] || { echo "summary: cannot read $f" >&2; exit 1; }
done
[ -e "$merges" ] || merges=/dev/null

echo "Run $run (in $dir)"
awk -v entities1="$entities1" -v entities2="$entities2" -v merges="$merges" -v result="$result" '
  # A raw entity list line: "name","Category" (a method name holds commas;
  # after graphmat -w 1 the name has no quotes).
  function readEntities(path, name, category,    line, n, cut) {
    n = -1
    while ((getline line < path) > 0) {
      if (n >= 0) {
        cut = match(line, /,"[^"]*"$/)
        name[n] = substr(line, 1, cut - 1)
        if (name[n] ~ /^".*"$/) name[n] = substr(name[n], 2, length(name[n]) - 2)
        category[n] = substr(line, cut + 2, RLENGTH - 3)
      }
      n++
    }
    close(path)
    return n
  }
  # The member numbers of a vertex text: pieces "N_label_signature___", one after
  # the other (a piece with an empty signature ends in four "_").
  # Marks them matched and returns their names joined by " + ".
  function members(text, into, name,    number, names) {
    text = "___" text
    names = ""
    while (match(text, /___[0-9]+_/)) {
      number = substr(text, RSTART + 3, RLENGTH - 4) + 0
      into[number] = 1
      names = names (names == "" ? "" : " + ") name[number]
      text = substr(text, RSTART + RLENGTH)
    }
    return names
  }
  function group(category) {
    if (category == "Class") return "class"
    if (category == "Method" || category == "Field") return "member"
    if (category == "Package") return "package"
    return "other"
  }
  function list(title, key, count,    k) {
    printf "%s:\n", title
    if (count == 0) { print "  (none)"; return }
    for (k = 1; k <= count; k++) print "  " lines[key, k]
  }
  function add(key, text) { lines[key, ++counts[key]] = text }
  BEGIN {
    n1 = readEntities(entities1, name1, cat1)
    n2 = readEntities(entities2, name2, cat2)
    merged = 0
    while ((getline line < merges) > 0) {
      # "vertex text 1","vertex text 2",Category,similarity
      split(line, sides, "\",\"")
      old = members(substr(sides[1], 2), matched1, name1)
      add("merged", old " -> " members(sides[2], matched2, name2))
      merged++
    }
    while ((getline line < result) > 0) {
      if (line ~ /^Cost:/) { split(line, head, " "); cost = substr(head[1], 6) }
      if (line !~ /^n[si],/) continue
      split(line, f, ",")
      if (f[1] == "ni") { inserted[f[2] + 0] = 1; continue }
      x = f[2] + 0; y = f[3] + 0
      pairs++
      if (x >= n1 || y >= n2) continue   # a merged block: its members come from the merge list
      matched1[x] = 1; matched2[y] = 1
      g = group(cat1[x])
      counts[g "matched"]++
      if (name1[x] != name2[y]) {
        renamed++
        text = name1[x] " -> " name2[y]
        if (g != "class") text = sprintf("%-7s %s", cat1[x], text)
        add(g "renamed", text)
      }
    }
    close(result)

    deleted = 0
    for (i = 0; i < n1; i++)
      if (!(i in matched1)) {
        deleted++; g = group(cat1[i])
        add(g "deleted", (g == "class" ? "" : sprintf("%-7s ", cat1[i])) name1[i])
      }
    insertedCount = 0
    for (j = 0; j < n2; j++)
      if (j in inserted) {
        insertedCount++; g = group(cat2[j])
        add(g "inserted", (g == "class" ? "" : sprintf("%-7s ", cat2[j])) name2[j])
      }

    printf "Total cost: %s\n", cost
    printf "Matched pairs: %d (%d with a new name, %d with a merged block); deleted: %d; inserted: %d\n",
           pairs, renamed, merged, deleted, insertedCount
    split("class member package other", groups, " ")
    split("Classes|Members (methods and fields)|Packages|Other vertices", titles, "|")
    for (k = 1; k <= 4; k++) {
      g = groups[k]
      printf "%s: %d matched (%d with a new name), %d deleted, %d inserted\n", titles[k],
             counts[g "matched"], counts[g "renamed"], counts[g "deleted"], counts[g "inserted"]
    }
    if (merged > 0) {
      print ""
      list("Merged blocks (old members -> new members)", "merged", merged)
    }
    for (k = 1; k <= 2; k++) {
      g = groups[k]
      print ""
      list(titles[k] " matched with a new name (old name -> new name)", g "renamed", counts[g "renamed"])
      list(titles[k] " deleted (only in the old version)", g "deleted", counts[g "deleted"])
      list(titles[k] " inserted (only in the new version)", g "inserted", counts[g "inserted"])
    }
  }
'
