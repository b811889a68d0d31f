#!/usr/bin/env bash
# Fails when a test left users' folders in the build's program folder: tests run on
# temporary program folders and must never write beside the program they build.
#   scripts/check-clean-bin.sh [BUILD_FOLDER]   (build/ by default)
set -uo pipefail
cd "$(dirname "$0")/.."
users="${1:-build}/bin/Пользователи"
if [ -e "$users" ]; then
    echo "FAIL: $users exists: a test wrote into the program folder. What it holds:" >&2
    find "$users" | head -20 >&2
    exit 1
fi
echo "clean: no $users"
