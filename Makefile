# The two commands: `make demo` and `make test`. Both install what is missing.
BUILD := build

.PHONY: all build test demo bench prereqs clean format
all: build

prereqs:
	@scripts/prereqs.sh

$(BUILD)/CMakeCache.txt: | prereqs
	cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

build: prereqs $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) --parallel

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
