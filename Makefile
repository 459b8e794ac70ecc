# Front door: "make run" builds and plays, "make test" builds and runs every test.
BUILD := build
BUILD_SANITIZE := build-sanitize
JOBS := $(shell nproc 2>/dev/null || echo 2)
# The builds below run make again; without this every step would announce
# the folders it enters and leaves.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure game build build-sanitize run test soak bench screenshots clean

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

# The game reads the demo recording "vesk" from the folder it starts in; the
# build writes it beside the game.
run: game
	@cd $(BUILD) && ./ironstep

test: build build-sanitize
	@sh tools/run_tests.sh $(BUILD) $(BUILD_SANITIZE)

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
	rm -rf $(BUILD) $(BUILD_SANITIZE)
