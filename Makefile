# Entry points: `make test` builds everything and runs all tests;
# `make demo` builds the driver and matches the two shipped example models.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 30

.PHONY: build test sanitize fuzz demo clean

# Everything: the library, every program and the tests (needs GoogleTest).
build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON
	cmake --build $(BUILD) -j$(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

# The same tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS=-O1 -DGRAPHMAT_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS)

# Every reader's libFuzzer harness (tests/fuzz/), built with clang and the
# sanitizers, run FUZZ_SECONDS each, JOBS at once, after its kept
# regression inputs.
fuzz:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=None \
		-DCMAKE_CXX_FLAGS="-O1 -g" -DGRAPHMAT_FUZZ=ON -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(JOBS)

# Matches the two example models in a scratch folder demo-run/ (with the
# ./results/ folder the tool writes into) and prints what was found. It builds
# only the graphmat program, so it needs no test framework; the build shows
# its progress; the whole console output of the run goes to demo-run/run.log.
DEMO_WEIGHTS = -d 1 -g 0.5 -e 1 -y 1
demo:
	@echo "Building graphmat (the first time 70 to 90 seconds on two cores; the build shows its progress),"
	@echo "then matching examples/shop-v1.txt against examples/shop-v2.txt in demo-run/ ..."
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF > /dev/null
	cmake --build $(BUILD) -j$(JOBS) --target graphmat
	rm -rf demo-run && mkdir -p demo-run/results
	cd demo-run && ../$(BUILD)/graphmat $(DEMO_WEIGHTS) -o ../examples/shop-v1.txt -n ../examples/shop-v2.txt > run.log
	@echo
	@grep -a "No Matching Cost" demo-run/run.log
	@grep -a "^Matching Cost" demo-run/run.log
	@echo "(edit costs, lower is better; the first is priced with the pre-matched package tree in place,"
	@echo " so the empty matching itself costs 14750 here: docs/USAGE.md, \"Console output\")"
	@echo
	@tools/summary.sh demo-run/results
	@echo; echo "Console output: demo-run/run.log"; echo "Report files (docs/USAGE.md explains each):"; ls -1 demo-run/results | sed 's|^|  demo-run/results/|'

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(FUZZ_BUILD) demo-run
