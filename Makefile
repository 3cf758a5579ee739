# The two commands a newcomer needs: `make run` and `make test`.
# Both install what is missing (scripts/install-deps), configure and build.
JOBS ?= $(shell nproc)
CMAKE ?= cmake

.PHONY: deps run build test bench sim format fuzz package clean

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

# The network layer's fuzzer (clang and its libFuzzer runtime), FUZZ_SECONDS long; new inputs
# go to build-fuzz/corpus, the seeds in fuzz/seeds stay as they are.
FUZZ_SECONDS ?= 120
fuzz: deps
	@command -v clang++ >/dev/null || { echo "make fuzz needs clang++ (Debian: clang libclang-rt-14-dev)"; exit 1; }
	@$(CMAKE) -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTOMTURA_BUILD_UI=OFF -DTOMTURA_FUZZ=ON >/dev/null
	@$(CMAKE) --build build-fuzz -j $(JOBS) --target tomtura-net-fuzz
	@mkdir -p build-fuzz/corpus
	@build-fuzz/tomtura-net-fuzz -max_total_time=$(FUZZ_SECONDS) -dict=fuzz/net.dict \
	  -artifact_prefix=build-fuzz/ build-fuzz/corpus fuzz/seeds

# The Debian package, build-pkg/tomtura_<version>_<arch>.deb: a Release build for /usr with only
# the programs and what they install built (no tests, benchmarks or tools), packed by CPack.
package: deps
	@$(CMAKE) -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DTOMTURA_BUILD_UI=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
	@$(CMAKE) --build build-pkg -j $(JOBS) --target package-contents
	@cd build-pkg && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf build build-test build-fuzz build-pkg
