# Two commands do everything: `make run` and `make test`. Both install what is missing first
# (`make deps`); every other target builds with what is already installed.
BUILD      ?= build
ASAN_BUILD ?= build-asan
WEB_BUILD  ?= build-web
JOBS       ?= $(shell nproc)
GAME_DIR    = $(BUILD)/game
XVFB        = tools/dev/with-xvfb.sh

.PHONY: all deps configure build run test test-unit test-asan fuzz bench levels-doc generated-doc install deb clean
.PHONY: web run-web test-web bench-web level-link

all: build

deps:
	@tools/dev/install-deps.sh

configure:
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Starts the game from its staged directory, where it finds levels/, images/ and audio/.
run: deps
	@$(MAKE) --no-print-directory build
	@tools/dev/run-game.sh $(GAME_DIR)

# Every test, headless: unit tests, GL tests in a real window under Xvfb, end-to-end runs of the
# binary, then the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer.
test: deps
	@$(MAKE) --no-print-directory test-unit test-asan test-web

test-unit: build
	@$(XVFB) ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# System libraries keep a few start-up allocations for good; the suppressions name them.
export LSAN_OPTIONS = suppressions=$(CURDIR)/tests/lsan.supp
test-asan:
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DZARVOLITH_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@$(XVFB) ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -LE 'gl|no-sanitize'
	@# Mesa's driver is unloaded before LeakSanitizer reports, so its allocations cannot be told
	@# from ours: windowed tests run with leak detection off and every other check on.
	@ASAN_OPTIONS=detect_leaks=0 $(XVFB) ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) -L gl -LE no-sanitize

# The browser build: the same game built by emscripten into a static site at $(WEB_BUILD)/site,
# with the levels, images and audio the desktop build stages.
web: build
	@web/build.sh $(BUILD) $(WEB_BUILD)

# Builds the site and serves it on 127.0.0.1 (PORT, default 8000) until Ctrl+C.
PORT ?= 8000
run-web: deps
	@$(MAKE) --no-print-directory web
	@web/serve.py $(WEB_BUILD)/site $(PORT)

# The page in headless Chromium, driven in real time through the DevTools protocol; first, no
# function of the pages' JavaScript over 60 lines (node and acorn come with emscripten).
test-web: web
	@NODE_PATH=/usr/share/nodejs tools/dev/long-functions.js editor web
	@tests/web/browser_test.py $(WEB_BUILD)/site $(GAME_DIR) levels
	@tests/web/editor_test.py $(WEB_BUILD)/site $(BUILD)/tools/solver/solver levels
	@tests/web/editor_pack_test.py $(WEB_BUILD)/site $(BUILD)/tools/solver/solver levels
	@tests/web/level_link_test.py $(WEB_BUILD)/site levels $(BUILD)/tools/solver/solver
	@tests/web/touch_test.py $(WEB_BUILD)/site $(GAME_DIR) levels

# The link that plays a level file in the browser build: make level-link LEVEL=path [SITE=url]
SITE ?= http://127.0.0.1:$(PORT)/
level-link:
	@tools/level-link.py $(LEVEL) $(SITE)

# Download size, time to the title's first frame and frame times in headless Chromium.
bench-web: web
	@bench/web_figures.py $(WEB_BUILD)/site
	@bench/editor_figures.py $(WEB_BUILD)/site $(BUILD)/tools/solver/solver levels

FUZZ_SECONDS ?= 60
fuzz:
	@tools/dev/run-fuzzers.sh $(FUZZ_SECONDS)

bench: build
	@$(XVFB) tools/dev/run-benchmarks.sh $(BUILD)

# docs/generated.md: ten generated levels with their routes drawn over them (a minute or so).
generated-doc: configure
	@cmake --build $(BUILD) --target solver -j $(JOBS)
	@tools/docs/generated-doc.sh $(BUILD)

# docs/levels.md: each level's committed route drawn over it, and its win rates (a few minutes).
levels-doc: configure
	@cmake --build $(BUILD) --target solver -j $(JOBS)
	@tools/docs/levels-doc.sh $(BUILD)

PREFIX ?= /usr/local

# Installs the built game under $(PREFIX); DESTDIR=/some/dir stages it there instead, as packagers do.
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, written to $(BUILD)/packages/.
deb: build
	@cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WEB_BUILD) build-fuzz

# Two fresh builds of this tree in two build directories must give byte-identical packages.
check-reproducible: deps
	@tools/release/check-reproducible.sh

# The source release, zarvolith-<version>.tar.gz, from the last commit (uncommitted changes are
# not in it); its files are dated with that commit's time.
VERSION = $(shell sed -n 's/^project.Zarvolith VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
dist:
	@git diff --quiet HEAD -- || echo "note: uncommitted changes are left out of the tarball"
	@git archive --format=tar.gz --prefix=zarvolith-$(VERSION)/ -o zarvolith-$(VERSION).tar.gz HEAD
	@echo "zarvolith-$(VERSION).tar.gz"

# Unpacks that tarball elsewhere and builds and tests it with git out of reach.
distcheck: dist
	@tools/release/check-dist.sh zarvolith-$(VERSION).tar.gz

.PHONY: check-reproducible dist distcheck
