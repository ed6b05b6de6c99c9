# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by scripts/test and scripts/run: install missing Debian packages, configure, build.
# Source it; it defines ROOT and BUILD and the functions below.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD="$ROOT/build"

ensure_packages() {
  local wanted=() missing=() p
  mapfile -t wanted < <(sed -e 's/#.*//' "$ROOT/scripts/debian-packages" | tr -s ' \t' '\n' | sed '/^$/d')
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}"
  cmake --build "$BUILD" --parallel "$(nproc)"
}

# The test executables (and what they run) with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/, then every test through CTest. Any sanitizer report ends the program that
# made it, leaks included, so its test fails.
sanitizer_build_and_test() {
  local asan="$ROOT/build-asan"
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS="suppressions=$ROOT/tests/lsan.supp:print_suppressions=0"
  # -O1 without debug information builds fastest; reports still name the functions.
  # Chained with &&: scripts/test calls this where a failure does not end the script.
  cmake -S "$ROOT" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" -DTOLVANE_SANITIZE=ON &&
    cmake --build "$asan" --target tolvane_tests --parallel "$(nproc)" &&
    ctest --test-dir "$asan" --output-on-failure --parallel "$(nproc)"
}
