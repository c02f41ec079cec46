# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
ASAN_BUILD_DIR ?= build-asan
JOBS ?= 2
FONT := node_modules/@fontsource/lora/files/lora-latin-400-italic.woff2
# Where `make deb` puts the package.
DEB_DIR ?= dist
VERSION = $(shell dpkg-parsechangelog -S Version)

.PHONY: all build deps configure run test test-sanitized bench deb check-package clean

all: build

deps:
	@scripts/install-deps.sh

# The Lora typeface ships beside the program: a build fetches it or stops with the reason.
$(FONT): package.json package-lock.json
	@command -v npm >/dev/null || { echo "npm is missing: run 'make deps' (or install npm) to fetch the Lora font"; exit 1; }
	npm ci --no-audit --no-fund || { echo "The Lora font could not be fetched from the npm registry; see the lines above"; exit 1; }
	@touch $@

$(BUILD_DIR)/build.ninja:
	cmake -S . -B $(BUILD_DIR) -G Ninja

configure: $(BUILD_DIR)/build.ninja

build: $(FONT) configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: deps build
	./$(BUILD_DIR)/velmor

test: deps build
	scripts/run-tests.sh $(BUILD_DIR)

# The headless unit tests once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitized: deps $(FONT)
	cmake -S . -B $(ASAN_BUILD_DIR) -G Ninja -DVELMOR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD_DIR) -j $(JOBS) --target core_test calendar_test
	ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  scripts/run-tests.sh $(ASAN_BUILD_DIR) -L '^(core_test|calendar_test)$$'

bench: deps build
	bench/run-all.sh $(BUILD_DIR)

# The Debian package: dpkg-buildpackage builds it (debian/rules: Release, stripped, no tests)
# and leaves its files beside the source folder; they are moved into $(DEB_DIR).
# debhelper gives the build a home of its own: a compiler cache the caller uses
# (CMAKE_CXX_COMPILER_LAUNCHER=ccache) is named by its folder, so a second build finds it.
deb: deps $(FONT)
	CCACHE_DIR=$${CCACHE_DIR:-$$(ccache -k cache_dir 2>/dev/null)} dpkg-buildpackage -b -us -uc
	mkdir -p $(DEB_DIR)
	mv ../velmor_$(VERSION)_*.deb ../velmor_$(VERSION)_*.buildinfo ../velmor_$(VERSION)_*.changes $(DEB_DIR)/
	@ls -l $(DEB_DIR)/velmor_$(VERSION)_*.deb

# The package as Debian and the desktop check it, then started from its own files.
check-package: deb
	tests/package/package_test.sh $(DEB_DIR)/velmor_$(VERSION)_*.deb

clean:
	rm -rf $(BUILD_DIR) $(ASAN_BUILD_DIR) $(DEB_DIR)
