# The two commands of the project: `make` builds everything, `make test` runs every test.
# Both first install any missing Debian packages (scripts/setup-deps).

.PHONY: all test bench deps native win32 preview asan fuzz-build fuzz clean

all: native win32 preview

deps:
	@scripts/setup-deps

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native

# The win32 build takes the artwork the native build drew.
win32: native
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32

# The whole panel in cruise, drawn by the preview scenario.
preview: native
	@dist/bin/gaugehost run panel/scenarios/preview.scn --out dist

asan: native
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan

# The libFuzzer targets, built with clang; the test suite runs each briefly.
fuzz-build: native
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz

test: all asan fuzz-build
	ctest --preset native
	ctest --preset asan
	ctest --preset win32
	ctest --preset fuzz

# Long fuzzing runs: FUZZ_SECONDS each (default 600).
FUZZ_SECONDS ?= 600
fuzz: fuzz-build
	cmake --preset fuzz -DFUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	ctest --preset fuzz --timeout $$(( $(FUZZ_SECONDS) + 120 ))
	@cmake --preset fuzz -DFUZZ_SECONDS=20 >/dev/null

# The benchmarks: speed and size against their budgets.
bench: all
	@bench/run

clean:
	rm -rf build dist
