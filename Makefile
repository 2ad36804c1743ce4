# Wraps CMake. `make run` and `make test` install what is missing first.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc)
PREFIX     ?= $(CURDIR)/dist

.PHONY: deps configure build test run package bench test-sanitize fuzz format install clean

# Any sanitizer report ends the process with SIGABRT: a test cannot pass, and no exit code that
# a test expects (a command line's 1, say) can hide it.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:abort_on_error=1

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_WERROR=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The portable folder: everything in $(PREFIX)/lib/tolvane/, run from there.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --component portable

# Starts the installed program from its folder, beside tolvane-build, system/, Styles/ and temp/.
# Qt's web engine refuses to run as root unless Chromium's sandbox is off.
run: install
	@if [ "$$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi; \
	    exec "$(PREFIX)/lib/tolvane/Tolvane"

# The Debian package, in $(BUILD)/package/, checked by lintian (which fails on an error).
package: build
	cmake --build $(BUILD) --target package
	lintian --fail-on error $(BUILD)/package/*.deb

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_WERROR=ON \
	    -DTOLVANE_SANITIZE=ON -DTOLVANE_WITH_QT=OFF
	cmake --build $(SAN_BUILD) -j $(JOBS)
	$(SANITIZER_ENV) ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)

# libFuzzer targets, built with clang under ASan and UBSan; each runs FUZZ_SECONDS.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTOLVANE_WERROR=ON \
	    -DTOLVANE_FUZZ=ON -DTOLVANE_WITH_QT=OFF -DTOLVANE_TESTS=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	$(SANITIZER_ENV) ./fuzz/run-all $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The browser benchmark (bench/data/chromium) also needs Chromium, Node.js and the manual pages.
bench:
	./scripts/install-deps --bench
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DTOLVANE_BENCH=ON \
	    -DTOLVANE_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	./bench/run-all $(BENCH_BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
