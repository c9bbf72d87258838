# Thin driver over CMake. `make run` builds Release and starts the console;
# `make test` builds and runs every test through CTest.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all build run test bench clean

all: build

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/zolt

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for script in tools/bench_*.sh; do [ -x "$$script" ] && "$$script" $(BUILD) || true; done

clean:
	rm -rf $(BUILD)
