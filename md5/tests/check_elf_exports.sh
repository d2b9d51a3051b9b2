#!/usr/bin/env bash
# Checks that an ELF build of the library is named Md5.fne and that its
# dynamic symbol table defines exactly the names listed in the expected file.
# Usage: check_elf_exports.sh <path to Md5.fne> <expected names file>
set -euo pipefail
library=$1
expected_file=$2

if [[ $(basename "$library") != Md5.fne ]]; then
  echo "library file is named $(basename "$library"), expected Md5.fne" >&2
  exit 1
fi

actual=$(nm -D --defined-only "$library" | awk '{ print $NF }' | LC_ALL=C sort)
expected=$(LC_ALL=C sort "$expected_file")

if [[ $actual != "$expected" ]]; then
  echo "exported symbols of $library differ from $expected_file:" >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi

# Every export must be a function.
non_functions=$(nm -D --defined-only "$library" | awk '$2 != "T" { print $NF }')
if [[ -n $non_functions ]]; then
  echo "exports that are not functions: $non_functions" >&2
  exit 1
fi
echo "Md5.fne exports exactly: $(echo $actual)"
