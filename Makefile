# The two commands a new user needs: `make run` and `make test`.
BUILD_DIR ?= build
FUZZ_DIR ?= build-fuzz
ARGS ?=
FUZZ_RUNS ?= 1000000

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

# The loader's fuzzer: clang and its sanitizer runtimes are installed only
# for this. One process, FUZZ_RUNS inputs; new finds collect in the corpus.
fuzz:
	@WITH_FUZZ=1 scripts/install-deps
	cmake -S fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_DIR)
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/module_fuzz -runs=$(FUZZ_RUNS) -print_final_stats=1 $(FUZZ_DIR)/corpus $(FUZZ_DIR)/seeds

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR)
