#!/bin/sh
# Prints the product's lines, the tests' lines and the tests' share of both:
# non-blank lines that are not comments. Tests are the C++ in tests/, fuzz/
# and bench/ and the test CMake scripts; the product is the other C++.
cd "$(dirname "$0")/.."
cpp_lines() {
    cat "$@" | sed -e 's/^[[:space:]]*//' | grep -v -e '^$' -e '^//' -e '^/\*' -e '^\*' | wc -l
}
cmake_lines() {
    cat "$@" | sed -e 's/^[[:space:]]*//' | grep -v -e '^$' -e '^#' | wc -l
}
test_cpp=$(find tests fuzz bench -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
test_cmake=$(find tests -type f \( -name '*.cmake' -o -name CMakeLists.txt \) | sort)
product=$(find . \( -path ./tests -o -path ./fuzz -o -path ./bench -o -path './build*' \
    -o -path ./.git \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print | sort)
t=$(( $(cpp_lines $test_cpp) + $(cmake_lines $test_cmake) ))
p=$(cpp_lines $product)
echo "product lines: $p"
echo "test lines:    $t"
awk -v t="$t" -v p="$p" 'BEGIN { printf "test share:    %.1f %%\n", 100 * t / (t + p) }'
