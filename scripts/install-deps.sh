#!/usr/bin/env bash
# Installs the Debian 12 packages Quorvel builds and tests with, if any are missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config git
    juce-modules-source
    libasound2-dev libfreetype-dev libfontconfig1-dev libx11-dev libxrandr-dev libxinerama-dev
    libxcursor-dev libxext-dev libxcomposite-dev libgl-dev libgtk-3-dev libcurl4-openssl-dev
    libjack-jackd2-dev lv2-dev
    fonts-roboto-unhinted
    # Typefaces for names in scripts Roboto lacks (CJK, Hebrew, Arabic), which the window tests draw.
    fonts-droid-fallback fonts-dejavu-core
    libgtest-dev libbenchmark-dev
    xvfb xauth libxtst6 lilv-utils
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
