# The two commands a newcomer needs: `make run` and `make test`.
# Each installs what is missing, configures and builds as needed, then runs.
PRESET ?= dev
BUILD  := build/$(PRESET)
# make run DB=CONNECTION picks the database; unset, the program's own order applies
# (QMX44_DB, the configuration file, then the demo file).
DB     ?=
# Options for every benchmark program, e.g. BENCH_ARGS=--benchmark_repetitions=5
BENCH_ARGS ?=
# The load test: how many clerks at once, and for how many seconds.
CLERKS  ?= 16
SECONDS ?= 60

# Seconds each fuzz target runs: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 60

.PHONY: run test check build deps configure clean bench asan tsan fuzz load deb package package-test

deps:
	@scripts/install-deps

# CI (CI=true, as .ci/run is run) builds with warnings as errors; a developer's build
# warns. The stamp names the setting the build folder was configured with, so switching
# between the two reconfigures an existing folder instead of keeping the old setting.
WERROR     := $(if $(filter true 1 yes,$(CI)),ON,OFF)
CONFIGURED := $(BUILD)/.configured-werror-$(WERROR)

$(CONFIGURED): | deps
	cmake --preset $(PRESET) -DQMX44_WERROR=$(WERROR)
	rm -f $(BUILD)/.configured-werror-*
	touch $@

configure: $(CONFIGURED)

build: deps configure
	cmake --build --preset $(PRESET)

# With a display the desktop application opens on the demo database; without one (a
# server, CI) it goes through its built-in walk-through on the offscreen platform, on a
# fresh demo database, and prints the pictures and the PDF it wrote into $(WALKTHROUGH).
# Either way it runs the screen component just built.
WALKTHROUGH := $(BUILD)/walkthrough
run: build
ifneq ($(DISPLAY)$(WAYLAND_DISPLAY),)
	QMX44_COMPONENT_PATH=$(BUILD)/components $(BUILD)/apps/qmx44 gui $(if $(DB),--db "$(DB)")
else
	rm -rf $(WALKTHROUGH) && mkdir -p $(WALKTHROUGH)
	QT_QPA_PLATFORM=offscreen QMX44_COMPONENT_PATH=$(BUILD)/components \
	  $(BUILD)/apps/qmx44 gui --db $(WALKTHROUGH)/demo.sqlite --walkthrough $(WALKTHROUGH)
endif

test: build
	QMX44_BUILD_DIR=$(BUILD) scripts/run-tests

bench: deps
	cmake --preset release
	cmake --build --preset release
	scripts/with-postgres scripts/run-bench $(BENCH_ARGS)

# CLERKS clerks (each a `qmx44 script` process) for SECONDS seconds on a throwaway
# PostgreSQL server, then on one SQLite file; the figures go into docs/load.md. Measured
# on the optimised build (the release preset, as the benchmarks).
load: deps
	cmake --preset release
	cmake --build --preset release
	scripts/run-load build/release $(CLERKS) $(SECONDS)

# The Debian package (docs/install.md): an optimised build without tests or benchmarks
# (the package preset), then CPack; it is written into build/package/deb/.
deb: deps
	cmake --preset package -DQMX44_WERROR=$(WERROR)
	cmake --build --preset package --target package

package: deb

# Builds the package, installs it, runs the installed program and removes it again.
package-test:
	scripts/package-test

asan:
	$(MAKE) test PRESET=asan

# The tests that run threads of their own, built and run under ThreadSanitizer (only
# those: the rest of the suite is single-threaded). tests/tsan.supp explains each
# suppression.
TSAN_TESTS := db_schema_test business_clerks_test
tsan: deps
	cmake --preset tsan -DQMX44_WERROR=$(WERROR)
	cmake --build --preset tsan --target $(TSAN_TESTS)
	TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tests/tsan.supp" QMX44_BUILD_DIR=build/tsan \
	  scripts/run-tests -R '^($(subst $(eval) ,|,$(TSAN_TESTS)))'

# Everything CI checks (.ci/run): the whole suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, the tests that run threads under ThreadSanitizer, every
# fuzzer for a minute from its seed corpus, and the Debian package built, installed, run
# and removed (root or sudo).
check:
	$(MAKE) test PRESET=asan
	$(MAKE) tsan
	$(MAKE) fuzz FUZZ_SECONDS=60
	$(MAKE) package-test

# The libFuzzer targets (fuzz/), each for FUZZ_SECONDS from its seed corpus.
fuzz: deps
	scripts/run-fuzzers $(FUZZ_SECONDS)

clean:
	rm -rf build
