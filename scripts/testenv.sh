# Sourced by the scripts that build and run the tests: installs what is needed,
# configures the build folder and sets the environment the tests run in.
#   BUILD_DIR   build folder (default: build); the scripts read it from $build_dir
#   SANITIZE=1  build with AddressSanitizer and UndefinedBehaviorSanitizer
#   CI=true     warnings are errors
./scripts/install-deps.sh

build_dir=${BUILD_DIR:-build}
args=(-G Ninja -DKESTRANE_TESTS=ON -DKESTRANE_BENCH=ON)
[ "${CI:-}" = "true" ] && args+=(-DKESTRANE_WERROR=ON)
[ "${SANITIZE:-0}" = "1" ] && args+=(-DKESTRANE_SANITIZE=ON -DKESTRANE_BENCH=OFF)
cmake -S . -B "$build_dir" "${args[@]}" >/dev/null

export SDL_AUDIODRIVER=dummy
# GCC 12's sanitizer misreads glibc 2.36's dynamic TLS of dlopened libraries (Mesa's
# driver) and its leak checker can crash at exit ("Tracer caught signal 11") depending
# only on memory layout. Without intercepting __tls_get_addr, static TLS is still
# scanned; the drivers' dynamic TLS blocks become plain heap, whose leaks are
# suppressed below anyway.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:intercept_tls_get_addr=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
