# Set-up and everyday commands. `make run` and `make test` install what is missing first.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
ifdef CI
CMAKE_FLAGS += -DDESK_WARNINGS_AS_ERRORS=ON
endif

.PHONY: all setup configure build run test bench package install clean

all: build

setup:
	@scripts/install-dependencies.sh

configure: setup
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD)

run: build
	./$(BUILD)/assignment-desk

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure

bench: build
	cmake --build $(BUILD) --target desk-bench-all
	bench/run.sh $(BUILD)

package: build
	cd $(BUILD) && cpack

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD)
