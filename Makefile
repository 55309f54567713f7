# The two commands of the README: `make demo` and `make test`.
PRESET ?= dev

# Compiler-cache hits across clones and build folders: paths are hashed relative to here.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

.PHONY: deps build test test-windows demo fuzz bench package clean

deps:
	@scripts/install-deps

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)

test: build
	@scripts/run-tests $(PRESET)

# platform/ built for Windows (MinGW-w64) with its tests under wine, and the Windows-built
# client against this build's service host.
test-windows: build
	@scripts/run-windows-tests build/$(PRESET)

demo: build
	@scripts/demo build/$(PRESET)

fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz

# The Debian packages medrec and medrec-server, in build/$(PRESET)/packages.
package: build
	@cd build/$(PRESET) && cpack -G DEB -B packages

bench: build
	@scripts/run-benchmarks build/$(PRESET)

clean:
	rm -rf build
