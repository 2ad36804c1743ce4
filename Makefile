# Wraps CMake. `make run` and `make test` install what is missing first.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
BENCH_BUILD ?= build-bench
JOBS       ?= $(shell nproc)
PREFIX     ?= $(CURDIR)/dist

.PHONY: deps configure build test run bench test-sanitize fuzz format install clean

deps:
	./scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_WERROR=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

run: install
	$(PREFIX)/$(shell echo lib)/tolvane/Tolvane

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_WERROR=ON \
	    -DTOLVANE_SANITIZE=ON -DTOLVANE_WITH_QT=OFF
	cmake --build $(SAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DTOLVANE_BENCH=ON \
	    -DTOLVANE_TESTS=OFF
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	./bench/run-all $(BENCH_BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(BENCH_BUILD)
