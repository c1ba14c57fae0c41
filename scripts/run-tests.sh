#!/usr/bin/env bash
# Builds everything with warnings as errors and runs every test, then the 32-bit
# layout build (records, platform and the plug-in's entry layer) and its tests.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages $LUMETRA_BUILD_PACKAGES $LUMETRA_TEST_PACKAGES
jobs="$(nproc)"
# ccache: a build in a fresh folder (a wiped build, another checkout) reuses earlier compilations.
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake --preset ci -S "$root" "${launcher[@]}" >/dev/null
cmake --build "$root/build-ci" -j "$jobs"
ctest --test-dir "$root/build-ci" --output-on-failure -j "$jobs" --timeout 300
cmake --preset m32 -S "$root" "${launcher[@]}" >/dev/null
cmake --build "$root/build-m32" -j "$jobs"
ctest --test-dir "$root/build-m32" --output-on-failure -j "$jobs" --timeout 300
echo "All tests passed."
