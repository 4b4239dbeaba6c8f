#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the product on the embedded demo
# database. Extra arguments are passed to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
KESTRANE_TESTS=OFF "$root/scripts/build.sh" -DKESTRANE_TESTS=OFF
export FONTCONFIG_FILE="$root/config/fonts.conf"
build=${KESTRANE_BUILD_DIR:-$root/build}
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
fi
if [[ -x $build/host/kestrane-host ]]; then
  exec "$build/host/kestrane-host" "$@"
fi
exec "$build/tools/kestrane-demo" "$@"
