# Front door: "make run" builds and plays, "make test" builds and runs every
# test. Only run, test, package, timedemo and deps install the Debian
# packages they need; every other target, plain "make" too, leaves the system
# alone.
BUILD := build
BUILD_SANITIZE := build-sanitize
BUILD_FUZZ := build-fuzz
FUZZ_SECONDS ?= 300
PREFIX ?= /usr/local
DESTDIR ?=
JOBS := $(shell nproc 2>/dev/null || echo 2)
# The builds below run make again; without this every step would announce
# the folders it enters and leaves.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure game build build-sanitize build-fuzz run test fuzz soak bench timedemo screenshots icons \
	install uninstall package clean

all: build

deps:
	@sh tools/install_deps.sh

configure:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# Only what playing needs: the game and its data.
game: configure
	@cmake --build $(BUILD) --target ironstep -j $(JOBS)

# Everything: the game, its tests, benchmarks and tools.
build: configure
	@cmake --build $(BUILD) -j $(JOBS)

build-sanitize:
	@cmake -S . -B $(BUILD_SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DIRONSTEP_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD_SANITIZE) -j $(JOBS)

# The fuzz targets of the readers of outside data, built with clang.
build-fuzz:
	@cmake -S fuzz -B $(BUILD_FUZZ) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_FUZZ) -j $(JOBS)

# The game finds its data and the demo recording "vesk" beside itself.
run: deps
	@$(MAKE) game
	@cd $(BUILD) && ./ironstep

test: deps
	@$(MAKE) build build-sanitize build-fuzz
	@sh tools/run_tests.sh $(BUILD) $(BUILD_SANITIZE) $(BUILD_FUZZ)

# A longer fuzzing campaign: FUZZ_SECONDS per target.
fuzz: build-fuzz
	@sh tools/run_fuzz.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

# A million logic ticks of random keys under the sanitizers; SEED=n replays a run.
soak:
	@cmake -S . -B $(BUILD_SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DIRONSTEP_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD_SANITIZE) --target soak_test -j $(JOBS)
	@cd $(BUILD_SANITIZE) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ./tests/soak_test 1000000 $(SEED)

bench: build
	@sh tools/run_benchmarks.sh $(BUILD)

# The showcase played one tick per frame as fast as the frames come, and the
# plot of its frame times in docs/; this alone installs the plotting tool.
timedemo:
	@sh tools/install_deps.sh plot
	@$(MAKE) configure
	@cmake --build $(BUILD) --target ironstep-timedemo -j $(JOBS)
	@sh tools/timedemo.sh $(BUILD) docs/timedemo.png

# The README's pictures, rendered headless into docs/.
screenshots: configure
	@cmake --build $(BUILD) --target readme_pictures -j $(JOBS)
	@sh tools/readme_pictures.sh $(BUILD)

# The icons in packaging/icons/, rendered headless through the game.
icons: configure
	@cmake --build $(BUILD) --target icon_picture -j $(JOBS)
	@sh tools/render_icons.sh $(BUILD)

# The game laid out under $(DESTDIR)$(PREFIX) as Debian's games are, and removed again.
install: configure
	@cmake --build $(BUILD) --target installables -j $(JOBS)
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

uninstall:
	@DESTDIR="$(DESTDIR)" sh tools/uninstall.sh $(BUILD) "$(PREFIX)"

# build/ironstep_VERSION_ARCH.deb, with its dependencies computed from the program.
package: deps
	@$(MAKE) configure
	@sh tools/package.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_SANITIZE) $(BUILD_FUZZ)
