#!/bin/sh
# The benchmark loop on one generated pair, in a scratch folder bench-run/
# of the current folder: generate the pair, match it with the known matching
# as start solution, then with the search alone, and count the search's
# pairs that the known matching holds. Needs the executables in build/.
set -e
BIN="$(cd "$(dirname "$0")/.." && pwd)/build"
PATH="$BIN:$PATH"
rm -rf bench-run && mkdir -p bench-run/datasets/random bench-run/results && cd bench-run

graphgen pair 30 3 0.9 3 0.5 2 1 0 0 ./datasets/random/g 3 0 > generate.log
P=./datasets/random/g_30_3_0.9_3_0.5_2_1_0_0_0_3
WEIGHTS="-d 1 -g 0.5 -e 1 -y 1"

sh bat.txt > bat.log
graphmat -h 0 -i 0.5 $WEIGHTS -o ${P}A.csv -n ${P}B.csv -s 1 > known.log
echo "known matching as start solution:"
grep -a '^ \*\*\*\*\*\*\*\*\*\*' known.log
grep -a 'Matching Cost' known.log

graphmat -h 0 $WEIGHTS -o ${P}A.csv -n ${P}B.csv -s 1 > search.log
echo "search alone:"
grep -a 'Matching Cost' search.log
awk -F, 'NR == FNR { if (FNR > 6) known[$1 "," $2] = 1; next }
         $1 == "ns" { matched++; if (($2 "," $3) in known) right++ }
         END { print right + 0, "of", matched + 0, "matched pairs are known pairs" }' \
    ${P}.csv results/g_30_3_0.9_3_0.5_2_1_0_0_0_3A__g_30_3_0.9_3_0.5_2_1_0_0_0_3B__1__0.5__1__1__0__1.csv
