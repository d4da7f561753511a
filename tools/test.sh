#!/usr/bin/env bash
# Builds everything and runs every test headless. QUILLORA_SANITIZE=ON builds
# with AddressSanitizer and UndefinedBehaviorSanitizer into build/sanitize.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
sanitize=${QUILLORA_SANITIZE:-OFF}
dir=build/test
[ "$sanitize" = ON ] && dir=build/sanitize
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLORA_SANITIZE="$sanitize"
cmake --build "$dir" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
