#!/usr/bin/env bash
# Shared by ./run and ./test: installs the Debian packages the build needs when any is missing,
# then configures and builds in build/.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-charts-dev libgl-dev
    libsqlite3-dev libzip-dev libpugixml-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
)

missing=()
for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" ${CMAKE_EXTRA_ARGS:-} >/dev/null
cmake --build "$BUILD_DIR" --parallel "$(nproc)"
