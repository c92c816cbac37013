#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the window need.
# Only what is missing is installed; when everything is there it prints nothing.
#   scripts/install-deps.sh        what building and running needs
#   scripts/install-deps.sh test   also the real consumers the tests run our files through
#                                  (Blender, OpenImageIO's tools, two USD readers from npm)
#   scripts/install-deps.sh fuzz   also what the fuzz targets need
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ make pkg-config
  qt6-base-dev libgl-dev
  libopenexr-dev libpng-dev nlohmann-json3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libstb-dev time
  xvfb xauth x11-apps imagemagick imagemagick-6.q16hdri
)

case "${1:-}" in
  test) packages+=(blender blender-data openimageio-tools) ;;
  fuzz) packages+=(clang libclang-rt-14-dev) ;;
esac
command -v node >/dev/null 2>&1 || [ "${1:-}" != test ] || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The USD readers and the JSON Schema validator of the tests, pinned by the
# lock file; installed again when the lock file is newer than what is there.
installed_lock=tests/consumers/node_modules/.package-lock.json
if [ "${1:-}" = test ] && { [ ! -f "$installed_lock" ] ||
    [ tests/consumers/package-lock.json -nt "$installed_lock" ]; }; then
  echo "Installing the readers of the tests (npm ci in tests/consumers)"
  (cd tests/consumers && npm ci --no-audit --no-fund --loglevel=error >/dev/null)
fi
exit 0
