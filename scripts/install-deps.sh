#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Idempotent: runs apt-get (with one update) only when something is missing.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config python3
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libcurl4-openssl-dev
  libpugixml-dev libxml2-dev libexpat1-dev
  libwxgtk3.2-dev libwxgtk-webview3.2-dev libwebkit2gtk-4.0-dev
  xvfb xauth imagemagick
  mutt tmux
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
