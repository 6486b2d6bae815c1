#!/usr/bin/env bash
# Builds, once per machine, what the 32-bit Windows tree needs and Debian does not ship built for
# it: googletest (from Debian's googletest sources) and a static libcurl on the system's own TLS
# (Schannel), from Debian's curl sources; with the argument `wx`, also a static wxWidgets for
# Windows (wxMSW, from Debian's wxwidgets3.2 sources, on libpng from Debian's libpng1.6 sources and
# the zlib of libz-mingw-w64-dev) for the windows. wxMSW takes about half an hour on two cores. Everything goes to one cache folder outside the tree
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
  local stamp="$prefix/$part.stamp" lock
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version, $compiler" ]; then return; fi
  # One build of a part at a time on the machine: a second caller waits for the first, then finds it built.
  mkdir -p "$cache"
  exec {lock}> "$cache/$part.lock"
  flock "$lock"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version, $compiler" ]; then exec {lock}>&-; return; fi
  echo "windows-deps: building $part $version" >&2
  rm -rf "$cache/work-$part" && mkdir -p "$cache/work-$part" "$prefix"
  (cd "$cache/work-$part" && "$build" "$version")
  rm -rf "$cache/work-$part"
  echo "$version, $compiler" > "$stamp"
  exec {lock}>&-
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

build_libpng() {
  local version="$1"
  apt-get source --download-only "libpng1.6=$version" > source.log 2>&1
  tar xf "$(ls libpng1.6_*.orig.tar.* | grep -v '\.asc$' | head -1)"
  cd libpng-"${version%%-*}"
  ./configure --host=$host CC=$host-gcc-posix --prefix="$prefix" --disable-shared --enable-static \
    CPPFLAGS="-I/usr/$host/include" LDFLAGS="-L/usr/$host/lib" > ../configure.log
  make -j"$jobs" > ../make.log
  make install > ../install.log 2>&1
}

# What the windows use: webview on the system's browser control, sound, GIF animations, PNG images;
# the parts nothing uses are left out, which halves the build.
wx_options=(--disable-shared --enable-unicode --with-msw --enable-webview --enable-sound
  --with-libpng=sys --with-zlib=sys --without-libjpeg --without-libtiff --without-expat --without-opengl
  --with-regex=builtin --disable-stc --disable-richtext --disable-propgrid --disable-ribbon --disable-aui
  --disable-mediactrl --disable-xrc --disable-webrequest)

build_wx() {
  apt-get source --download-only "wxwidgets3.2=$wx_version" > source.log 2>&1
  tar xf "$(ls wxwidgets3.2_*.orig.tar.* | grep -v '\.asc$' | head -1)"
  cd "$(find . -maxdepth 1 -type d -name 'wxWidgets*' | head -1)"
  ./configure --host=$host CC=$host-gcc-posix CXX=$host-g++-posix --prefix="$prefix" "${wx_options[@]}" \
    CPPFLAGS="-I$prefix/include -I/usr/$host/include" LDFLAGS="-L$prefix/lib -L/usr/$host/lib" > ../configure.log
  nice -n 10 make -j"$jobs" > ../make.log 2>&1  # a long build on a shared machine
  make install > ../install.log 2>&1
}

curl_version="$(apt-cache showsrc curl 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -1)"
[ -n "$curl_version" ] || { echo "windows-deps: apt knows no curl sources (no deb-src entry)" >&2; exit 1; }
ensure googletest "$(dpkg-query -W -f='${Version}' googletest)" build_googletest
ensure curl "$curl_version" build_curl
if [ "${1:-}" = wx ]; then
  source_version() { apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -1; }
  ensure libpng "$(source_version libpng1.6)" build_libpng
  wx_version="$(source_version wxwidgets3.2)"
  ensure wx "$wx_version, libpng $(cut -d, -f1 "$prefix/libpng.stamp"); ${wx_options[*]}" build_wx
fi
echo "$prefix"
