#!/usr/bin/env bash
# Builds the program and starts it. Extra arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLORA_TESTS=OFF -DQUILLORA_BENCH=OFF
cmake --build build/release --target quillora
# Started in samples/ so that the offer to open the sample project finds test.qlr.
cd samples
exec ../build/release/quillora "$@"
