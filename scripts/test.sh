#!/usr/bin/env bash
# Installs what the build and the tests need, builds everything and runs the whole suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --tests
"$root/scripts/build.sh" -DKESTRANE_TESTS=ON
build=${KESTRANE_BUILD_DIR:-$root/build}
export FONTCONFIG_FILE="$root/config/fonts.conf"
cd "$build"
ctest --output-on-failure --timeout 900 "$@"
