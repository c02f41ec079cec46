# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= 2

.PHONY: all build deps configure run test bench clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja

configure: $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: deps build
	./$(BUILD_DIR)/velmor

test: deps build
	scripts/run-tests.sh $(BUILD_DIR)

bench: deps build
	bench/run-all.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
