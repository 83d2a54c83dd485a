# The commands of the README: `make run`, `make test`, `make web` and `make serve-web`.
# They install what is missing, configure with CMake presets and build with Ninja.

PRESET ?= release
BUILD_DIR := build/$(PRESET)
CMAKE_ARGS ?=
ifeq ($(VOKTA_WERROR),ON)
CMAKE_ARGS += -DVOKTA_WERROR=ON
endif

# Tests that open windows need an X display; without one they run under Xvfb.
ifeq ($(strip $(DISPLAY)),)
X_WRAP := xvfb-run -a -s "-screen 0 1600x1000x24"
endif

.PHONY: deps configure build run test test-windows web serve-web bench fuzz package clean

deps:
	sh scripts/install-deps

configure: deps
	cmake --preset $(PRESET) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD_DIR)

run: build
	$(BUILD_DIR)/bin/vokta

# The browser tests drive the page that `make web` writes.
test: build web
	cd $(BUILD_DIR) && $(X_WRAP) ctest --output-on-failure --timeout 600

# The browser edition, cross-built by Emscripten into build/web, with the
# pinned npm packages it plays its sound with. Emscripten's optimizer finds
# Debian's acorn through NODE_PATH.
web: export NODE_PATH := /usr/share/nodejs
web: deps
	sh scripts/install-web-deps
	cmake --preset web
	cmake --build build/web-objects

serve-web: web
	python3 -m http.server 8000 --bind 127.0.0.1 --directory build/web

# The plain-C++ core, its tests and the command-line tools cross-built for
# Windows with MinGW-w64 and run under Wine; every vokta-play script must
# print and save byte for byte what the native vokta-play does, so that one
# is built first.
test-windows: deps
	cmake --preset release $(CMAKE_ARGS)
	cmake --build build/release --target vokta-play
	cmake --preset windows $(CMAKE_ARGS) -DVOKTA_HOST_PLAY=$(CURDIR)/build/release/bin/vokta-play
	cmake --build build/windows
	cd build/windows && ctest --output-on-failure --timeout 600 -j2

# The game and its tools as a Debian package: $(BUILD_DIR)/package/vokta_VERSION_ARCH.deb.
package: build
	cd $(BUILD_DIR) && cpack

bench: build
	$(BUILD_DIR)/bin/vokta-bench

# The fuzz harnesses, each for FUZZ_SECONDS (a minute by default).
FUZZ_SECONDS ?= 60
fuzz: deps
	cmake --preset fuzz
	cmake --build build/fuzz
	sh scripts/run-fuzzers build/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf build
