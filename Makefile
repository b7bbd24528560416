# The two commands a new user needs: `make run` and `make test`.
BUILD_DIR ?= build
FUZZ_DIR ?= build-fuzz
TSAN_DIR ?= build-tsan
ARGS ?=
FUZZ_RUNS ?= 1000000

.PHONY: all deps configure build run test bench fuzz tsan clean

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

# The music loader's and the effect reader's fuzzers: clang and its sanitizer
# runtimes are installed only for this. One process each, FUZZ_RUNS inputs;
# new finds collect in the corpora.
fuzz:
	@WITH_FUZZ=1 scripts/install-deps
	cmake -S fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_DIR)
	mkdir -p $(FUZZ_DIR)/corpus
	$(FUZZ_DIR)/module_fuzz -runs=$(FUZZ_RUNS) -print_final_stats=1 $(FUZZ_DIR)/corpus $(FUZZ_DIR)/seeds
	mkdir -p $(FUZZ_DIR)/effect_corpus
	$(FUZZ_DIR)/effect_fuzz -runs=$(FUZZ_RUNS) -print_final_stats=1 $(FUZZ_DIR)/effect_corpus \
	  $(FUZZ_DIR)/effect_seeds

# The audio tests (feeder thread, device callback, restarts under triggers)
# under ThreadSanitizer, in a build of their own.
tsan: deps
	cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAWLBOX_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread
	cmake --build $(TSAN_DIR) --target brawlbox_audio_tests
	TSAN_OPTIONS=halt_on_error=1 $(TSAN_DIR)/tests/brawlbox_audio_tests

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) $(TSAN_DIR)
