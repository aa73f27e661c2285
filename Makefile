# Drillpad: build, run and test. Every target installs what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

PREFIX     ?= /usr/local

.PHONY: all deps configure build run test sanitize fuzz bench package install screenshots \
        format clean

all: build

deps:
	@sh scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@sh scripts/run.sh $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the fuzz targets for a bounded time.
sanitize: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
	      -DDRILLPAD_SANITIZE=ON -DDRILLPAD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS)
	@sh scripts/fuzz.sh $(FUZZ_BUILD)

fuzz: deps
	@sh scripts/fuzz.sh $(FUZZ_BUILD)

bench: build
	@sh scripts/bench.sh $(BUILD)

# The Debian package, written to $(BUILD)/package.
package: build
	cd $(BUILD) && cpack -G DEB

# Installs into $(PREFIX) (DESTDIR is honoured for staging).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The README's screenshots, taken on a virtual X display.
screenshots: build
	@sh scripts/screenshots.sh $(BUILD)

format:
	find src tests bench fuzz tools packaging -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
