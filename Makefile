# The two commands: `make demo` and `make test`. Both install what is missing.
BUILD := build
# The deliverables alone for 32-bit Windows, where handles and pointers are 32
# bits as on the handheld (built, not run).
BUILD32 := $(BUILD)/i686
# One compiler a core: an unbounded -j runs out of memory on the test framework.
JOBS ?= $(shell nproc)

.PHONY: all build cab test demo bench prereqs clean format
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

test: build
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
