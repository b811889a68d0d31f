#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it from its folder build/bin.
# Plan files named as arguments open as on the program's command line: the first in
# this window, each further one in a window of its own.
set -euo pipefail
plans=()
for plan in "$@"; do
    plans+=("$(realpath -m -- "$plan")")
done
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target velmora6
exec ./build/bin/velmora6 "${plans[@]}"
