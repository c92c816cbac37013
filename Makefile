# The two commands a new user needs: `make run` and `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
CMAKE_FLAGS ?=

.PHONY: run test deps deps-test configure build bench test-sanitize fuzz fuzz-long clean

deps:
	@scripts/install-deps.sh

# The tests also run our files through real consumers (Blender, USD readers).
deps-test:
	@scripts/install-deps.sh test

$(BUILD_DIR)/build.ninja: | deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	@cmake --build $(BUILD_DIR)

SAMPLE ?= data/sky.hdr

run: build
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
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: build
	@$(BUILD_DIR)/bench/halvane-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DHALVANE_SANITIZE=ON -DHALVANE_WINDOW=OFF -DHALVANE_BENCH=OFF >/dev/null
	@cmake --build $(SANITIZE_DIR)
	@cd $(SANITIZE_DIR) && ctest --output-on-failure

fuzz:
	@scripts/install-deps.sh fuzz
	@scripts/fuzz.sh

# Half an hour per reader with the program's own size limits and inputs up to
# 1 MB, in a build of its own under build-fuzz/.
fuzz-long:
	@scripts/install-deps.sh fuzz
	@FUZZ_SECONDS=1800 FUZZ_LARGEST_SIDE=0 FUZZ_MAX_LEN=1048576 \
	  FUZZ_BUILD_DIR=$(CURDIR)/build-fuzz/long scripts/fuzz.sh

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZE_DIR) build-fuzz out
