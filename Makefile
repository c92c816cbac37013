# The two commands a new user needs: `make run` and `make test`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
CMAKE_FLAGS ?=

.PHONY: run test deps configure build bench test-sanitize clean

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/build.ninja: | deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS) >/dev/null

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	@cmake --build $(BUILD_DIR)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD_DIR)/halvane; \
	else \
	  echo "No display found. Run the window under a virtual display with"; \
	  echo "  xvfb-run -a $(BUILD_DIR)/halvane"; \
	  echo "or work headless with the pipeline tool:"; \
	  echo "  $(BUILD_DIR)/halvane-batch IMAGE.hdr --preview preview.png -v"; \
	fi

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: build
	@$(BUILD_DIR)/bench/halvane-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DHALVANE_SANITIZE=ON -DHALVANE_WINDOW=OFF -DHALVANE_BENCH=OFF >/dev/null
	@cmake --build $(SANITIZE_DIR)
	@cd $(SANITIZE_DIR) && ctest --output-on-failure

clean:
	@rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
