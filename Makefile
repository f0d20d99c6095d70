# Two entry points for a fresh Debian 12 machine: `make run` and `make check`.
SHELL := /bin/bash
BUILD ?= build
JOBS ?= $(shell nproc)
# Tests mostly wait (each starts a process, the few on the machine's clock sleep through the
# meter's timing): four run side by side per core, which still leaves the cores short of full.
TEST_JOBS ?= $(shell echo $$(( $(JOBS) * 4 )))
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

PACKAGES := cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libgl-dev libgtest-dev \
            libgmock-dev libbenchmark-dev clang libclang-rt-14-dev desktop-file-utils appstream \
            help2man fonts-dejavu-core poppler-utils libcanberra-dev dpkg-dev file lintian \
            qemu-system-x86 busybox-static mmdebstrap clang-tidy \
            g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 nsis xvfb zip \
            xz-utils x11-apps x11-utils imagemagick

.PHONY: run check deps build test layers tidy package package-check asan tsan fuzz hwcheck \
        wincheck windows install clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update -qq && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

# Optimised with line tables only: enough for every backtrace, and the optimiser does not
# track every variable's location for a debugger, which took a third of the build. One build
# serves the tests and the Debian package: it takes the flags that dpkg-buildflags gives for a
# hardened build (PIE, stack protector, fortify, relro, bind-now), so the tests run the
# programs as they ship. The package strips them; the build keeps its own line tables.
HARDENING = $$(DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g \
              dpkg-buildflags --get $(1))
$(BUILD)/build.ninja: Makefile | deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		"-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
		"-DCMAKE_CXX_FLAGS=$(call HARDENING,CPPFLAGS) $(call HARDENING,CXXFLAGS)" \
		"-DCMAKE_EXE_LINKER_FLAGS=$(call HARDENING,LDFLAGS)" \
		"-DCMAKE_SHARED_LINKER_FLAGS=$(call HARDENING,LDFLAGS)" \
		-DCMAKE_STRIP=$(CURDIR)/packaging/strip-program.sh
	touch $@

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/src/app/zmt4824-demo ]; then exec $(BUILD)/src/app/zmt4824-demo; \
	elif [ -x $(BUILD)/src/app/zmt4824 ]; then exec $(BUILD)/src/app/zmt4824; \
	else echo "Nothing to run yet: the program's windows are not built."; fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(TEST_JOBS)
	sh tests/run-shuffled.sh $(BUILD) $(JOBS)

# The Debian package from the build (dependencies by dpkg-shlibdeps, so it needs the `file`
# and dpkg-dev tools), and its checks: contents, hardening, lintian, and an installation into
# a fresh Debian 12 root.
package: build
	cmake --build $(BUILD) --target package

package-check: package
	sh packaging/check-package.sh $(BUILD)
	$(SUDO) sh packaging/check-install.sh $(BUILD)

# Sanitizer stages: the whole suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# the serial link and the end-to-end tests under ThreadSanitizer. Unoptimised and with line
# tables only: the findings keep their stacks, and the builds take a third of the time.
SAN_CONFIG := -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O0 -g1" \
              -DZMT_BUILD_BENCH=OFF
export ASAN_OPTIONS := detect_leaks=1:abort_on_error=0:strict_string_checks=1
export UBSAN_OPTIONS := print_stacktrace=1:halt_on_error=1
export TSAN_OPTIONS := halt_on_error=1:second_deadlock_stack=1

asan: deps
	cmake -S . -B $(BUILD)-asan $(SAN_CONFIG) -DZMT_SANITIZE=address,undefined
	cmake --build $(BUILD)-asan -j $(JOBS)
	cd $(BUILD)-asan && ctest --output-on-failure -j $(TEST_JOBS)

# The serial core's own tests run without any suppression; tests that show windows take
# the file that hides races inside Debian's uninstrumented Qt. Some of them read a saved
# sheet with pdftotext: the child of that fork only runs the tool, so the sanitizer may let
# it start.
TSAN_QT := TSAN_OPTIONS="$(TSAN_OPTIONS):suppressions=$(CURDIR)/tests/tsan-qt.supp:die_after_fork=0"

