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
