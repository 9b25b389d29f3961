# SPDX-FileCopyrightText: 2026 The Glacimor developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Glacimor: the two commands of the README, `make run` and `make test`, and helpers around them.
# `make help` lists the targets: each one's line is the "## " text on its rule, so a new target
# gets its line there (a test checks that every target has one).

RUN_PACKAGES  := cmake g++ pkg-config libsdl2-dev libglew-dev libglu1-mesa-dev
TEST_PACKAGES := $(RUN_PACKAGES) libgtest-dev xvfb xauth xdotool imagemagick x11-utils libgl1-mesa-dri openbox wmctrl \
	weston xwayland sway grim jq libwayland-dev libxkbcommon-dev \
	appstream desktop-file-utils man-db libxml2-utils dpkg-dev file lintian reuse
PACKAGE_PACKAGES := $(RUN_PACKAGES) dpkg-dev file
FONT_PACKAGES := $(RUN_PACKAGES) libfreetype-dev fonts-dejavu-core
DEMO_PACKAGES := $(RUN_PACKAGES) xvfb xauth xdotool imagemagick x11-utils libgl1-mesa-dri openbox wmctrl
BENCH_PACKAGES := $(RUN_PACKAGES) xvfb xauth x11-utils libgl1-mesa-dri openbox wmctrl
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 dpkg-dev xz-utils patch zip unzip
WINDOWS_CHECK_PACKAGES := $(WINDOWS_PACKAGES) wine64 xvfb xauth xdotool imagemagick x11-utils libgl1 libgl1-mesa-dri
WEB_PACKAGES := cmake make emscripten dpkg-dev xz-utils patch
WEB_SERVE_PACKAGES := $(WEB_PACKAGES) python3
WEB_CHECK_PACKAGES := $(WEB_PACKAGES) chromium nodejs python3 imagemagick

PREFIX ?= /usr/local
# Length of `make soak` in minutes.
SOAK_MINUTES ?= 10
# Extra options of the benchmark, e.g. BENCH_ARGS="--frames 20 --startup-runs 1" for a quick look.
BENCH_ARGS ?=

JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# The port `make web-serve` serves the browser build on, at 127.0.0.1.
PORT ?= 8000

# Runs of the end-to-end tests under load (make test-stress), and busy loops per core beside them.
RUNS ?= 5
BUSY ?= 2

.PHONY: run test test-stress build build-test deps-run deps-test textures font clean install bench deps-bench \
	bench-compare golden windows windows-check deps-windows deps-windows-check web-deps web-selfcheck web web-serve web-check deps-web deps-web-serve deps-web-check demo deps-demo package \
	deps-package soak help

run: deps-run build ## install what is missing, build a release build and play
	@scripts/require-display.sh
	./build/release/glacimor

build: ## build the release game in build/release
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DGLACIMOR_TESTS=OFF
	cmake --build build/release -j $(JOBS) --target glacimor

test: deps-test build-test ## install what is missing, build with sanitizers and run every test
	scripts/with-xvfb.sh ctest --test-dir build/test --output-on-failure -j 1

# The end-to-end tests RUNS times while BUSY busy loops per core keep the machine loaded, as on a
# shared machine; prints how many runs each test passed, and fails unless every one passed all.
test-stress: deps-test build-test ## run the end-to-end tests RUNS times (5) with BUSY busy loops (2) per core
	scripts/test-stress.sh $(RUNS) build/test $(BUSY)

build-test: ## build the game and the tests with sanitizers in build/test, without running them
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DGLACIMOR_SANITIZE=ON -DGLACIMOR_WERROR=ON
	cmake --build build/test -j $(JOBS)

# The program, its data, a launcher, the desktop entry and the icon (see docs/INSTALL.md).
install: deps-run ## install the game under PREFIX (/usr/local), honouring DESTDIR
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DGLACIMOR_TESTS=OFF
	cmake --build build/release -j $(JOBS) --target glacimor glacimor_icon glacimor_manpage glacimor_changelog
	DESTDIR="$(DESTDIR)" cmake --install build/release --prefix "$(PREFIX)"

# The Debian package, made by CPack from a release build in build/package with Debian's games
# layout; its Depends are computed from the program by dpkg-shlibdeps (see docs/INSTALL.md).
package: deps-package ## build the Debian package build/glacimor_<version>_<arch>.deb
	JOBS=$(JOBS) scripts/package.sh build/package build

deps-package:
	@scripts/install-deps.sh $(PACKAGE_PACKAGES)

# Frame times of fixed scenes and the start-up time, on a virtual display when there is no
# display (see docs/PERFORMANCE.md).
bench: deps-bench ## time the frames and the start-up on this machine (docs/PERFORMANCE.md)
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DGLACIMOR_TESTS=OFF
	cmake --build build/bench -j $(JOBS) --target glacimor_bench
	@if [ -n "$${DISPLAY:-}" ]; then build/bench/glacimor_bench $(BENCH_ARGS); \
	else scripts/with-xvfb.sh --window-manager build/bench/glacimor_bench $(BENCH_ARGS); fi

# The same scenes timed for the working tree and for the git revision REV in one run, alternating
# between the two builds; SCENES, ROUNDS, FRAMES, WARMUP, SIZE, STARTUP and KEEP adjust it (see
# scripts/bench-compare.sh and docs/PERFORMANCE.md).
bench-compare: deps-bench ## time the revision REV against the working tree in one run
	@if [ -z "$(REV)" ]; then echo "usage: make bench-compare REV=<git revision>" >&2; exit 2; fi
	scripts/bench-compare.sh "$(REV)"

