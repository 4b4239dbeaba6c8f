#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the product on the embedded demo
# database (created on first run).
#   With a display:    starts kestrane-host, the substitute host with the query screen.
#   Without a display: starts kestrane-host once to show what it starts (--exit-after-start),
#                      then answers a real query with the batch driver `kestrane`.
# Arguments, when given, go to kestrane-host (e.g. --exit-after-start, --kind DB2, --help).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" -DKESTRANE_TESTS=OFF
export FONTCONFIG_FILE="$root/config/fonts.conf"
bin=${KESTRANE_BUILD_DIR:-$root/build}/bin

if [[ $# -gt 0 ]]; then
  if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then export QT_QPA_PLATFORM=offscreen; fi
  exec "$bin/kestrane-host" "$@"
fi
if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  exec "$bin/kestrane-host"
fi
export QT_QPA_PLATFORM=offscreen
"$bin/kestrane-host" --exit-after-start
echo
echo "No display: the query screen answers a query in batch mode instead (see kestrane --help)."
echo "\$ kestrane --view 厂商汇总 --rows 8"
exec "$bin/kestrane" --view 厂商汇总 --rows 8
