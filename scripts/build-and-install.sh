#!/usr/bin/env bash
# Builds Quorvel in Release and installs it for the current user:
# VST3 to ~/.vst3, LV2 to ~/.lv2 and the Standalone program beside them in ~/.local/bin.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-release
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target Quorvel_VST3 Quorvel_LV2 Quorvel_Standalone -j"$(nproc)"

artefacts="$build/Quorvel_artefacts/Release"
mkdir -p ~/.vst3 ~/.lv2 ~/.local/bin
rm -rf ~/.vst3/Quorvel.vst3 ~/.lv2/Quorvel.lv2
cp -r "$artefacts/VST3/Quorvel.vst3" ~/.vst3/
cp -r "$artefacts/LV2/Quorvel.lv2" ~/.lv2/
cp "$artefacts/Standalone/Quorvel" ~/.local/bin/Quorvel
echo "Installed Quorvel: ~/.vst3/Quorvel.vst3, ~/.lv2/Quorvel.lv2, ~/.local/bin/Quorvel"
