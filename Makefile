# nivra: `make test` and `make demo` each set up everything they need on a Debian 12 machine.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: all bootstrap native native-asan win64 win32 test test-native test-windows demo screenshots clean

all: native win64 win32

bootstrap:
	@tools/bootstrap.sh

# configure (once) and build one preset
define build_preset
	@[ -f build/$(1)/build.ninja ] || cmake --preset $(1) >/dev/null
	cmake --build build/$(1) -j $(JOBS)
endef

native: bootstrap
	$(call build_preset,native)
native-asan: bootstrap
	$(call build_preset,native-asan)
win64: bootstrap
	$(call build_preset,win64)
win32: bootstrap
	$(call build_preset,win32)

test-native: native native-asan
	ctest --test-dir build/native --output-on-failure -j $(JOBS)
	ctest --test-dir build/native-asan --output-on-failure -j $(JOBS)

test-windows: win64 win32
	tools/test-windows.sh

test: test-native test-windows
	@echo "make test: all stages passed"

demo: native
	tools/demo.sh

screenshots: bootstrap
	tools/screenshots.sh

clean:
	rm -rf build
