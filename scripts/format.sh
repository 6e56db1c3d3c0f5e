#!/usr/bin/env bash
# Formats every C++ file under version control with the repository's
# .clang-format; with --check, changes nothing and fails on the first file
# that is not formatted (CI).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -- '*.h' '*.cpp')
if [ "${1:-}" = "--check" ]; then
  bad=()
  for f in "${files[@]}"; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
  done
  if [ ${#bad[@]} -gt 0 ]; then
    printf 'Not formatted (run make format): %s\n' "${bad[@]}" >&2
    exit 1
  fi
  echo "All ${#files[@]} C++ files are formatted."
else
  clang-format -i "${files[@]}"
fi
