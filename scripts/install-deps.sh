#!/bin/sh
# Installs the Debian packages Kestrel needs, only those that are missing.
set -e
packages="build-essential cmake qt6-base-dev qt6-translations-l10n libgl-dev fonts-noto-cjk
  libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev libeigen3-dev libsuitesparse-dev xvfb xauth locales
  clang libclang-rt-14-dev"
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq $missing
fi
