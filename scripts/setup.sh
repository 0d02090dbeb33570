#!/usr/bin/env bash
# Installs what the build, the tests and the run command need, from Debian's packages. Idempotent:
# packages already present are skipped. Needs root (or sudo) on Debian 12.
set -euo pipefail

packages=(cmake ninja-build g++ make git googletest clang libclang-rt-14-dev
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 fonts-wine xvfb xauth x11-utils openbox imagemagick procps
  libxml2-dev libxml2-utils)  # libxml2 (and its xmllint) for the tests only: they judge the XML
                              # files the utility writes

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: everything is installed"
  exit 0
fi

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
fi
as_root apt-get update -q
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
