# Two entry points for a fresh Debian machine: `make demo` and `make test`.
BUILD ?= build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")

.PHONY: deps configure build test demo bench fuzz format clean

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) --parallel

test: build
	cd $(BUILD) && ctest --output-on-failure --timeout 300

demo: build
	./scripts/demo.sh $(BUILD)

bench: build
	./scripts/bench.sh $(BUILD)

fuzz: deps
	./scripts/fuzz.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD)
