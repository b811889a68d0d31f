#!/bin/sh
# Copies the reference folders of data/ ($1) into the program's folder ($2) beside the
# executable. Time stamps travel with the copies (to the nanosecond), so a rebuild copies
# only files changed since; a checkout without data/ gives an empty program folder.
set -e
mkdir -p "$2"
[ -d "$1" ] || exit 0
cp -R -u --preserve=timestamps "$1/." "$2/"
