#!/usr/bin/env bash
# The edit–test loop: the layout of every C++ file, then the build and the unit
# tests in build/. Installs nothing and needs no network (scripts/deps.sh, once,
# brings what it uses).
#   bash scripts/check.sh           format check, build, unit tests
#   bash scripts/check.sh --tidy    also clang-tidy-16 on the C++ files changed
#                                   since main (or since the last commit on main)
set -euo pipefail
cd "$(dirname "$0")/.."

tidy=0
[[ "${1:-}" == "--tidy" ]] && tidy=1

mapfile -t sources < <(git ls-files '*.cpp' '*.h' '*.c')
echo "check: the layout of ${#sources[@]} files"
clang-format --dry-run -Werror "${sources[@]}"

# The tests switched on again where scripts/run.sh began the tree without them.
cmake --preset default -DLIRABOX_TESTS=ON >/dev/null
cmake --build build -j "$(nproc)"
ctest --test-dir build -L '^unit$' -j "$(nproc)" --output-on-failure

if (( tidy )); then
  base=$(git merge-base HEAD main 2>/dev/null || echo HEAD~1)
  [[ "$base" == "$(git rev-parse HEAD)" ]] && base=HEAD~1
  mapfile -t changed < <(git diff --name-only --diff-filter=AM "$base" -- '*.cpp' | grep -v '/win32/' || true)
  if (( ${#changed[@]} > 0 )); then
    echo "check: clang-tidy on ${#changed[@]} changed files"
    # The build passes GCC-only warning options that clang does not know.
    clang-tidy-16 -p build --quiet --extra-arg=-Wno-unknown-warning-option "${changed[@]}"
  fi
fi
