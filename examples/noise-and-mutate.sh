#!/bin/sh
# Noisy pairs and mutated copies, in a scratch folder noise-run/ of the
# current folder: a noisy pair and a mutated copy of its original (and of the shop model), each
# with its edit-path log, the cost of the logged correspondence next to the
# cost the search finds. Needs the executables in build/. With these
# weights both searches report the empty matching: docs/USAGE.md, "Things
# that surprise newcomers", tells why.
set -e
HERE="$(cd "$(dirname "$0")" && pwd)"
PATH="$HERE/../build:$PATH"
rm -rf noise-run && mkdir -p noise-run/benchmark noise-run/logs noise-run/results && cd noise-run
WEIGHTS="-d 1 -g 0.5 -e 1 -y 1"

graphgen noise 1 20 3 7 > noise.log
echo "noisy pair, logged correspondence:"
logcost -h 0 $WEIGHTS -o benchmark/original_1.txt -n benchmark/noisy_1.txt -p benchmark/log_1.txt | tail -1
echo "noisy pair, search:"
graphmat -h 0 $WEIGHTS -o benchmark/original_1.txt -n benchmark/noisy_1.txt -s 1 | grep -a 'Matching Cost'

# The mutated copy is a plain graph file (reader mode 0), like its input here.
graphgen mutate 0 benchmark/original_1.txt 0.1 0.1 0.05 1 7 mutated.txt mutated.log > mutate.log
echo "mutated copy, logged correspondence:"
logcost -h 0 $WEIGHTS -o benchmark/original_1.txt -n mutated.txt -p mutated.log | tail -1
echo "mutated copy, search:"
graphmat -h 0 $WEIGHTS -o benchmark/original_1.txt -n mutated.txt -s 1 | grep -a 'Matching Cost'
# A model graph (reader mode 12) can be mutated as well.
graphgen mutate 12 "$HERE/shop-v1.txt" 0.1 0.1 0.05 1 7 shop-mutated.txt shop-mutated.log > mutate-shop.log
graphgen shuffle 0 benchmark/original_1.txt 7 shuffled.txt > shuffle.log
echo "files:"; ls benchmark logs mutated.txt mutated.log shop-mutated.txt shop-mutated.log shuffled.txt
