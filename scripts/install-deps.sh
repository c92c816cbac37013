#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the window need.
# Only what is missing is installed; when everything is there it prints nothing.
set -euo pipefail

# `scripts/install-deps.sh fuzz` also installs what the fuzz targets need.
packages=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libstb-dev libpng-dev
  xvfb xauth x11-apps imagemagick imagemagick-6.q16hdri
)

if [ "${1:-}" = fuzz ]; then packages+=(clang libclang-rt-14-dev); fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
