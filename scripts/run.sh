#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it from its folder build/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target velmora6
exec ./build/bin/velmora6 "$@"
