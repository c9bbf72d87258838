# Thin driver over CMake. `make run` builds Release and starts the console;
# `make test` builds and runs every test through CTest: the Release build,
# then the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer,
# then the fuzz targets when their project and clang++ are present.
# `make EXE=<path>` builds the Release engine alone and puts it at that path,
# with the compiler CXX names when it is given (the convention of engine
# testing frameworks such as OpenBench).
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SOURCE := tests/fuzz
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local

HAVE_FUZZ := $(and $(wildcard $(FUZZ_SOURCE)/CMakeLists.txt),$(shell command -v clang++))

.PHONY: all build run test test-release asan test-asan fuzz test-fuzz install bench clean exe
# The builds take turns; each one already compiles and tests in parallel.
.NOTPARALLEL:

ifeq ($(EXE),)
all: build
else
all: exe
endif

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/zolt

# The engine alone, in a build folder of its own for each compiler: CXX from
# the environment or the command line is its compiler (make's own default,
# g++, is left to CMake).
GIVEN_CXX := $(if $(filter environment command line,$(origin CXX)),$(CXX))
EMPTY :=
SPACE := $(EMPTY) $(EMPTY)
EXE_BUILD ?= build-exe$(if $(GIVEN_CXX),-$(subst /,_,$(subst $(SPACE),_,$(GIVEN_CXX))))
EXE_COMPILER := $(if $(GIVEN_CXX),-DCMAKE_CXX_COMPILER="$(GIVEN_CXX)")
exe:
ifeq ($(EXE),)
	@echo "make exe needs EXE=<path>"; exit 2
else
	cmake -S . -B $(EXE_BUILD) -DCMAKE_BUILD_TYPE=Release -DZOLT_TESTS=OFF -DZOLT_BENCH=OFF $(EXE_COMPILER)
	cmake --build $(EXE_BUILD) -j $(JOBS) --target zolt
	@mkdir -p "$(dir $(EXE))"
	cp $(EXE_BUILD)/zolt "$(EXE)"
endif

test: test-release test-asan test-fuzz

test-release: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The sanitizer build runs the Release build's end-to-end test program
# against its own zolt instead of compiling that program again. It is
# compiled with clang++ when there is one: with the sanitizers on, clang
# builds it in a fifth of g++'s time (and the Release build is g++'s, so
# both compilers' warnings are seen). clang++ counts only when it can link a
# sanitized program (its runtime is a package of its own). A directory
# configured earlier keeps its compiler; remove it to switch.
CLANG_SANITIZES = $(shell echo 'int main() {}' | clang++ -fsanitize=address,undefined -x c++ - -o /dev/null 2>/dev/null && echo yes)
ASAN_CXX ?= $(if $(CLANG_SANITIZES),clang++,$(CXX))
$(ASAN_BUILD)/CMakeCache.txt:
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_CXX_COMPILER=$(ASAN_CXX) -DCMAKE_BUILD_TYPE=Release -DZOLT_SANITIZE=ON \
	  -DZOLT_BENCH=OFF -DZOLT_E2E_DRIVER=$(abspath $(BUILD))/tests/zolt_e2e_tests

asan: $(ASAN_BUILD)/CMakeCache.txt
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test-asan: build asan
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The fuzz project is built with clang++ (libFuzzer); without it or without
# clang++ these targets say so and do nothing.
fuzz:
ifeq ($(HAVE_FUZZ),)
	@echo "fuzz build skipped: needs $(FUZZ_SOURCE)/CMakeLists.txt and clang++"
else
	cmake -S $(FUZZ_SOURCE) -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
endif

test-fuzz: fuzz
ifneq ($(HAVE_FUZZ),)
	cd $(FUZZ_BUILD) && ctest --output-on-failure -j $(JOBS)
endif

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

bench: build
	@status=0; for script in tools/bench_*.sh; do \
	  [ -x "$$script" ] || continue; "$$script" $(BUILD) || status=1; \
	done; exit $$status

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# Windows: zolt.exe cross-compiled with MinGW-w64 for 64-bit and 32-bit
# Windows, statically linked, through the toolchain files in cmake/; and the
# end-to-end suites run against the 64-bit build under wine (label "wine",
# registered in build-wine/). The 32-bit build is only compiled: there is no
# 32-bit wine here.
WIN64_BUILD ?= build-win64
WIN32_BUILD ?= build-win32
WINE_BUILD ?= build-wine
WINEPREFIX ?= $(HOME)/.cache/zolt-wine
WINDOWS_OPTIONS := -DCMAKE_BUILD_TYPE=Release -DZOLT_TESTS=OFF -DZOLT_BENCH=OFF
WINE_ENV := WINEPREFIX=$(WINEPREFIX) WINEDEBUG=-all

.PHONY: windows test-windows clean-windows

$(WIN64_BUILD)/CMakeCache.txt:
	cmake -S . -B $(WIN64_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake $(WINDOWS_OPTIONS)

$(WIN32_BUILD)/CMakeCache.txt:
	cmake -S . -B $(WIN32_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake $(WINDOWS_OPTIONS)

windows: $(WIN64_BUILD)/CMakeCache.txt $(WIN32_BUILD)/CMakeCache.txt
	cmake --build $(WIN64_BUILD) -j $(JOBS)
	cmake --build $(WIN32_BUILD) -j $(JOBS)

# The wine prefix is made once (that takes a while) and then reused. Wine
# makes the prefix's folder but not the folder it stands in (a fresh home has
# no .cache).
$(WINEPREFIX)/system.reg:
	mkdir -p "$(dir $(WINEPREFIX))"
	$(WINE_ENV) wineboot -i
	$(WINE_ENV) wineserver -w

$(WINE_BUILD)/CMakeCache.txt:
	cmake -S . -B $(WINE_BUILD) -DCMAKE_BUILD_TYPE=Release -DZOLT_BENCH=OFF -DZOLT_WINE_TESTS=ON \
	  -DZOLT_WINDOWS_BUILD=$(abspath $(WIN64_BUILD)) -DZOLT_WINE_PREFIX=$(WINEPREFIX)

# A wine server that outlives each test's wine process spares every start
# the server's start-up (one already running serves as well).
test-windows: windows $(WINEPREFIX)/system.reg $(WINE_BUILD)/CMakeCache.txt
	cmake --build $(WINE_BUILD) -j $(JOBS) --target zolt_e2e_tests
	$(WINE_ENV) wineserver -p60 2>/dev/null || true
	cd $(WINE_BUILD) && ctest -L wine --output-on-failure -j $(JOBS)

clean-windows:
	rm -rf $(WIN64_BUILD) $(WIN32_BUILD) $(WINE_BUILD)
