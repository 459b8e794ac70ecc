# Front door: "make run" builds and plays, "make test" builds and runs every test.
BUILD := build
BUILD_SANITIZE := build-sanitize
BUILD_FUZZ := build-fuzz
FUZZ_SECONDS ?= 300
JOBS := $(shell nproc 2>/dev/null || echo 2)
# The builds below run make again; without this every step would announce
# the folders it enters and leaves.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure game build build-sanitize build-fuzz run test fuzz soak bench screenshots clean

all: build

deps:
	@sh tools/install_deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# Only what playing needs: the game and its data.
game: configure
	@cmake --build $(BUILD) --target ironstep -j $(JOBS)

# Everything: the game, its tests, benchmarks and tools.
build: configure
	@cmake --build $(BUILD) -j $(JOBS)

build-sanitize: deps
	@cmake -S . -B $(BUILD_SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DIRONSTEP_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD_SANITIZE) -j $(JOBS)

# The fuzz targets of the readers of outside data, built with clang.
build-fuzz: deps
	@cmake -S fuzz -B $(BUILD_FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_FUZZ) -j $(JOBS)

# The game finds its data and the demo recording "vesk" beside itself.
run: game
	@cd $(BUILD) && ./ironstep

test: build build-sanitize build-fuzz
	@sh tools/run_tests.sh $(BUILD) $(BUILD_SANITIZE) $(BUILD_FUZZ)

# A longer fuzzing campaign: FUZZ_SECONDS per target.
fuzz: build-fuzz
	@sh tools/run_fuzz.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

# A million logic ticks of random keys under the sanitizers; SEED=n replays a run.
soak: deps
	@cmake -S . -B $(BUILD_SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DIRONSTEP_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD_SANITIZE) --target soak_test -j $(JOBS)
	@cd $(BUILD_SANITIZE) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ./tests/soak_test 1000000 $(SEED)

bench: build
	@sh tools/run_benchmarks.sh $(BUILD)

# The README's pictures, rendered headless into docs/.
screenshots: configure
	@cmake --build $(BUILD) --target readme_pictures -j $(JOBS)
	@sh tools/readme_pictures.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_SANITIZE) $(BUILD_FUZZ)
