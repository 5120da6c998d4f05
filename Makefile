# The two commands of the README:
#   make run    installs what building and running need (not the test tools),
#               builds and starts the launcher (under Xvfb when there is no
#               display, leaving build/launcher.png)
#   make test   installs the test tools too, builds the release, the sanitizer
#               and the Windows trees, runs every test (the Windows ones under Wine)
# Also: make (release build only), make windows (the Windows tree: cross-built
# with MinGW-w64 in build-windows/), make bench, make fuzz, make format, make clean.
#
# A release tree that `make run` configures first has no tests or benchmarks
# (GoogleTest and Google Benchmark are test packages); `make test`, `make
# windows` and `make bench` turn them on in that same tree.

BUILD        ?= build
ASAN_BUILD   ?= build-asan
FUZZ_BUILD   ?= build-fuzz
WIN_BUILD    ?= build-windows
FUZZ_SECONDS ?= 60
JOBS         ?= $(shell nproc)
GENERATOR    := -G Ninja

.PHONY: all deps deps-run configure configure-run with-tests run test windows bench fuzz format clean

all: configure
	cmake --build $(BUILD) -j $(JOBS)

configure:
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release

# The release tree as `make run` first makes it: without the tests and benchmarks.
configure-run:
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	  -DVARK_TESTS=OFF -DVARK_BENCH=OFF

# Turns the tests and benchmarks on in a release tree that has them off.
with-tests: configure
	@grep -q '^VARK_TESTS:BOOL=ON' $(BUILD)/CMakeCache.txt && grep -q '^VARK_BENCH:BOOL=ON' $(BUILD)/CMakeCache.txt || \
	  cmake -S . -B $(BUILD) -DVARK_TESTS=ON -DVARK_BENCH=ON

# What building and running need; deps adds the test and cross-build tools.
deps-run:
	@scripts/install-deps.sh

deps:
	@scripts/install-deps.sh --tests

run: deps-run configure-run
	cmake --build $(BUILD) -j $(JOBS)
	scripts/run.sh $(BUILD)

test: deps with-tests all windows
	@test -f $(ASAN_BUILD)/build.ninja || cmake -S . -B $(ASAN_BUILD) $(GENERATOR) \
	  -DCMAKE_BUILD_TYPE=Debug -DVARK_SANITIZE=ON -DVARK_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	@scripts/test.sh $(BUILD) $(ASAN_BUILD) $(WIN_BUILD)

# The Windows tree draws its pictures with the release tree's artgen, which
# runs here; its end-to-end test looks at the window with the release tree's
# xwin and pngpixel.
# SIGN_PFX=CERT.pfx (with SIGN_PASSWORD_FILE=FILE and SIGN_TIMESTAMP=URL when
# needed) has the program signed with that certificate, in this build and the
# later ones of the tree, until `cmake -B build-windows -DVALDOR_SIGN_PFX=`.
windows: deps configure
	cmake --build $(BUILD) -j $(JOBS) --target artgen xwin pngpixel
	@test -f $(WIN_BUILD)/build.ninja || cmake -S . -B $(WIN_BUILD) $(GENERATOR) \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/MinGW-w64.cmake -DCMAKE_BUILD_TYPE=Release \
	  -DVARK_HOST_ARTGEN=$(abspath $(BUILD))/tools/artgen
	@test -z "$(SIGN_PFX)" || cmake -S . -B $(WIN_BUILD) -DVALDOR_SIGN_PFX=$(abspath $(SIGN_PFX)) \
	  -DVALDOR_SIGN_PASSWORD_FILE=$(if $(SIGN_PASSWORD_FILE),$(abspath $(SIGN_PASSWORD_FILE))) \
	  -DVALDOR_SIGN_TIMESTAMP=$(SIGN_TIMESTAMP)
	cmake --build $(WIN_BUILD) -j $(JOBS)

bench: deps with-tests all
	@mkdir -p $(BUILD)/bench
	@for b in $(BUILD)/bench/bench_*; do \
	  [ -x "$$b" ] || continue; \
	  echo "== $$b"; \
	  "$$b" --benchmark_out=$$b.json --benchmark_out_format=json || exit 1; \
	done

fuzz: deps
	@test -f $(FUZZ_BUILD)/build.ninja || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(GENERATOR) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARK_FUZZ=ON -DVARK_TESTS=OFF -DVARK_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzz_targets
	@scripts/fuzz.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WIN_BUILD)
