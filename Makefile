# The two commands of the README:
#   make demo   the component on the bundled sample package
#   make test   every test: native unit tests, the same under Wine, end to end,
#               the unit tests under the sanitizers, and the fuzzers
# Both install missing Debian packages first (as root) and build what they need.

MAKEFLAGS += --no-print-directory

BUILD   ?= build
JOBS    ?= 2
NATIVE  := $(BUILD)/native
WIN     := $(BUILD)/win
WIN64   := $(BUILD)/win64
WIN64_TARGETS := e2e_tests atrybuty server_bench
ASAN    := $(BUILD)/asan
FUZZ    := $(BUILD)/fuzz
FUZZ_SECONDS ?= 15
CMAKE_BUILD_TYPE ?= RelWithDebInfo

all: native win win64

.PHONY: all deps native win win64 msi demo test test-native test-win test-sanitize test-fuzz bench clean

deps:
	@scripts/deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE) >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

# The shipped Windows programs are 32-bit (x86); $(WIN64) builds only what
# earns its keep as 64-bit: the test hosts a 64-bit Office stands for, and
# the server the benchmarks compare the shipped one with.
win: deps
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
	    -DATRYBUTY_WIN64_DIR=$(abspath $(WIN64)) -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE) >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

win64: deps
	@cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	    -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE) >/dev/null
	@cmake --build $(WIN64) -j $(JOBS) --target $(WIN64_TARGETS)

# The installer packages, per machine and per user, into $(BUILD)/msi.
msi: win
	@scripts/build-msi.sh $(BUILD)

demo: native win
	@scripts/demo.sh $(BUILD)

test-native: native
	@cd $(NATIVE) && ctest --output-on-failure -j $(JOBS)

test-win: win win64
	@cd $(WIN) && ctest --output-on-failure -j $(JOBS)

# The native tests built with AddressSanitizer and UBSan. A sanitizer report
# exits 86, so a tool test expecting exit code 1 cannot pass on one.
test-sanitize: deps
	@cmake -S . -B $(ASAN) -DATRYBUTY_SANITIZE=address,undefined -DATRYBUTY_BENCH=OFF \
	    -DCMAKE_BUILD_TYPE=$(CMAKE_BUILD_TYPE) >/dev/null
	@cmake --build $(ASAN) -j $(JOBS)
	@cd $(ASAN) && ASAN_OPTIONS=exitcode=86:detect_leaks=1 \
	    UBSAN_OPTIONS=exitcode=86:print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Each libFuzzer target for FUZZ_SECONDS (scripts/fuzz.sh runs them longer).
test-fuzz: deps
	@JOBS=$(JOBS) scripts/fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

test: test-native test-win test-sanitize test-fuzz

bench: native win win64
	@scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
