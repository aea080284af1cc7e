# The two commands of the README:
#   make demo   the component on the bundled sample package
#   make test   every test: native unit tests, the same under Wine, end to end
# Both install missing Debian packages first (as root) and build what they need.

MAKEFLAGS += --no-print-directory

BUILD   ?= build
JOBS    ?= 2
NATIVE  := $(BUILD)/native
WIN     := $(BUILD)/win
CMAKE_BUILD_TYPE ?= RelWithDebInfo

.PHONY: all deps native win demo test test-native test-win bench clean

all: native win

deps:
	@scripts/deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE) >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win: deps
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE) >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

demo: native win
	@scripts/demo.sh $(BUILD)

test-native: native
	@cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)

test-win: win
	@cd $(WIN) && ctest --output-on-failure -j $(JOBS)

test: test-native test-win

bench: native win
	@scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
