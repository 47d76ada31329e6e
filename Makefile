# Set-up and everyday commands. Each command first installs the Debian packages it needs that are
# missing: `make run` only what building and running take, `make test` the test tools as well.
BUILD ?= build
PREFIX ?= /usr/local
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifdef CI
CMAKE_FLAGS += -DDESK_WARNINGS_AS_ERRORS=ON
endif

# Which set of packages `setup` installs; a target's own value reaches its prerequisites too.
SETUP_FOR = run
test bench: SETUP_FOR = test
package: SETUP_FOR = package

.PHONY: all setup configure program build run test bench package install uninstall clean

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

clean:
	rm -rf $(BUILD)