# Renders the golden frames of tests/golden again with the test build. A changed picture must be
# looked at and explained in the commit that changes it.
golden: deps-test build-test ## render the golden frames of tests/golden again (look before committing)
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer/lsan.supp:print_suppressions=0 \
		scripts/with-xvfb.sh build/test/tests/golden_tests --update

# Windows: SDL 2 and GLEW cross-built from Debian's sources, the game with MinGW-w64, and
# build/windows/glacimor-windows.zip for the player; the check runs that zip under Wine.
windows: deps-windows ## cross-build the Windows zip (docs/WINDOWS.md)
	scripts/windows-build.sh build/windows

windows-check: deps-windows-check windows ## play the Windows zip under Wine on a virtual display
	scripts/windows-check.sh build/windows

deps-windows:
	@scripts/install-deps.sh $(WINDOWS_PACKAGES)

deps-windows-check:
	@scripts/install-deps.sh $(WINDOWS_CHECK_PACKAGES)

# The browser: SDL 2 built with Debian's emscripten from Debian's own source of it, once per SDL and
# emscripten version (scripts/web-deps.sh), at the lowest priority.
web-deps: deps-web ## build SDL 2 for the browser with Debian's emscripten into build/web (once per version)
	JOBS=$(JOBS) scripts/web-deps.sh build/web

# The game in the browser: the page (web/) and the program built with Debian's emscripten into
# build/web/site, which any static web server can serve (see docs/WEB.md).
web: deps-web ## build the game for the browser into build/web/site (docs/WEB.md)
	JOBS=$(JOBS) scripts/web-build.sh build/web

# Serves build/web/site on this machine only; open the URL it says in a browser with WebGL.
web-serve: deps-web-serve web ## serve the browser build at http://127.0.0.1:PORT/ (8000)
	@echo "web-serve: open http://127.0.0.1:$(PORT)/ in a browser with WebGL (Ctrl+C stops the server)"
	python3 -m http.server $(PORT) --bind 127.0.0.1 --directory build/web/site

# The browser build seen and played in headless Chromium (tools/web/check.sh): the golden frames'
# scenes set beside the desktop's pictures, then F1, W, 1, F3 and Escape on the page itself.
web-check: deps-web-check web ## check the browser build in headless Chromium: the picture and play
	JOBS=$(JOBS) tools/web/check.sh build/web

# The driver of headless Chromium that the browser checks use (tools/web/cdp.mjs) and that SDL, on
# a page of their own: WebGL read back, keys and a click, Web Audio, a game controller.
web-selfcheck: deps-web-check web-deps ## check the headless Chromium driver and the browser's SDL on a test page
	tools/web/selfcheck.sh build/web

deps-web:
	@scripts/install-deps.sh $(WEB_PACKAGES)

deps-web-serve:
	@scripts/install-deps.sh $(WEB_SERVE_PACKAGES)

deps-web-check:
	@scripts/install-deps.sh $(WEB_CHECK_PACKAGES)

# A scripted session of real play with the release build, recorded as PNG screenshots and an
# animated GIF in build/demo (see docs/DEMO.md).
demo: deps-demo build ## play a scripted minute on a virtual display: screenshots and a clip in build/demo
	scripts/demo.sh build/release/glacimor . build

deps-demo:
	@scripts/install-deps.sh $(DEMO_PACKAGES)

# Real play with random input on a virtual display, with the release build (see tools/soak.sh):
# the memory at the start and the end, the player alive after every F1 pair, Escape within 2 s.
soak: deps-demo build ## play SOAK_MINUTES (10) minutes at random: memory, lost keys, Escape
	tools/soak.sh --minutes $(SOAK_MINUTES)

deps-bench:
	@scripts/install-deps.sh $(BENCH_PACKAGES)

deps-run:
	@scripts/install-deps.sh $(RUN_PACKAGES)

deps-test:
	@scripts/install-deps.sh $(TEST_PACKAGES)

# Regenerate the four textures in textures/ from tools/texgen.cpp.
textures: build ## paint the four textures of textures/ again with tools/texgen.cpp
	cmake --build build/release -j $(JOBS) --target texgen
	./build/release/texgen textures

# Regenerate the built-in font tables from DejaVu Sans Mono, with tools/fontgen: the one program
# that needs FreeType, built by CMake in a folder of its own only here.
font: ## make the built-in font (src/ui/font_data.cpp) again from DejaVu Sans Mono
	@scripts/install-deps.sh $(FONT_PACKAGES)
	cmake -S . -B build/fontgen -DCMAKE_BUILD_TYPE=Release -DGLACIMOR_TESTS=OFF -DGLACIMOR_BENCH=OFF -DGLACIMOR_FONTGEN=ON
	cmake --build build/fontgen -j $(JOBS) --target fontgen
	build/fontgen/fontgen /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf src/ui/font_data.cpp

clean: ## remove build/
	rm -rf build

# One line per target, from the "## " text on its rule. A bare `make` still plays (`run` comes first).
help: ## list the targets with one line each
	@echo "make TARGET, where TARGET is one of:"
	@awk -F ':[^#]*## ' '/^[a-z][a-z-]*:[^=]*## / { printf "  %-15s %s\n", $$1, $$2 }' $(firstword $(MAKEFILE_LIST))
