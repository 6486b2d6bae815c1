#!/usr/bin/env bash
# Builds, once per machine, what the 32-bit Windows tree needs and Debian does not ship built for
# it: googletest (from Debian's googletest sources) and a static libcurl on the system's own TLS
# (Schannel), from Debian's curl sources. Everything goes to one cache folder outside the tree
# ($TARNWICK_WINDOWS_CACHE, by default ~/.cache/tarnwick-win); a part already built there from the
# same versions with the same compiler is kept, so a second run costs nothing. Prints the folder
# to give the toolchain file (cmake/i686-w64-mingw32.cmake, as TARNWICK_WINDOWS_DEPS).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cache="${TARNWICK_WINDOWS_CACHE:-$HOME/.cache/tarnwick-win}"
prefix="$cache/i686"
host=i686-w64-mingw32
jobs="$(nproc)"
compiler="gcc $($host-g++-posix -dumpfullversion)"

# Whether the part was built into the prefix from `version`; otherwise builds it with `build`.
ensure() {
  local part="$1" version="$2" build="$3"
  local stamp="$prefix/$part.stamp"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version, $compiler" ]; then return; fi
  echo "windows-deps: building $part $version" >&2
  rm -rf "$cache/work-$part" && mkdir -p "$cache/work-$part" "$prefix"
  (cd "$cache/work-$part" && "$build" "$version")
  rm -rf "$cache/work-$part"
  echo "$version, $compiler" > "$stamp"
}

build_googletest() {
  cmake -S /usr/src/googletest -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$host.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" > build.log
  cmake --build build --parallel "$jobs" >> build.log
  cmake --install build >> build.log
}

build_curl() {
  local version="$1"
  apt-get source --download-only "curl=$version" > source.log 2>&1
  tar xf "$(ls curl_*.orig.tar.* | grep -v '\.asc$' | head -1)"
  cd curl-"${version%%-*}"
  ./configure --host=$host CC=$host-gcc-posix --prefix="$prefix" --disable-shared --enable-static \
    --with-schannel --with-zlib=/usr/$host --without-brotli --without-zstd --without-libpsl --without-libidn2 \
    --without-nghttp2 --without-librtmp --without-libssh2 --disable-ldap --disable-ldaps --disable-manual \
    --disable-docs --disable-dict --disable-gopher --disable-imap --disable-pop3 --disable-smtp --disable-rtsp \
    --disable-telnet --disable-tftp --disable-mqtt --disable-smb > ../configure.log
  make -j"$jobs" -C lib > ../make.log
  make -C lib install > ../install.log
  make -C include install >> ../install.log
}

curl_version="$(apt-cache showsrc curl 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -1)"
[ -n "$curl_version" ] || { echo "windows-deps: apt knows no curl sources (no deb-src entry)" >&2; exit 1; }
ensure googletest "$(dpkg-query -W -f='${Version}' googletest)" build_googletest
ensure curl "$curl_version" build_curl
echo "$prefix"
