#!/usr/bin/env bash
# Applies the code style of .clang-format to every C and C++ file of the project;
# with --check it changes nothing and fails when a file is not in style.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages clang-format
cd "$root"
mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  clang-format --dry-run -Werror "${files[@]}"
  echo "Every file is in style."
else
  clang-format -i "${files[@]}"
fi
