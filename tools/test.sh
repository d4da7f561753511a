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
# The program must also build with CMake's default generator (Unix Makefiles),
# which links the folder libraries differently from Ninja.
cmake -S . -B build/makefiles -DCMAKE_BUILD_TYPE=Debug -DQUILLORA_TESTS=OFF -DQUILLORA_BENCH=OFF
cmake --build build/makefiles --target quillora -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
