# The README's commands. Each one installs what is missing first, then builds.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifdef CI
CMAKE_FLAGS += -DQRV_WERROR=ON
endif

.PHONY: all deps build test play bench fuzz clean tsan

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

# The network's tests again under ThreadSanitizer, in a build of their own.
tsan: deps
	@cmake -S . -B build-tsan -G Ninja $(CMAKE_FLAGS) -DQRV_SANITIZE=thread -DQRV_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-tsan --target test_net program_net_player
	@TSAN_OPTIONS="halt_on_error=1" bash tools/with-display.sh build-tsan/tests/test_net

fuzz: deps
	@bash tools/run-fuzz.sh build-fuzz

clean:
	rm -rf $(BUILD) build-fuzz build-tsan
