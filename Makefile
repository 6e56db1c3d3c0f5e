# Quillmere: make run | make test | make test-asan | make bench | make bench-peers | make faults | make fuzz | make format | make package | make install
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 4
CMAKE_GEN  := -G Ninja
export QT_QPA_PLATFORM ?= offscreen

.PHONY: all deps deps-run deps-bench deps-faults deps-fuzz deps-format deps-peers format format-check build run test test-asan faults fuzz fuzz-smoke bench bench-peers package install clean

all: build

deps:
	@bash scripts/install-deps.sh

deps-run:
	@bash scripts/install-deps.sh --run

deps-faults:
	@bash scripts/install-deps.sh --faults

deps-fuzz:
	@bash scripts/install-deps.sh --fuzz

deps-peers:
	@bash scripts/install-deps.sh --peers

deps-format:
	@bash scripts/install-deps.sh --format

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQUILLMERE_SANITIZE=ON

test-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j2

# The fault runs in their full form, one line per case at the end.
FAULTS_REPORT := $(abspath $(BUILD))/faults-report.txt
faults: deps-faults build
	@rm -f $(FAULTS_REPORT)
	@cd $(BUILD) && QUILLMERE_FAULTS=full QUILLMERE_FAULTS_REPORT=$(FAULTS_REPORT) \
	  ctest -L faults --output-on-failure; status=$$?; \
	  echo; echo "Fault runs:"; cat $(FAULTS_REPORT) 2>/dev/null; exit $$status

# Each fuzz target for FUZZ_SECONDS; fuzz-smoke only proves that they build
# and run (CI).
fuzz: deps-fuzz
	bash scripts/fuzz.sh $(FUZZ_SECONDS) $(FUZZ_BUILD)

fuzz-smoke: deps-fuzz
	bash scripts/fuzz.sh $(FUZZ_SMOKE_SECONDS) $(FUZZ_BUILD)

# Every C++ file in the repository's clang-format style; CI runs the check.
format: deps-format
	bash scripts/format.sh

format-check: deps-format
	bash scripts/format.sh --check

# The site check's rows compare with tidy and linkchecker: installed where
# missing, else those rows are skipped with a note.
deps-bench:
	-@bash scripts/install-deps.sh --bench

bench: deps-bench build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/quillmere_bench

# Quillmere beside Geany on the same 50 MB page under Xvfb (installs Geany,
# ripgrep, Xvfb and xdotool where missing); not part of make test.
bench-peers: deps-peers build
	python3 bench/peers/bench_peers.py $(BUILD)/quillmere

package: build
	cmake --build $(BUILD) --target package

install: build
	cmake --install $(BUILD)

run: deps-run build
	bash scripts/run.sh $(BUILD)/quillmere examples/site

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
