# Thin wrapper over CMake: the two everyday commands do the whole set-up.
#   make run    release build, then start the window
#   make test   sanitizer build, then the whole suite through ctest (offscreen)
#   make bench  release build of the benchmarks, then run them
#   make fuzz   libFuzzer targets (clang), 60 seconds each
#   make deb    Debian package of the release build (CPack)
# Each command installs the Debian packages of its own group (tools/abhaengigkeiten.sh).

JOBS    ?= $(shell nproc)
RELEASE := build/release
ASAN    := build/asan
BENCH   := build/bench
FUZZ    := build/fuzz
FUZZ_SECONDS ?= 60
CMAKE   := cmake -G Ninja -Wno-dev
DEPS    := tools/abhaengigkeiten.sh

.PHONY: run build test bench fuzz deb clean

# The release build installs what running needs, or, as a step of `make deb`, what
# packaging needs as well (a target-specific value holds for the prerequisites too).
GRUPPE  := run
deb: GRUPPE := deb

build:
	@$(DEPS) $(GRUPPE)
	$(CMAKE) -S . -B $(RELEASE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(RELEASE) -j $(JOBS) --target tovik

run: build
	$(RELEASE)/window/tovik

test:
	@$(DEPS) test
	$(CMAKE) -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTOVIK_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS) --output-junit ctest.xml

bench:
	@$(DEPS) bench
	$(CMAKE) -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DTOVIK_BENCH=ON >/dev/null
	cmake --build $(BENCH) -j $(JOBS)
	tools/bench.sh $(BENCH)

fuzz:
	@$(DEPS) fuzz
	CXX=clang++-14 $(CMAKE) -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVIK_FUZZ=ON >/dev/null
	cmake --build $(FUZZ) -j $(JOBS)
	tools/fuzz.sh $(FUZZ) $(FUZZ_SECONDS)

# The package is the tree that `cmake --install` gives (dpkg -c against find: path, type
# and mode of every entry), and must pass lintian and appstreamcli: any error or warning of
# lintian, any issue of appstreamcli, pedantic hints included, fails the command.
BAUM := $(RELEASE)/baum
deb: build
	cmake --build $(RELEASE) -j $(JOBS) --target tovik_paketdateien
	cd $(RELEASE) && cpack -G DEB
	rm -rf $(BAUM) && DESTDIR=$(CURDIR)/$(BAUM) cmake --install $(RELEASE) --prefix /usr >/dev/null
	dpkg -c $(RELEASE)/tovik_*.deb | awk '{ sub("/$$", "", $$6); print $$6, $$1 }' | LC_ALL=C sort >$(BAUM).paket
	cd $(BAUM) && find . -mindepth 1 -printf '%p %M\n' | LC_ALL=C sort >$(CURDIR)/$(BAUM).install
	diff -u $(BAUM).paket $(BAUM).install
	appstreamcli validate-tree --pedantic --strict --no-net $(BAUM) >$(BAUM).appstream || \
	  { cat $(BAUM).appstream; false; }
	cat $(BAUM).appstream; ! grep -q '^ *[EWIP]: ' $(BAUM).appstream
	lintian --info --display-info --pedantic --fail-on error,warning $(RELEASE)/tovik_*.deb

clean:
	rm -rf build
