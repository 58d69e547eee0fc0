# The two commands of the project: `make` builds everything, `make test` runs every test.
# Both first install any missing Debian packages (scripts/setup-deps).

.PHONY: all test deps native win32 preview asan clean

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

test: all asan
	ctest --preset native
	ctest --preset asan
	ctest --preset win32

clean:
	rm -rf build dist
