# The two commands of the README, and a few more for developers.
#   make demo       build everything and run it on a generated sample collection
#   make test       build and run the whole test suite
#   make test-asan  the same suite under AddressSanitizer and UBSan
#   make bench      the benchmarks, side by side with reference tools
#   make fuzz-zip   run the ZIP reader's fuzzer (FUZZ_SECONDS=60)
#   make fuzz-journal  run the undo journal reader's fuzzer (FUZZ_SECONDS=60)
#   make fuzz-archive  run the fuzzer of the 7z and libarchive path (FUZZ_SECONDS=60)
#   make fuzz-dat   run the DAT readers' fuzzers (FUZZ_SECONDS=60 each)
#   make fuzz-csv   run the CSV report reader's fuzzer (FUZZ_SECONDS=60)
#   make install    install both programs (PREFIX=/usr/local)
#   make windows    cross-build build-windows/Vald2600.exe for 64-bit Windows
#   make test-windows  that build's test suite and end-to-end runs under Wine

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
PREFIX     ?= /usr/local
FUZZ_SECONDS ?= 60

.PHONY: all deps configure build demo test test-asan bench fuzz-zip fuzz-journal fuzz-archive \
	fuzz-dat fuzz-csv install format clean windows test-windows

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

demo: build
	bash scripts/demo.sh $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

$(ASAN_BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVALD_SANITIZE=ON -DVALD_BUILD_BENCH=OFF

test-asan: deps $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

bench: build
	bash scripts/bench.sh $(BUILD)

fuzz-zip: deps
	bash scripts/fuzz-zip.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-journal: deps
	bash scripts/fuzz-journal.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)
fuzz-archive: deps
	bash scripts/fuzz-archive.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)
fuzz-dat: deps
	bash scripts/fuzz-dat.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)
fuzz-csv: deps
	bash scripts/fuzz-csv.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

windows: deps
	JOBS=$(JOBS) bash scripts/windows.sh $(WINDOWS_BUILD) build

test-windows: deps
	JOBS=$(JOBS) bash scripts/windows.sh $(WINDOWS_BUILD) test

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

format:
	git ls-files '*.cpp' '*.h' | grep -v rom_table | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD)
