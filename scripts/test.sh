#!/usr/bin/env bash
# Installs what the build and the tests need, builds everything and runs the whole suite.
# A throw-away PostgreSQL server (Unix socket only) serves the tests that run the DB2
# statements on a real server; it is stopped again at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --tests
"$root/scripts/build.sh" -DKESTRANE_TESTS=ON
build=${KESTRANE_BUILD_DIR:-$root/build}
export FONTCONFIG_FILE="$root/config/fonts.conf"

if pg=$("$root/host/scripts/pg-test-server.sh" 2>/tmp/kestrane-pg.log); then
  export KESTRANE_PG="$pg"
  trap '"$root/host/scripts/pg-test-server.sh" --stop >/dev/null 2>&1 || true' EXIT
else
  echo "test.sh: PostgreSQL could not be started (see /tmp/kestrane-pg.log); its tests will skip" >&2
fi

cd "$build"
ctest --output-on-failure --timeout 900 "$@"
