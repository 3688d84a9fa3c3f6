#!/usr/bin/env bash
# Fails when a C++ source of the tree differs from what .clang-format makes of it, and names
# each such file. Runs from any folder; lists the tree with git when it can, with find otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 1; }

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h')
else
  mapfile -t files < <(find src tests fuzz bench \( -name '*.cpp' -o -name '*.h' \) -print)
fi

# One clang-format run over every file; its warnings start with the file's name.
mapfile -t bad < <(clang-format --dry-run "${files[@]}" 2>&1 | grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error):' |
  cut -d: -f1 | sort -u)

if [ ${#bad[@]} -gt 0 ]; then
  echo "These files are not formatted (run: clang-format -i FILE):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "${#files[@]} sources formatted"
