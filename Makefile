# The two commands of the README. Both install what is missing first.
#   make run   - build and start Korvyn (simulated adapter without Wi-Fi, headless without a display)
#   make test  - build and pass the test suite, normally and under ASan + UBSan, and run
#                every fuzz target briefly (clang's libFuzzer)
ARGS ?=

.PHONY: run test build bootstrap
bootstrap:
	@scripts/bootstrap

build: bootstrap
	@cmake --preset default >/dev/null
	@cmake --build --preset default

run: build
	@scripts/run $(ARGS)

test: bootstrap
	cmake --preset default >/dev/null
	cmake --build --preset default
	ctest --preset default
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	ctest --preset fuzz
