# The two commands a new user needs: `make run` and `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
# ctest's output on success is its summary; on failure every line but the passed ones.
CTEST = QT_QPA_PLATFORM=offscreen ctest -j$(JOBS) --output-on-failure $(CTEST_ARGS) > ctest.log 2>&1; \
	status=$$?; \
	if [ $$status -eq 0 ]; then grep -E 'tests passed|Total Test time' ctest.log; \
	else grep -v -E 'Test +\#[0-9]+: .* Passed' ctest.log; fi; exit $$status

.PHONY: run test deps deps-test configure build programs package bench test-sanitize fuzz fuzz-long clean

deps:
	@scripts/install-deps.sh

# The tests also run our files through real consumers (Blender, USD readers).
deps-test:
	@scripts/install-deps.sh test

$(BUILD_DIR)/build.ninja: | deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null

configure: deps $(BUILD_DIR)/build.ninja

# The two programs alone, for `make run`; `make build` adds the tests and benchmarks.
programs: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target halvane-batch halvane

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

SAMPLE ?= data/sky.hdr

run: programs
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD_DIR)/halvane; \
	else \
	  echo "No display found: turning the sample $(SAMPLE) into a light rig headless."; \
	  mkdir -p out; \
	  $(BUILD_DIR)/halvane-batch $(SAMPLE) -v -o out/sample.mel -o out/sample.vbs \
	    --preview out/sample.png --table && \
	  echo "Written: out/sample.mel (Maya), out/sample.vbs (XSI), out/sample.png (preview)." && \
	  echo "The window runs under a virtual display too: xvfb-run -a $(BUILD_DIR)/halvane"; \
	fi

test: build deps-test
	@cd $(BUILD_DIR) && $(CTEST)

# A Debian package of the two programs and their data: build/halvane_*.deb.
package: programs
	@cd $(BUILD_DIR) && cpack -G DEB >/dev/null && ls halvane_*.deb

bench: build
	@$(BUILD_DIR)/bench/halvane-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

# The consumer tests run Blender and the USD readers on our files: the plain
# build covers them, the sanitizer build the code that writes the files.
test-sanitize: CTEST_ARGS += -LE consumer
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DHALVANE_SANITIZE=ON -DHALVANE_WINDOW=OFF -DHALVANE_BENCH=OFF >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && $(CTEST)

fuzz:
	@scripts/install-deps.sh fuzz
	@scripts/fuzz.sh

# Half an hour per reader with the program's own size limits and inputs up to
# 1 MB, in a build of its own under build-fuzz/. A header may state a source
# of 32768 x 32768 pixels that a 200-byte file fills with filler: read four
# times under the sanitizers that takes about 40 s, so one input may take 120 s.
fuzz-long:
	@scripts/install-deps.sh fuzz
	@FUZZ_SECONDS=1800 FUZZ_LARGEST_SIDE=0 FUZZ_MAX_LEN=1048576 FUZZ_TIMEOUT=120 \
	  FUZZ_BUILD_DIR=$(CURDIR)/build-fuzz/long scripts/fuzz.sh

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZE_DIR) build-fuzz out
