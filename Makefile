# nivra: `make test` and `make demo` each set up everything they need on a Debian 12 machine.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
# Every stage's wall time is noted here and summed up at the end of `make test`.
export NIVRA_TIMES := $(CURDIR)/build/stage-times.txt
$(shell mkdir -p build && date +%s >$(NIVRA_TIMES))
TIMED := tools/timed.sh

.PHONY: all bootstrap native native-asan win64 win32 dist test test-native test-signing test-windows soak fuzz demo screenshots clean

all: native win64 win32

bootstrap:
	@$(TIMED) bootstrap tools/bootstrap.sh

# configure (once) and build one preset
define build_preset
	@[ -f build/$(1)/build.ninja ] || cmake --preset $(1) >/dev/null
	@$(TIMED) "build $(1)" cmake --build build/$(1) -j $(JOBS)
endef

native: bootstrap
	$(call build_preset,native)
native-asan: bootstrap
	$(call build_preset,native-asan)
win64: bootstrap
	$(call build_preset,win64)
win32: bootstrap
	$(call build_preset,win32)

# The release package in build/dist (tools/dist.sh).
dist: win32
	@tools/dist.sh

test-native: native native-asan
	@$(TIMED) "native tests" ctest --test-dir build/native --output-on-failure -j $(JOBS)
	@$(TIMED) "native tests (ASan)" ctest --test-dir build/native-asan --output-on-failure -j $(JOBS)

# Signing with a throwaway certificate authority, offline (tools/test-signing.sh).
test-signing: win32
	@$(TIMED) "signing" tools/test-signing.sh

test-windows: win64 win32
	@tools/test-windows.sh

# Long runs of the plug-in under Wine (tools/soak.sh); not part of `make test`.
soak: win64 win32
	@tools/soak.sh

test: test-native test-signing test-windows
	@echo "make test: all stages passed"
	@$(TIMED) --summary

# The report's fuzzer for FUZZ_SECONDS (tools/fuzz.sh); not part of `make test`, which replays
# its committed corpus only.
FUZZ_SECONDS ?= 600
fuzz: bootstrap
	@$(TIMED) "fuzz" tools/fuzz.sh $(FUZZ_SECONDS)

demo: native
	tools/demo.sh

screenshots: bootstrap
	tools/screenshots.sh

clean:
	rm -rf build
