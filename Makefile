# Front door: "make run" builds and plays, "make test" builds and runs every test.
BUILD := build
BUILD_SANITIZE := build-sanitize
JOBS := $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build build-sanitize run test bench clean

all: build

deps:
	@sh tools/install_deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

build-sanitize: deps
	@cmake -S . -B $(BUILD_SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DIRONSTEP_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD_SANITIZE) -j $(JOBS)

run: build
	./$(BUILD)/ironstep

test: build build-sanitize
	@sh tools/run_tests.sh $(BUILD) $(BUILD_SANITIZE)

bench: build
	@sh tools/run_benchmarks.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_SANITIZE)
