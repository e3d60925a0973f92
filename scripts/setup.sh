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
  libjpeg62-turbo-dev zlib1g-dev nlohmann-json3-dev libpng-dev libgif-dev
  clang-14 libclang-rt-14-dev
  libtiff-dev libwebp-dev imagemagick
  gcc-mingw-w64-i686-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  libz-mingw-w64-dev nasm
  wine wine32:i386 wine64 xvfb x11-utils x11-xserver-utils xdotool python3
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

# libjpeg-turbo for i686 mingw, static, from Debian's source package (nasm gives its SIMD paths).
build_libjpeg() {
  local prefix=$deps/i686-w64-mingw32 src dir
  [ -f "$prefix/lib/libjpeg.a" ] && return 0
  log "cross-building libjpeg-turbo into $prefix"
  src=$deps/src-jpeg; dir=$(fetch_source libjpeg-turbo "$src")
  cross_cmake "$dir" -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF
  rm -rf "$src"
}

# Fetches Debian's source package $1 into the fresh folder $2 and prints the
# unpacked source folder. The newest revision listed is sometimes missing from
# the archive, so the earlier ones are tried in turn.
fetch_source() {
  local name=$1 dir=$2 version
  rm -rf "$dir" && mkdir -p "$dir"
  if ! (cd "$dir" && apt-get source -qq "$name" >/dev/null 2>&1); then
    for version in $(apt-cache showsrc "$name" | sed -n 's/^Version: //p' | awk '!seen[$0]++'); do
      rm -rf "${dir:?}"/* && (cd "$dir" && apt-get source -qq "$name=$version" >/dev/null 2>&1) && break
    done
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

# Static zlib for the libraries that use it: FindZLIB would take the import library.
mingw_zlib=(-DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include)

# Configures, builds and installs one CMake source folder into the prefix.
cross_cmake() {
  local dir=$1; shift
  cmake -S "$dir" -B "$dir/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps/i686-w64-mingw32" -Wno-dev "$@" >/dev/null
  cmake --build "$dir/build" --target install >/dev/null
}

# The picture decoders beside libjpeg-turbo, each cached by its library file.
build_picture_libraries() {
  local prefix=$deps/i686-w64-mingw32 src dir
  if [ ! -f "$prefix/lib/libpng16.a" ]; then
    log "cross-building libpng into $prefix"
    src=$deps/src-png; dir=$(fetch_source libpng1.6 "$src")
    cross_cmake "$dir" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF "${mingw_zlib[@]}"
    rm -rf "$src"
  fi
  if [ ! -f "$prefix/lib/libgif.a" ]; then
    log "cross-building giflib into $prefix"
    src=$deps/src-gif; dir=$(fetch_source giflib "$src")
    # Only the static library: its other targets build a DLL, tools and documents.
    make -C "$dir" libgif.a CC=i686-w64-mingw32-gcc-posix AR=i686-w64-mingw32-ar CFLAGS="-std=gnu99 -O2" >/dev/null
    mkdir -p "$prefix/include" "$prefix/lib"
    cp "$dir/gif_lib.h" "$prefix/include/" && cp "$dir/libgif.a" "$prefix/lib/"
    rm -rf "$src"
  fi
  if [ ! -f "$prefix/lib/libtiff.a" ]; then
    log "cross-building libtiff into $prefix"
    src=$deps/src-tiff; dir=$(fetch_source tiff "$src")
    cross_cmake "$dir" -DBUILD_SHARED_LIBS=OFF -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
      -Dcxx=OFF -Dzlib=ON -Djpeg=ON -Dold-jpeg=ON -Djpeg12=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Djbig=OFF \
      -Dlerc=OFF -Dlibdeflate=OFF -Dpixarlog=OFF -Dtiff-opengl=OFF "${mingw_zlib[@]}"
    rm -rf "$src"
  fi
  if [ ! -f "$prefix/lib/libwebp.a" ]; then
    log "cross-building libwebp into $prefix"
    src=$deps/src-webp; dir=$(fetch_source libwebp "$src")
    local tool flags=()
    for tool in ANIM_UTILS CWEBP DWEBP GIF2WEBP IMG2WEBP VWEBP WEBPINFO WEBPMUX LIBWEBPMUX EXTRAS; do
      flags+=("-DWEBP_BUILD_$tool=OFF")
    done
    cross_cmake "$dir" -DBUILD_SHARED_LIBS=OFF "${flags[@]}"
    rm -rf "$src"
  fi
}

# nlohmann-json is header-only: the cross build takes the native copy of its header.
stage_headers() {
  local prefix=$deps/i686-w64-mingw32
  mkdir -p "$prefix/include"
  [ -d "$prefix/include/nlohmann" ] || cp -r /usr/include/nlohmann "$prefix/include/"
}

install_packages
build_libjpeg
build_picture_libraries
stage_headers
log "ready"
