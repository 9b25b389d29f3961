# Glacimor: the two commands of the README, and a few helpers around them.
#   make run    installs what is missing, builds a release build and plays
#   make test   installs what is missing, builds with sanitizers and runs every test

RUN_PACKAGES  := cmake g++ pkg-config libsdl1.2-compat-dev libglew-dev libglu1-mesa-dev
TEST_PACKAGES := $(RUN_PACKAGES) libgtest-dev xvfb xauth xdotool imagemagick x11-utils libgl1-mesa-dri
FONT_PACKAGES := $(RUN_PACKAGES) libfreetype-dev fonts-dejavu-core

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: run test build build-test deps-run deps-test textures font clean

run: deps-run build
	@scripts/require-display.sh
	./build/release/glacimor

build:
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DGLACIMOR_TESTS=OFF
	cmake --build build/release -j $(JOBS) --target glacimor

test: deps-test build-test
	scripts/with-xvfb.sh ctest --test-dir build/test --output-on-failure -j 1

build-test:
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DGLACIMOR_SANITIZE=ON
	cmake --build build/test -j $(JOBS)

deps-run:
	@scripts/install-deps.sh $(RUN_PACKAGES)

deps-test:
	@scripts/install-deps.sh $(TEST_PACKAGES)

# Regenerate the four textures in textures/ from tools/texgen.cpp.
textures: build
	cmake --build build/release -j $(JOBS) --target texgen
	./build/release/texgen textures

# Regenerate the built-in font tables from DejaVu Sans Mono.
font:
	@scripts/install-deps.sh $(FONT_PACKAGES) libfreetype-dev
	$(MAKE) -C tools/fontgen

clean:
	rm -rf build
