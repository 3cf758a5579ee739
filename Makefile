# The two commands a newcomer needs: `make run` and `make test`.
# Both install what is missing (scripts/install-deps), configure and build.
JOBS ?= $(shell nproc)
CMAKE ?= cmake

.PHONY: deps run build test bench sim format clean

deps:
	@scripts/install-deps

build: deps
	@$(CMAKE) -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@$(CMAKE) --build build -j $(JOBS)

run: build
	@if [ -x build/tomtura ]; then build/tomtura; else build/tomtura-sim --games 10 --players 4 --seed 1; fi

test: deps
	@$(CMAKE) -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DTOMTURA_SANITIZE=ON >/dev/null
	@$(CMAKE) --build build-test -j $(JOBS)
	@cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@build/tomtura-bench

sim: build
	@build/tomtura-sim --games 1000 --players 4 --seed 1

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build build-test
