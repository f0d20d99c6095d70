# Two entry points for a fresh Debian 12 machine: `make run` and `make check`.
SHELL := /bin/bash
BUILD ?= build
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

PACKAGES := cmake ninja-build g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev \
            libbenchmark-dev clang libclang-rt-14-dev xvfb xauth

.PHONY: run check deps build test install clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/src/app/zmt4824-demo ]; then exec $(BUILD)/src/app/zmt4824-demo; \
	elif [ -x $(BUILD)/src/app/zmt4824 ]; then exec $(BUILD)/src/app/zmt4824; \
	else echo "Nothing to run yet: the program's windows are not built."; fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

check: test

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX),)

clean:
	rm -rf $(BUILD)
