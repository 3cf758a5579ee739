# The two commands a newcomer needs: `make run` and `make test`.
# Both install what is missing (scripts/install-deps), configure and build.
JOBS ?= $(shell nproc)
# Most test suites spend their time waiting for timers, sounds and other processes, so CTest runs
# more of them side by side than there are cores.
TEST_JOBS ?= $(shell echo $$(( $(JOBS) * 3 )))
CMAKE ?= cmake

.PHONY: deps configure run build test tsan bench sim format format-check fuzz package clean

deps:
	@scripts/install-deps

configure: deps
	@$(CMAKE) -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

# Everything: the programs, the tools, the tests and the benchmarks.
build: configure
	@$(CMAKE) --build build -j $(JOBS)

# The programs run here are the only ones built.
run: configure
	@$(CMAKE) --build build -j $(JOBS) --target tomtura
	@build/tomtura

test: deps
	@$(CMAKE) -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DTOMTURA_SANITIZE=ON >/dev/null
	@$(CMAKE) --build build-test -j $(JOBS)
	@cd build-test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(TEST_JOBS)

# The tests that run threads, under ThreadSanitizer (build-tsan).
tsan: deps
	@$(CMAKE) -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOMTURA_TSAN=ON >/dev/null
	@$(CMAKE) --build build-tsan -j $(JOBS) --target tomtura_ui_tests
	@cd build-tsan && QT_QPA_PLATFORM=offscreen \
	  TSAN_OPTIONS="halt_on_error=0 ignore_noninstrumented_modules=1 suppressions=$(CURDIR)/tests/tsan/suppressions.txt" \
	  ctest --output-on-failure -j $(JOBS) -L threads

bench: configure
	@$(CMAKE) --build build -j $(JOBS) --target tomtura-bench
	@build/tomtura-bench

sim: configure
	@$(CMAKE) --build build -j $(JOBS) --target tomtura-sim
	@build/tomtura-sim --games 1000 --players 4 --seed 1

# The fuzzers of the network layer and of every file reader (clang and its libFuzzer runtime),
# one after another, each FUZZ_SECONDS long: `make fuzz FUZZ_SECONDS=600`, or only some with
# FUZZ_TARGETS="board options". New inputs go to build-fuzz/corpus-<target>, crashes to
# build-fuzz/<target>-crash-*; the seeds in tests/fuzz/corpus/<target> (fuzz/seeds for the
# network layer) stay as they are. The bitmap target is built only where Qt 6 is found.
FUZZ_SECONDS ?= 120
FUZZ_TARGETS ?= net board property saved-game options history bitmap
fuzz: deps
	@command -v clang++ >/dev/null || { echo "make fuzz needs clang++ (Debian: clang libclang-rt-14-dev)"; exit 1; }
	@$(CMAKE) -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DTOMTURA_BUILD_UI=OFF -DTOMTURA_FUZZ=ON >/dev/null
	@$(CMAKE) --build build-fuzz -j $(JOBS) --target fuzzers
	@for t in $(FUZZ_TARGETS); do \
	  bin=build-fuzz/tomtura-$$t-fuzz; \
	  if [ ! -x $$bin ]; then echo "fuzz: $$t not built, skipped"; continue; fi; \
	  seeds=tests/fuzz/corpus/$$t; [ $$t = net ] && seeds=fuzz/seeds; \
	  dict=; [ -f fuzz/$$t.dict ] && dict=-dict=fuzz/$$t.dict; \
	  mkdir -p build-fuzz/corpus-$$t; \
	  echo "fuzz: $$t for $(FUZZ_SECONDS) s"; \
	  nice -n 10 $$bin -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $$dict \
	    -artifact_prefix=build-fuzz/$$t- build-fuzz/corpus-$$t $$seeds || exit 1; \
	done

# The Debian package, build-pkg/tomtura_<version>_<arch>.deb: a Release build for /usr with only
# the programs and what they install built (no tests, benchmarks or tools), packed by CPack.
package: deps
	@$(CMAKE) -S . -B build-pkg -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	  -DTOMTURA_BUILD_UI=ON -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
	@$(CMAKE) --build build-pkg -j $(JOBS) --target package-contents
	@cd build-pkg && cpack -G DEB

# Our C++ in the style of .clang-format; format-check (run by CI) fails on a file that is not.
format: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	@git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	@rm -rf build build-test build-tsan build-fuzz build-pkg
