# The two commands a new user needs: `make run` and `make test`.
BUILD_DIR ?= build
FUZZ_DIR ?= build-fuzz
SANITIZE_DIR ?= build-sanitize
TSAN_DIR ?= build-tsan
ARGS ?=
FUZZ_RUNS ?= 1000000

.PHONY: all deps configure build run test sanitize tsan bench fuzz fuzz-build clean

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

# The whole suite built with AddressSanitizer and UndefinedBehaviorSanitizer,
# any finding fatal. Leaks are reported too, but for those of system libraries
# listed in tests/lsan.supp. The software GL driver stays loaded in the tests
# on a virtual display (tests/cli/under_xvfb.sh), so that its leaks are seen
# as its own.
GL_DRIVER = /usr/lib/$(shell gcc -print-multiarch)/dri/swrast_dri.so
KEEP_LOADED = $(if $(wildcard $(GL_DRIVER)),$(shell gcc -print-file-name=libasan.so) $(GL_DRIVER))
SANITIZE_FLAGS = -O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=all
$(SANITIZE_DIR)/build.ninja: | deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DBRAWLBOX_BENCH=OFF \
	  "-DCMAKE_C_FLAGS=$(SANITIZE_FLAGS)" "-DCMAKE_CXX_FLAGS=$(SANITIZE_FLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"

sanitize: $(SANITIZE_DIR)/build.ninja
	cmake --build $(SANITIZE_DIR)
	ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1 \
	UBSAN_OPTIONS=print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	BRAWLBOX_KEEP_LOADED="$(KEEP_LOADED)" \
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j2

bench: build
	./$(BUILD_DIR)/bench/brawlbox_bench $(ARGS)

# The fuzzers (clang and its sanitizer runtimes are installed only for these),
# each one process running its count of inputs (NAME_RUNS, else FUZZ_RUNS);
# new finds collect in build-fuzz/corpus/NAME. A fuzzer is added in
# fuzz/CMakeLists.txt and here. `make fuzz-NAME` runs one.
FUZZERS = module_fuzz effect_fuzz input_script_fuzz options_fuzz texgen_fuzz
# A texture command works on whole layers: fewer inputs, each slower.
texgen_fuzz_RUNS ?= 100000

fuzz: $(addprefix fuzz-,$(FUZZERS))

fuzz-build:
	@WITH_FUZZ=1 scripts/install-deps
	cmake -S fuzz -B $(FUZZ_DIR) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_DIR)

fuzz-%: fuzz-build
	mkdir -p $(FUZZ_DIR)/corpus/$*
	$(FUZZ_DIR)/$* -runs=$(or $($*_RUNS),$(FUZZ_RUNS)) -print_final_stats=1 \
	  $(FUZZ_DIR)/corpus/$* $(FUZZ_DIR)/seeds/$*

# The audio tests (feeder thread, device callback, restarts under triggers)
# under ThreadSanitizer, in a build of their own.
tsan: deps
	cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRAWLBOX_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS=-fsanitize=thread -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread
	cmake --build $(TSAN_DIR) --target brawlbox_audio_tests
	TSAN_OPTIONS=halt_on_error=1 $(TSAN_DIR)/tests/brawlbox_audio_tests

clean:
	rm -rf $(BUILD_DIR) $(FUZZ_DIR) $(SANITIZE_DIR) $(TSAN_DIR)
