# The two commands a new user needs: `make run` and `make test`.
BUILD_DIR ?= build
FUZZ_DIR ?= build-fuzz
ARGS ?=

.PHONY: all deps configure build run test bench fuzz clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR)

run: build
	./$(BUILD_DIR)/brawlbox $(ARGS)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j2

bench: build
	./$(BUILD_DIR)/bench/brawlbox_bench $(ARGS)

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR)
