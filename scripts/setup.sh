#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine (run as root).
# Idempotent: a second run checks the installed packages and the cached
# cross-built libraries and returns in seconds.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
deps=${SPINDREL_DEPS:-$root/build/deps}

packages=(
  build-essential cmake ninja-build pkg-config git dpkg-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg62-turbo-dev zlib1g-dev nlohmann-json3-dev libpng-dev
  clang-14 libclang-rt-14-dev
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  libz-mingw-w64-dev nasm
  wine wine32:i386 wine64 xvfb x11-utils
)

log() { printf 'setup: %s\n' "$*"; }

missing_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || echo "$p"
  done
}

# deb-src entries are enabled beside the existing ones, so no source address is written anywhere.
enable_sources() {
  local changed=1 f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    if grep -q '^Types: deb$' "$f"; then
      sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
      changed=0
    fi
  done
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list \
     && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >> /etc/apt/sources.list
    changed=0
  fi
  return $changed
}

install_packages() {
  local need=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need=1
  fi
  enable_sources && need=1
  local missing
  missing=$(missing_packages)
  if [ -n "$missing" ] || [ $need = 1 ]; then
    log "installing: $(echo $missing)"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    [ -z "$missing" ] || apt-get install -y -qq --no-install-recommends $missing >/dev/null
  fi
}

# libjpeg-turbo for i686 mingw, static, from Debian's source package.
build_libjpeg() {
  local prefix=$deps/i686-w64-mingw32
  [ -f "$prefix/lib/libjpeg.a" ] && return 0
  log "cross-building libjpeg-turbo into $prefix"
  local src=$deps/src
  rm -rf "$src" && mkdir -p "$src"
  (cd "$src" && apt-get source -qq libjpeg-turbo >/dev/null 2>&1 || apt-get source libjpeg-turbo)
  local dir
  dir=$(find "$src" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)
  cmake -S "$dir" -B "$src/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -Wno-dev >/dev/null
  cmake --build "$src/build" --target install >/dev/null
  rm -rf "$src"
}

# nlohmann-json is header-only: the cross build takes the native copy of its header.
stage_headers() {
  local prefix=$deps/i686-w64-mingw32
  mkdir -p "$prefix/include"
  [ -d "$prefix/include/nlohmann" ] || cp -r /usr/include/nlohmann "$prefix/include/"
}

install_packages
build_libjpeg
stage_headers
log "ready"
