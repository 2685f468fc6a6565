#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, only those that are missing.
# clang-14 with its sanitizer and libFuzzer runtimes (and llvm-14 for llvm-symbolizer) builds
# the sanitizer and fuzz builds.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config ccache git
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev
    libhidapi-dev libsqlite3-dev zlib1g-dev libcurl4-openssl-dev libudev-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    libxml2-utils python3 clang-format
    clang-14 libclang-rt-14-dev llvm-14
    fonts-dejavu-core fonts-wqy-microhei
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Run as root or install sudo to add: ${missing[*]}" >&2; exit 1; }
    sudo=sudo
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
