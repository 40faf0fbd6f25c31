#!/usr/bin/env bash
# Installs every Debian package Ostvane needs to build, test, fuzz and demo.
# Idempotent and non-interactive; run as root on Debian 12.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config git python3 ccache
  # libraries the layers call
  zlib1g-dev libpng-dev libfreetype-dev libfontconfig-dev libpixman-1-dev
  libx11-dev libxext-dev libxrandr-dev libxtst-dev libsystemd-dev
  # tests, benchmarks and fuzzing
  libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev
  imagemagick
  # fonts the program maps its font names to
  fontconfig fonts-wqy-zenhei fonts-arphic-uming fonts-liberation fonts-dejavu-core
  # the virtual desktop
  xvfb x11-utils x11-xserver-utils x11-apps openbox dbus-daemon dbus-bin dunst
  trayer xdotool xclip libglib2.0-bin
  # the virtual LAN
  iproute2 nftables util-linux procps
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
  echo "install-deps: missing packages: ${missing[*]}; run this script as root" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
echo "install-deps: installing ${missing[*]}"
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
