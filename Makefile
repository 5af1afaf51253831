# The two commands a newcomer needs: `make run` and `make test`.
# Everything else (packages, configure, build) happens on the way.

PRESET ?= default
BUILD_DIR := build
ROOT ?=

.PHONY: all deps configure build test run bench soak asan fuzz clean

all: build

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake --preset default

configure: $(BUILD_DIR)/build.ninja

build: deps configure
	cmake --build --preset default

test: build
	ctest --preset default

# Lays out the default device image and runs the device in a desktop window until it is closed.
run: build
	@scripts/run-device $(ROOT)

bench: build
	@scripts/run-benchmarks

# Eight clients against one device for SOAK_SECONDS (default 300), with the server's memory
# and descriptors sampled every 10 s.
soak: build
	build/bench/soak/soak_device $(SOAK_SECONDS)

asan: deps
	@test -f build-asan/build.ninja || cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

fuzz: deps
	@test -f build-fuzz/build.ninja || cmake --preset fuzz
	cmake --build --preset fuzz

clean:
	rm -rf build build-asan build-fuzz
