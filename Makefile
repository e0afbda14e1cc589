# The README's commands. Each one installs what is missing first, then builds. Every step
# says what it does and shows its commands' output.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifdef CI
CMAKE_FLAGS += -DQRV_WERROR=ON
endif

.PHONY: all deps configure build test play bench gl-calls fuzz sanitize tsan clean windows-deps windows windows-test web-deps web web-test

all: build

deps:
	@echo "== Checking the Debian packages the build needs"
	@bash tools/install-deps.sh

configure: deps
	@echo "== Configuring the build in $(BUILD)/"
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	@echo "== Building everything: library, game, tool, examples, tests, benchmarks"
	cmake --build $(BUILD)

test: build
	@echo "== Running the test suite"
	bash tools/run-tests.sh $(BUILD)

# Only what the game needs: the library, the game and the qrv tool.
play: configure
	@echo "== Building the library, the game and the qrv tool"
	cmake --build $(BUILD) --target skipdale2 qrv
	@echo "== Starting the game"
	bash tools/play.sh $(BUILD)

bench: build
	@echo "== Running the benchmarks"
	bash tools/run-bench.sh $(BUILD)

# GL calls, draw calls, read-backs and waits per steady frame of the game and every example.
gl-calls: build
	@echo "== Tracing the GL calls of the game and the examples"
	bash tools/gl-calls.sh $(BUILD)

# The sanitizer builds are for checking, not for working in: no benchmarks (timings under a
# sanitizer mean nothing), and -O1 with line tables only, which compiles in about half the
# time of -O2 -g and still gives every report its file and line.
CHECK_OPTIMISATION = -O1 -g1 -DNDEBUG
CHECK_BUILD_FLAGS = -DQRV_BUILD_BENCH=OFF "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=$(CHECK_OPTIMISATION)" \
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=$(CHECK_OPTIMISATION)"

# The network's tests again under ThreadSanitizer, in a build of their own.
tsan: deps
	@echo "== The network tests under ThreadSanitizer, in build-tsan/"
	cmake -S . -B build-tsan -G Ninja $(CMAKE_FLAGS) $(CHECK_BUILD_FLAGS) -DQRV_SANITIZE=thread
	cmake --build build-tsan --target test_net program_net_player
	@TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tools/tsan-suppressions.txt" \
	  bash tools/with-display.sh build-tsan/tests/test_net

fuzz: deps
	@echo "== Building and running the fuzz targets"
	bash tools/run-fuzz.sh build-fuzz

# The suite built with AddressSanitizer and UndefinedBehaviorSanitizer in a folder of its
# own; the first report of either ends the program that made it, and so fails its test. An
# allocation that cannot be had fails as it does without the sanitizer (the runtime stops
# with error 7), and leaks inside system libraries are not counted
# (tools/lsan-suppressions.txt). Strict string checks stay off: they report a bounded
# strndup of an unterminated buffer, which is valid and which the keyboard-layout library
# does.
sanitize: deps
	@echo "== The test suite under AddressSanitizer and UndefinedBehaviorSanitizer, in build-sanitize/"
	cmake -S . -B build-sanitize -G Ninja $(CMAKE_FLAGS) $(CHECK_BUILD_FLAGS) \
	  -DQRV_SANITIZE=address,undefined
	cmake --build build-sanitize
	@ASAN_OPTIONS=allocator_may_return_null=1:detect_stack_use_after_return=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan-suppressions.txt:print_suppressions=0 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 bash tools/run-tests.sh build-sanitize

# The libraries for the Windows build, cross-built once per machine into a cache outside the
# clone (tools/windows/deps.sh says where; docs/windows.md says how).
windows-deps:
	@echo "== Cross-building the Windows libraries (once; later runs find them in the cache)"
	bash tools/windows/deps.sh

# The libraries for the browser build, built with Debian's emscripten once per machine into a
# cache outside the clone (tools/web/deps.sh says where and how).
web-deps:
	@echo "== Building the browser's libraries with emscripten (once; later runs find them in the cache)"
	bash tools/web/deps.sh

# The Windows build in build-windows/ (library, game, qrv, examples), the players' zip
# dist/skipdale2-windows-x86_64.zip (the game with its media appended, and a text for players)
# and the game programmers' kit dist/quorvia-sdk-windows-x86_64.zip.
windows: deps
	@echo "== Cross-building for 64-bit Windows and making the players' zip"
	bash tools/windows/build.sh

# The Windows build with its test suite, run under Wine on a virtual display; it ends with how
# many tests ran, passed, failed and were skipped (and why). Then the game from the players'
# zip plays the demo under Wine and must give the Linux build's frames, and the first program
# of docs/first-program.md is built against the game programmers' kit and run.
windows-test: configure
	@echo "== Cross-building for 64-bit Windows with the test suite"
	QRV_WINDOWS_TESTS=1 bash tools/windows/build.sh
	@echo "== Running the test suite under Wine"
	bash tools/windows/test.sh
	@echo "== The game from the players' zip plays the demo as on Linux"
	bash tools/with-display.sh bash tools/windows/zip-check.sh
	@echo "== A first program built against the game programmers' kit runs under Wine"
	bash tools/with-display.sh bash tools/windows/sdk-check.sh

# The browser build in build-web/ (library, game, examples) with Debian's emscripten, and the
# game's page dist/skipdale2-web/; the libraries are built once per machine from Debian's
# source packages into a cache outside the clone (docs/web.md).
web: deps
	@echo "== Building for the browser and making the game's page"
	bash tools/web/build.sh

# The browser tests: pages in headless Chromium, their captured frames against the Linux
# build's, the saved folder across visits, and the page and its harness themselves.
web-test: build web
	@echo "== The browser tests in headless Chromium"
	bash tools/with-display.sh bash tools/web/test.sh

clean:
	rm -rf $(BUILD) build-fuzz build-tsan build-sanitize build-web
