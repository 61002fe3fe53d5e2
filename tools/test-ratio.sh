#!/usr/bin/env bash
# Prints the size of the tests against the code they test, in non-blank lines of the C++ sources
# and headers, shell and Python scripts and CMakeLists.txt files: tests/ against src/, simulator/,
# readers/, tools/, packaging/ and the top-level CMakeLists.txt together. Manual topics, documents
# and data files count on neither side.
set -euo pipefail
cd "$(dirname "$0")/.."
find tests src simulator readers tools packaging CMakeLists.txt -type f \
    \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.py' -o -name CMakeLists.txt \) \
    -exec grep -vc '^[[:space:]]*$' {} + |
  awk -F: '$1 ~ /^tests\// { tests += $2; next } { code += $2 }
    END { printf "tests: %d non-blank lines against %d of code (src, simulator, readers, tools, packaging): %.1f%%\n",
                 tests, code, 100 * tests / code }'
