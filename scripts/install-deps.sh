#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent: runs apt-get (with one update) only when something is missing.
#   scripts/install-deps.sh           what the Linux trees need
#   scripts/install-deps.sh windows   that, and the 32-bit Windows cross toolchain (mingw-w64, posix
#                                     threads), Wine, and the source entries scripts/windows-deps.sh
#                                     builds libcurl and wxMSW from; then has it build them (once per
#                                     machine: wxMSW takes about half an hour the first time)
#   scripts/install-deps.sh bench     that, and the peers bench/whole_process_compare.py measures
#                                     against (curl, newsboat) with GNU time for peak memory
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

packages=(
  cmake g++ ninja-build pkg-config python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcurl4-openssl-dev
  libpugixml-dev libxml2-dev libexpat1-dev
  libwxgtk3.2-dev libwxgtk-webview3.2-dev libwebkit2gtk-4.0-dev
  xvfb xauth imagemagick
  mutt tmux
)
if [ "${1:-}" = bench ]; then
  packages+=(curl newsboat time)
fi
if [ "${1:-}" = windows ]; then
  # fonts-wine: the fonts Wine draws window frames and dialogs with (the title bar's buttons).
  packages+=(g++-mingw-w64-i686-posix libz-mingw-w64-dev wine wine32:i386 fonts-wine dpkg-dev)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

# The libraries built for Windows from Debian's sources, once the packages are there
# (TARNWICK_WINDOWS_LIBRARIES=later leaves them to the caller, as .ci/run does).
build_windows_libraries() {
  if [ "${1:-}" = windows ] && [ "${TARNWICK_WINDOWS_LIBRARIES:-}" != later ]; then
    "$root/scripts/windows-deps.sh" wx > /dev/null
  fi
}

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  build_windows_libraries "${1:-}"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
if [ "${1:-}" = windows ]; then
  # Wine's 32-bit half, and Debian's sources (libcurl is built from them for Windows).
  $sudo dpkg --add-architecture i386
  if ! grep -rqs '^Types: deb-src' /etc/apt/sources.list.d/; then
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
      $sudo tee /etc/apt/sources.list.d/tarnwick-deb-src.sources > /dev/null
  fi
fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
build_windows_libraries "${1:-}"
