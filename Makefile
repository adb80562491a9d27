# The two commands a newcomer needs: `make run` and `make test`.
# Each installs what is missing, configures and builds as needed, then runs.
PRESET ?= dev
BUILD  := build/$(PRESET)
DB     ?= $(HOME)/.local/share/qmx44/demo.sqlite

.PHONY: run test build deps configure clean bench asan

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake --preset $(PRESET)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build --preset $(PRESET)

run: build
	$(BUILD)/apps/qmx44 run --db "$(DB)"

test: build
	QMX44_BUILD_DIR=$(BUILD) scripts/run-tests

bench: deps
	cmake --preset release
	cmake --build --preset release
	scripts/with-postgres scripts/run-bench

asan:
	$(MAKE) test PRESET=asan

clean:
	rm -rf build
