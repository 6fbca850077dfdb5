# Entry points for people and CI. Every target installs what is missing,
# configures and builds; nothing is redone when it is current.
BUILD := build
CMAKE_FLAGS := -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
CTEST_FLAGS ?= --output-on-failure

.PHONY: all deps configure build test run screenshots package repro bench fuzz clean build64 test64 \
	run64 screenshots64 fuzz64

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@if [ ! -f $(BUILD)/build.ninja ]; then cmake -S . -B $(BUILD) $(CMAKE_FLAGS); fi

build: configure
	@cmake --build $(BUILD)

# The delivered programs are always built and checked as 32-bit. Where the
# kernel runs no 32-bit code, the suite runs on the 64-bit build instead.
test: build
	@if bash scripts/runs-32bit.sh; then \
	    bash scripts/run-tests.sh $(CTEST_FLAGS); \
	else \
	    echo "make test: this machine runs no 32-bit programs; the 64-bit build of the same sources is tested instead"; \
	    bash tests/build/check_binaries.sh $(BUILD)/bin && \
	    $(MAKE) --no-print-directory test64; \
	fi

run: build
	@if bash scripts/runs-32bit.sh; then \
	    bash scripts/run-launcher.sh; \
	else \
	    echo "make run: this machine runs no 32-bit programs; starting the 64-bit build instead"; \
	    $(MAKE) --no-print-directory run64; \
	fi

# docs/screenshots/: pictures of the real programs, taken in the test desktop.
screenshots: build
	@if bash scripts/runs-32bit.sh; then \
	    bash scripts/make-screenshots.sh; \
	else \
	    echo "make screenshots: this machine runs no 32-bit programs; the 64-bit build of the same sources is shown instead"; \
	    $(MAKE) --no-print-directory screenshots64; \
	fi

# build/package: setup.exe beside the folder quelt_\ and a zip of both, made
# from the delivered 32-bit programs; prints their sizes beside the targets.
package: build
	@bash tests/build/check_binaries.sh $(BUILD)/bin
	@bash scripts/make-package.sh $(BUILD)/bin $(BUILD)/package

# The same bytes twice: the delivered programs, the help file and the package
# built again from a copy of the sources in build-repro/ and compared with
# those of build/ file by file.
repro: build
	@bash scripts/check-repro.sh $(BUILD) build-repro

bench: build
	@bash scripts/run-bench.sh

# The command-file save against its model over 20,000 random series, or
# QUELT_SAVE_SERIES of them, or for QUELT_SAVE_SECONDS; QUELT_SAVE_SEED
# repeats a run.
fuzz: build
	@if bash scripts/runs-32bit.sh; then \
	    bash scripts/run-fuzz.sh; \
	else \
	    echo "make fuzz: this machine runs no 32-bit programs; the 64-bit build of the same sources is run instead"; \
	    $(MAKE) --no-print-directory fuzz64; \
	fi

# The same sources built for 64-bit Windows and tested under 64-bit Wine: a
# local stand-in on machines whose kernel runs no 32-bit code. The delivered
# programs and CI stay 32-bit.
BUILD64 := build64
build64:
	@QUELT_WINE64=1 bash scripts/install-deps.sh
	@if [ ! -f $(BUILD64)/build.ninja ]; then cmake -S . -B $(BUILD64) -G Ninja -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DQUELT_WERROR=OFF; fi
	@cmake --build $(BUILD64)

test64: build64
	@QUELT_WINE64=1 QUELT_BUILD=$(CURDIR)/$(BUILD64) bash scripts/run-tests.sh $(CTEST_FLAGS)

screenshots64: build64
	@QUELT_WINE64=1 QUELT_BUILD=$(CURDIR)/$(BUILD64) bash scripts/make-screenshots.sh

fuzz64: build64
	@QUELT_WINE64=1 QUELT_BUILD=$(CURDIR)/$(BUILD64) bash scripts/run-fuzz.sh

run64: build64
	@QUELT_WINE64=1 QUELT_BUILD=$(CURDIR)/$(BUILD64) bash scripts/run-launcher.sh

clean:
	rm -rf $(BUILD) build-repro
