#!/usr/bin/env bash
# Times the version-series tracker (not a test) on a generated series: ten
# versions of a class diagram of a few thousand classes, each version made
# from the one before by renaming, moving, adding and deleting classes and
# by editing members and relations, with the match result file of every
# consecutive pair written from the known correspondence (a matcher run on
# models of this size would take far longer than the tracker).
# Usage: tools/tunnel-benchmark.sh [classes (default 3000)] [versions (default 10)]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
classes="${1:-3000}"
versions="${2:-10}"
make -C "$root" build JOBS=4 > /dev/null
work="$(mktemp -d)"
trap '[ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT
mkdir -p "$work/results" "$work/matches"
cd "$work"

python3 - "$classes" "$versions" <<'PY'
import random, sys
classes, versions = int(sys.argv[1]), int(sys.argv[2])
rnd = random.Random(7)
types = ["int", "long", "double", "boolean", "String", "java.util.List", "java.util.Map"]
def word():
    return rnd.choice(["get", "set", "is", "add", "remove", "find", "load", "save", "make", "check"]) + \
        rnd.choice(["Name", "Value", "Item", "Order", "Size", "Key", "Node", "Entry", "State", "Count"])
def new_class(k):
    pkg = "org.bench.p%d" % rnd.randrange(40)
    attrs = ["private@%s@f%d" % (rnd.choice(types), i) for i in range(rnd.randrange(6))]
    meths = ["public@%s@%s%d@(%s)" % (rnd.choice(types), word(), i, ",".join(rnd.choice(types) for _ in range(rnd.randrange(3))))
             for i in range(rnd.randrange(1, 20))]
    return {"id": k, "label": "%s.C%d" % (pkg, k), "attrs": attrs, "meths": meths}

# The oldest version; every later one edits the one before.
next_id = 0
model = []
for _ in range(classes):
    model.append(new_class(next_id)); next_id += 1
rels = set()
while len(rels) < classes * 4:
    a, b = rnd.randrange(classes), rnd.randrange(classes)
    rels.add((model[a]["id"], model[b]["id"], rnd.choice("1123")))

series = [(model, rels)]
for v in range(1, versions):
    old, old_rels = series[-1]
    cur = []
    for c in old:
        if rnd.random() < 0.01: continue  # deleted
        c = {"id": c["id"], "label": c["label"], "attrs": list(c["attrs"]), "meths": list(c["meths"])}
        r = rnd.random()
        if r < 0.02: c["label"] = c["label"] + "Renamed%d" % v
        elif r < 0.03: c["label"] = "org.bench.moved%d.%s" % (v, c["label"].split(".")[-1])
        if rnd.random() < 0.05 and c["meths"]: c["meths"].pop(rnd.randrange(len(c["meths"])))
        if rnd.random() < 0.05: c["meths"].append("public@void@%sV%d@()" % (word(), v))
        if rnd.random() < 0.03 and c["meths"]:
            i = rnd.randrange(len(c["meths"])); p = c["meths"][i].split("@")
            c["meths"][i] = "@".join([p[0], p[1], p[2] + "X", p[3]])
        if rnd.random() < 0.03: c["attrs"].append("private@int@g%d" % v)
        cur.append(c)
    for _ in range(classes // 50):
        cur.append(new_class(next_id)); next_id += 1
    ids = {c["id"] for c in cur}
    new_rels = {r for r in sorted(old_rels) if r[0] in ids and r[1] in ids and rnd.random() > 0.02}
    id_list = sorted(ids)
    for _ in range(classes // 20):
        new_rels.add((rnd.choice(id_list), rnd.choice(id_list), rnd.choice("1123")))
    series.append((cur, new_rels))

def write_version(path, model, rels):
    pos = {c["id"]: i for i, c in enumerate(model)}
    with open(path, "w") as f:
        f.write("%d,%d\n" % (len(model), len(rels)))
        for i, c in enumerate(model): f.write("c,%d,%s\n" % (i, c["label"]))
        for i, c in enumerate(model):
            for a in c["attrs"]: f.write("a,%d,%s\n" % (i, a))
            for m in c["meths"]: f.write("m,%d,%s\n" % (i, m))
        for a, b, l in sorted(rels): f.write("r,%d,%d,%s\n" % (pos[a], pos[b], l))
    return pos

# Version k of the series (0 = newest) is step k of the list.
names = ["v%02d" % (versions - 1 - k) for k in range(versions)]  # oldest is v00
positions = []
for k, (model, rels) in enumerate(series):
    positions.append(write_version("v%02d.txt" % k, model, rels))
params = "__1__0.5__1__1__0__1.csv"
with open("series.txt", "w") as lst:
    for k in reversed(range(versions)): lst.write("g,v%02d.txt\n" % k)
    for k in reversed(range(1, versions)):
        old, new = series[k - 1][0], series[k][0]
        po, pn = positions[k - 1], positions[k]
        name = "matches/v%02d__v%02d%s" % (k - 1, k, params)
        with open(name, "w") as f:
            f.write("\nCost:0 SameLabels:0(0)/0(0) |V1|=%d |E1|=0 |V2|=%d |E2|=0\nPenalties : cnd=50\n" % (len(old), len(new)))
            f.write("\n\n NODES, #class1, #class2, class1, class2, ,,, raw cost, overall cost1, overall cost2\n\n")
            new_ids = {c["id"]: c for c in new}
            for c in old:
                if c["id"] in new_ids:
                    d = new_ids[c["id"]]
                    cost = 0 if (c == d) else 25 + 5 * abs(len(c["meths"]) - len(d["meths"]))
                    f.write("ns,%d,%d,%s,%s,,,,0,%d,%d,0\n" % (po[c["id"]], pn[c["id"]], c["label"], d["label"], cost, cost // 2))
            f.write("\n\n EDGES, src1, dest1, label1, src2, dest2, label2,, raw cost \n\n")
        lst.write("m,%s\n" % name)
PY

sizes=$(head -n 1 v00.txt)
/usr/bin/time -f "%e %U %M" -o time.txt "$root/build/tunnel" series.txt > run.log 2> err.log || { cat err.log; exit 1; }
read -r wall user mem < time.txt
printf "%s versions, oldest %s (classes,relations): wall %s s, processor %s s, peak %d MB\n" "$versions" "$sizes" "$wall" "$user" $((mem / 1024))
grep -a "tunnelSize" "results/raw_tunnel_v$(printf %02d $((versions - 1))).csv" | sed 's/^ */  /'
