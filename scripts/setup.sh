#!/usr/bin/env bash
# Installs the Debian packages korvane needs to build and run, and those
# named as arguments (what only the tests need), when any is missing. Quick
# when everything is there already.
set -euo pipefail

packages=(
    g++ cmake ninja-build
    qtbase5-dev qttools5-dev-tools qttools5-dev qttranslations5-l10n
    fonts-dejavu-core fonts-ipafont-gothic
    xvfb xauth x11-utils
    python3-yaml # TestTemplate reads metadata.yml back with a YAML reader
    clang-14 libclang-rt-14-dev
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
