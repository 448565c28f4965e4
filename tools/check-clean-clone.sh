#!/usr/bin/env bash
# Clones the committed state of this repository into an empty temporary folder,
# with nothing beside it, and runs the README's test command there.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
git clone -q "$src" "$dir/repo"
cd "$dir/repo"
./dev.sh test
