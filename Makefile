# Set-up and everyday commands. Each command first installs the Debian packages it needs that are
# missing: `make run` only what building and running take, `make test` the test tools as well.
BUILD ?= build
PREFIX ?= /usr/local
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifdef CI
CMAKE_FLAGS += -DDESK_WARNINGS_AS_ERRORS=ON
endif

# The Windows program: cross-built against a Qt for Windows built once from Debian's Qt source
# and kept outside the build folders, tested under Wine.
WINDOWS_BUILD ?= build-windows
QT_WINDOWS_PREFIX ?= $(HOME)/.cache/assignment-desk/qt-6.4.2-windows

# Which set of packages `setup` installs; a target's own value reaches its prerequisites too.
SETUP_FOR = run
test bench: SETUP_FOR = test
package: SETUP_FOR = package
windows: SETUP_FOR = windows
test-windows: SETUP_FOR = test-windows

.PHONY: all setup configure program build run test bench package install uninstall clean \
	windows-qt configure-windows windows test-windows

all: build

setup:
	@scripts/install-dependencies.sh $(SETUP_FOR)

configure: setup
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

# The program alone, without the test suite.
program: configure
	cmake --build $(BUILD) --target assignment-desk

build: configure
	cmake --build $(BUILD)

run: program
	./$(BUILD)/assignment-desk

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: build
	cmake --build $(BUILD) --target desk-bench-all
	bench/run.sh $(BUILD)

package: program
	cd $(BUILD) && cpack

install: program
	scripts/install.sh install $(BUILD) $(PREFIX)

uninstall:
	scripts/install.sh uninstall $(BUILD)

# Qt for Windows, built only when it is missing (about an hour on two cores).
windows-qt: setup
	scripts/build-windows-qt.sh $(QT_WINDOWS_PREFIX)

# The native build lends its compile_bank to the cross build, and its record writer and check
# command to the Windows tests.
configure-windows: configure windows-qt
	cmake --build $(BUILD) --target compile_bank
	$(QT_WINDOWS_PREFIX)/bin/qt-cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DDESK_HOST_COMPILE_BANK=$(abspath $(BUILD))/compile_bank -DDESK_HOST_BUILD=$(abspath $(BUILD))

# The program's folder in $(WINDOWS_BUILD), a zip of it and an installer beside it.
windows: configure-windows
	cmake --build $(WINDOWS_BUILD) --target assignment-desk assignment-desk-check desk-windows-runtime
	cd $(WINDOWS_BUILD) && cpack

test-windows: configure-windows
	cmake --build $(BUILD) --target record_writer assignment-desk-check
	cmake --build $(WINDOWS_BUILD)
	cd $(WINDOWS_BUILD) && cpack && ctest --output-on-failure

clean:
	rm -rf $(BUILD) $(WINDOWS_BUILD)
