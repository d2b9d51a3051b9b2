#!/usr/bin/env bash
# Cross-builds Md5.fne for 64-bit Windows with MinGW-w64 in a scratch build
# tree and checks that it is a DLL whose export table lists exactly the
# expected names, undecorated.
# Usage: check_windows_build.sh <cmake> <generator> <source dir> <scratch dir> <expected names file>
set -euo pipefail
cmake=$1
generator=$2
source_dir=$3
scratch_dir=$4
expected_file=$5

for tool in x86_64-w64-mingw32-gcc x86_64-w64-mingw32-objdump; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool not found: install the Debian packages g++-mingw-w64-x86-64 and" \
      "binutils-mingw-w64-x86-64 (scripts/setup-deps.sh does)" >&2
    exit 1
  fi
done

"$cmake" --fresh -S "$source_dir" -B "$scratch_dir" -G "$generator" \
  -DCMAKE_BUILD_TYPE=Release \
  -DNUMBROOK_LIBRARY_ONLY=ON -DNUMBROOK_BUILD_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-x86_64.cmake"
"$cmake" --build "$scratch_dir" --target Md5 --parallel 2

dll=$scratch_dir/md5/Md5.fne
if [[ ! -f $dll ]]; then
  echo "the cross-build did not produce $dll" >&2
  exit 1
fi

headers=$(x86_64-w64-mingw32-objdump -p "$dll")

if ! grep -q 'file format pei-x86-64' <<<"$headers"; then
  echo "$dll is not a 64-bit PE image" >&2
  exit 1
fi
characteristics=$(awk '$1 == "Characteristics" { print $2; exit }' <<<"$headers")
if ((!(characteristics & 0x2000))); then
  echo "$dll is not a DLL (characteristics $characteristics)" >&2
  exit 1
fi

module_name=$(awk '/^Name[ \t]/ { print $NF; exit }' <<<"$headers")
if [[ $module_name != Md5.fne ]]; then
  echo "export table names the module '$module_name', expected Md5.fne" >&2
  exit 1
fi

# The name table follows the "[Ordinal/Name Pointer] Table" heading, one
# "[   n] Name" line per export, up to the next blank line.
actual=$(awk '/^\[Ordinal\/Name Pointer\] Table/ { in_table = 1; next }
              in_table && NF == 0 { exit }
              in_table { print $NF }' <<<"$headers" | LC_ALL=C sort)
expected=$(LC_ALL=C sort "$expected_file")

if [[ $actual != "$expected" ]]; then
  echo "export table of $dll differs from $expected_file:" >&2
  diff <(echo "$expected") <(echo "$actual") >&2 || true
  exit 1
fi
echo "Windows Md5.fne exports exactly: $(echo $actual)"
