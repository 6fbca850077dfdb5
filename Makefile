# Entry points for people and CI. Every target installs what is missing,
# configures and builds; nothing is redone when it is current.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
CTEST_FLAGS ?= --output-on-failure

.PHONY: all deps configure build test run package bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake -S . -B $(BUILD) $(CMAKE_FLAGS); fi

build: configure
	@cmake --build $(BUILD)

test: build
	@bash scripts/run-tests.sh $(CTEST_FLAGS)

run: build
	@bash scripts/run-launcher.sh

package: build
	@echo "The install package is not built yet."; exit 1

bench: build
	@bash scripts/run-bench.sh

clean:
	rm -rf $(BUILD)
