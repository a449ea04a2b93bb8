# User commands: make test, make run, make bench. Each installs what it needs
# (as root on Debian 12) only when it is missing.

JOBS ?= $(shell nproc)
PACKAGES := build-essential cmake pkg-config git \
	qt6-base-dev libgl-dev qt6-multimedia-dev fonts-dejavu-core fonts-wqy-microhei \
	libusb-1.0-0-dev umockdev libumockdev-dev \
	googletest libgtest-dev libgmock-dev libbenchmark-dev \
	srecord clang libclang-rt-14-dev

.PHONY: test run bench deps build build-asan clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build -j $(JOBS)

build-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUENLET_SANITIZE=ON -DQUENLET_BENCH=OFF
	cmake --build build-asan -j $(JOBS)

test: build build-asan fuzz
	ctest --test-dir build -j $(JOBS) --output-on-failure
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --test-dir build-asan -j $(JOBS) --output-on-failure

# Fuzzing with clang's libFuzzer under AddressSanitizer and UBSan: every
# target of fuzz/ runs FUZZ_RUNS inputs grown from its seeds in fuzz/corpus,
# each bounded by FUZZ_SECONDS. Inputs that fail are kept in build-fuzz/.
FUZZ_RUNS ?= 100000
FUZZ_SECONDS ?= 30
.PHONY: fuzz
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENLET_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS)
	@for target in build-fuzz/fuzz/*_fuzz; do \
	  name=$$(basename $$target _fuzz); mkdir -p build-fuzz/corpus/$$name; \
	  seeds=fuzz/corpus/$$name; [ -d $$seeds ] || seeds=; \
	  if ! $$target -runs=$(FUZZ_RUNS) -max_len=1024 -max_total_time=$(FUZZ_SECONDS) \
	      -artifact_prefix=build-fuzz/ build-fuzz/corpus/$$name $$seeds > build-fuzz/$$name.log 2>&1; then \
	    cat build-fuzz/$$name.log; echo "fuzz: $$name FAILED"; exit 1; \
	  fi; \
	  echo "fuzz: $$name: $$(grep '^Done' build-fuzz/$$name.log)"; \
	done

run: build
	QUENLET_PROGRAMMER=$${QUENLET_PROGRAMMER:-sim} ./build/quenlet

bench: deps
	cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release
	cmake --build build-release -j $(JOBS) --target quenlet_bench quenlet_ui_bench
	./build-release/bench/quenlet_bench
	./build-release/bench/quenlet_ui_bench

clean:
	rm -rf build build-asan build-release
