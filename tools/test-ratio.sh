#!/usr/bin/env bash
# Prints the size of the tests against the code they test, in non-blank lines of the C++ sources
# and headers, shell and Python scripts (those without an extension too), CMakeLists.txt and
# .cmake files: tests/ against src/, simulator/, readers/, tools/, packaging/, docs/, .ci/ and the
# top-level CMakeLists.txt together. Manual topics, documents and data files count on neither side.
set -euo pipefail
cd "$(dirname "$0")/.."
{
    find tests src simulator readers tools packaging docs CMakeLists.txt -type f \
        \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.py' -o -name '*.cmake' -o -name CMakeLists.txt \)
    # Scripts without an extension are known by their first line.
    find tests tools .ci -type f ! -name '*.*' -exec grep -l '^#!' {} +
} | sort -u | xargs grep -vc '^[[:space:]]*$' |
  awk -F: '$1 ~ /^tests\// { tests += $2; next } { code += $2 }
    END { printf "tests: %d non-blank lines against %d of code (src, simulator, readers, tools, packaging, docs, .ci): %.1f%%\n",
                 tests, code, 100 * tests / code }'
