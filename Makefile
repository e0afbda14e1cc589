# The README's commands. Each one installs what is missing first, then builds.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifdef CI
CMAKE_FLAGS += -DQRV_WERROR=ON
endif

.PHONY: all deps build test play bench fuzz sanitize clean

all: build

deps:
	@bash tools/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD)

test: build
	@bash tools/run-tests.sh $(BUILD)

play: build
	@bash tools/play.sh $(BUILD)

bench: build
	@bash tools/run-bench.sh $(BUILD)

fuzz: deps
	@bash tools/run-fuzz.sh build-fuzz

# The suite built with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of its
# own; the first report of either ends the program that made it, and so fails its test.
# The benchmarks are left out: timings under the sanitizers mean nothing. An allocation that
# cannot be had fails as it does without the sanitizer (the runtime stops with error 7), and
# leaks inside system libraries are not counted (tools/lsan-suppressions.txt).
sanitize: deps
	@cmake -S . -B build-sanitize -G Ninja $(CMAKE_FLAGS) -DQRV_SANITIZE=address,undefined \
	  -DQRV_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-sanitize
	@ASAN_OPTIONS=allocator_may_return_null=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan-suppressions.txt:print_suppressions=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 bash tools/run-tests.sh build-sanitize

clean:
	rm -rf $(BUILD) build-fuzz build-sanitize
