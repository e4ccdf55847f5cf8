# Two entry points for a fresh Debian machine: `make demo` and `make test`. The builds are the
# CMake presets (CMakePresets.json): `make test` is the dev preset, in build/.
JOBS := $(shell nproc)

.PHONY: deps configure build test demo bench fuzz package format clean

deps:
	./scripts/install-deps.sh

configure: deps
	cmake --preset dev

build: configure
	cmake --build --preset dev

test: build
	ctest --preset dev -j$(JOBS)

demo: build
	./scripts/demo.sh build

bench: build
	./scripts/bench.sh build

fuzz: deps
	./scripts/fuzz.sh

# The Release build of the program and the simulator, packaged as build/ve17_<version>_amd64.deb.
package: deps
	cmake --workflow --preset release

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-release build-asan build-tsan build-fuzz