tsan: deps
	cmake -S . -B $(BUILD)-tsan $(SAN_CONFIG) -DZMT_SANITIZE=thread
	cmake --build $(BUILD)-tsan -j $(JOBS) --target tests-link tests-e2e
	cd $(BUILD)-tsan && ctest --output-on-failure -j $(TEST_JOBS) -L '^link$$' -E '^TransferWindowTest[.]'
	cd $(BUILD)-tsan && $(TSAN_QT) ctest --output-on-failure -j $(TEST_JOBS) -R '^TransferWindowTest[.]'
	cd $(BUILD)-tsan && $(TSAN_QT) ctest --output-on-failure -j $(TEST_JOBS) -L '^e2e$$'

# Fuzz regression: each fuzzer over its committed seeds, then briefly on its own.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(BUILD)-fuzz -G Ninja -DZMT_BUILD_FUZZ=ON \
		-DZMT_BUILD_TESTS=OFF -DZMT_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target fuzz-regression

# The command-line tool against the kernel's ftdi_sio and 8250 drivers in a QEMU guest
# (plain emulation) with Debian's kernel, fetched into $(BUILD)/hw; the simulated meter
# answers on the host, powered by the DTR the guest drives.
hwcheck: build
	bash tests/hw/hwcheck.sh $(BUILD)

# The naming rules of .clang-tidy, in a configuration of its own that compiles each source
# alone (moc only, nothing built). All of src/ takes minutes on two cores, so by default the
# sources a branch changed since it left main, on main those of the last merge (see
# tools/tidy.sh); TIDY_BASE=REF those changed since REF, TIDY_BASE= all of them.
TIDY_BASE ?= auto
tidy: deps
	JOBS=$(JOBS) bash tools/tidy.sh $(BUILD)-tidy "$(TIDY_BASE)"

# Windows, cross-built with MinGW-w64 against Qt for Windows: the prebuilt archive in
# ../shared/windows when it is there (checksum checked), else Qt built once from Debian's
# source into a cache folder (slow). One build serves the tests under Wine and the package.
WIN_BUILD ?= build-win
WIN_TOOLCHAIN := $(WIN_BUILD)/toolchain
WIN_TARGETS := zmt4824 zmt4824-cli zmt4824-demo zmt4824-start
WIN_TEST_TARGETS := language_tests device_tests win_tests
$(WIN_TOOLCHAIN)/.unpacked: | deps
	bash packaging/windows/qt-toolchain.sh $(WIN_TOOLCHAIN) ../shared/windows

$(WIN_BUILD)/obj/build.ninja: Makefile $(WIN_TOOLCHAIN)/.unpacked
	@command -v x86_64-w64-mingw32-g++-posix >/dev/null || \
		{ echo "windows: MinGW-w64 is missing (Debian package g++-mingw-w64-x86-64-posix)"; exit 1; }
	cmake -S . -B $(WIN_BUILD)/obj -G Ninja \
		-DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/packaging/windows/mingw64-posix.cmake \
		-DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG" \
		"-DCMAKE_PREFIX_PATH=$(CURDIR)/$(WIN_TOOLCHAIN)/qt6-mingw64;$(CURDIR)/$(WIN_TOOLCHAIN)/gtest-mingw64" \
		-DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
		-DZMT_BUILD_BENCH=OFF -DZMT_BUILD_TESTS=ON
	touch $@

# The test programs under Wine, then the tool under Wine through COM1 mapped to a
# pseudo-terminal that the simulator serves, and the windows under Wine with Xvfb.
wincheck: deps $(WIN_BUILD)/obj/build.ninja $(BUILD)/build.ninja
	cmake --build $(WIN_BUILD)/obj -j $(JOBS) --target $(WIN_TARGETS) $(WIN_TEST_TARGETS)
	cmake --build $(BUILD) -j $(JOBS) --target zmt4824-meter-sim
	bash tests/win/wincheck.sh $(WIN_BUILD) $(BUILD)

# The three programs with Qt's libraries and the windows platform plugin in a folder, a zip
# of it, and an installer (NSIS), which is then installed and uninstalled under Wine.
windows: deps $(WIN_BUILD)/obj/build.ninja
	cmake --build $(WIN_BUILD)/obj -j $(JOBS) --target $(WIN_TARGETS)
	bash packaging/windows/windows-package.sh $(WIN_BUILD)
	bash packaging/windows/check-installer.sh $(WIN_BUILD)

# The folders' rules: each includes and links only the folders below it (HACKING.md).
layers:
	bash tools/check-layers.sh

# The layer and naming checks first: they take a minute and a failure there needs no other
# stage.
check: layers tidy test package-check asan tsan fuzz hwcheck wincheck

install: build
	cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX),)

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-tsan $(BUILD)-fuzz $(BUILD)-tidy $(WIN_BUILD)
