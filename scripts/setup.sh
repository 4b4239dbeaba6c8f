#!/usr/bin/env bash
# Installs the Debian packages the build, the demo and the tests need. Idempotent: packages
# already present are left alone, so a second run costs one dpkg query.
set -euo pipefail

build_pkgs=(cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
  libsqlite3-dev sqlite3 libjpeg62-turbo-dev libpq-dev
  fontconfig fonts-wqy-zenhei fonts-dejavu-core fonts-liberation)
test_pkgs=(python3 python3-xlrd python3-xlwt python3-olefile
  qpdf poppler-utils imagemagick libreoffice-calc-nogui libreoffice-draw-nogui
  postgresql clang libclang-rt-14-dev libbenchmark-dev xvfb)

want=("${build_pkgs[@]}")
if [[ ${1:-} == --tests ]]; then want+=("${test_pkgs[@]}"); fi

missing=()
for p in "${want[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then SUDO=sudo; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq || true
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
