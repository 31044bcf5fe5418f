# The two commands: `make demo` and `make test`. Both install what is missing.
BUILD := build
# The deliverables alone for 32-bit Windows, where handles and pointers are 32
# bits as on the handheld (built, not run).
BUILD32 := $(BUILD)/i686
# The deliverables for the handheld itself, ARM Windows CE 3.0, and their cabinet.
HANDHELD := $(BUILD)/handheld
# One compiler a core: an unbounded -j runs out of memory on the test framework.
JOBS ?= $(shell nproc)

.PHONY: all build cab handheld test demo bench prereqs clean format
all: build

prereqs:
	@scripts/prereqs.sh

$(BUILD)/CMakeCache.txt: | prereqs
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

$(BUILD32)/CMakeCache.txt: | prereqs
	cmake -S . -B $(BUILD32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake -DDELIVERABLES_ONLY=ON

build: prereqs $(BUILD)/CMakeCache.txt $(BUILD32)/CMakeCache.txt
	cmake --build $(BUILD) --parallel $(JOBS)
	cmake --build $(BUILD32) --parallel $(JOBS)

# The product's installer cabinet, build/cab/TavrinFoldKeyboard.cab, made by
# the cabinet maker under Wine; `make build` makes it too.
cab: build
	cmake --build $(BUILD) --target cab

# build/handheld/bin/{Tavrin Fold Keyboard.exe,SETUP.DLL,RSN.dll} for ARM
# Windows CE 3.0 and build/handheld/cab/TavrinFoldKeyboard.cab, made by the
# desktop build's cabinet maker. The first run builds the handheld's binutils
# into ~/.cache (scripts/handheld-toolchain.sh, about 4 minutes), which
# `make clean` keeps.
$(HANDHELD)/CMakeCache.txt: | prereqs
	cmake -S . -B $(HANDHELD) -DCMAKE_TOOLCHAIN_FILE=cmake/handheld-arm.cmake \
	  -DDELIVERABLES_ONLY=ON -DDESKTOP_BUILD=$(abspath $(BUILD))

# `make handheld KEYBOARD_SERVICE=PATH` puts the keyboard maker's ARM
# KeybdR410.exe into the cabinet (and keeps it for later runs).
handheld: build $(HANDHELD)/CMakeCache.txt
	$(if $(KEYBOARD_SERVICE),cmake -B $(HANDHELD) -DKEYBOARD_SERVICE=$(abspath $(KEYBOARD_SERVICE)))
	cmake --build $(HANDHELD) --parallel $(JOBS)

test: build handheld
	@scripts/run-tests.sh $(BUILD)

demo: build
	@scripts/demo.sh $(BUILD)

# Measures the resume notifier (a minute and a half); not part of the tests.
bench: build
	@scripts/driver-bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)

# Formats the project's own code with .clang-format.
format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i
