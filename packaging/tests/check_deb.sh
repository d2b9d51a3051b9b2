#!/usr/bin/env bash
# Usage: check_deb.sh <build dir> <cpack> <version>
set -euo pipefail
build=$1
cpack=$2
version=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && "$cpack" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
  cat "$work/cpack.log" >&2
  exit 1
}
deb=$(ls "$work"/out/*.deb)
echo "built $(basename "$deb")"

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|')
for path in \
  /usr/bin/Numbrook /usr/bin/Tallisk /usr/bin/numbrook-cli \
  /usr/include/md5/md5.h \
  /usr/share/applications/numbrook.desktop /usr/share/applications/tallisk.desktop \
  /usr/share/icons/hicolor/scalable/apps/numbrook.svg /usr/share/icons/hicolor/scalable/apps/tallisk.svg \
  /usr/share/icons/hicolor/64x64/apps/numbrook.png /usr/share/icons/hicolor/32x32/apps/tallisk.png; do
  grep -qx "$path" <<<"$contents" || { echo "missing from the package: $path" >&2; exit 1; }
done
grep -qE '^/usr/lib/(x86_64-linux-gnu/)?Md5\.fne$' <<<"$contents" || {
  echo "missing from the package: Md5.fne" >&2
  exit 1
}
if grep -E '/(tests?|bench)/|_test$|_bench$|-artwork$' <<<"$contents"; then
  echo "the package holds test or tool files" >&2
  exit 1
fi

fields=$(dpkg-deb -f "$deb" Package Version Depends)
grep -q "^Version: $version" <<<"$fields" || { echo "wrong version: $fields" >&2; exit 1; }
for dep in libqt6widgets6 libqt6core6 fonts-arphic-uming fonts-wqy-microhei; do
  grep -q "$dep" <<<"$fields" || { echo "Depends lacks $dep: $fields" >&2; exit 1; }
done

root=$work/root
dpkg -x "$deb" "$root"
"$root/usr/bin/numbrook-cli" --help | grep -q 'numbrook-cli generate'
"$root/usr/bin/numbrook-cli" --version | grep -qx "numbrook-cli $version"
[[ $("$root/usr/bin/numbrook-cli" check 49015420323751) == 8 ]]
# The window programs take no command line: check that every library they
# need is found.
for program in Numbrook Tallisk; do
  if ldd "$root/usr/bin/$program" | grep -q 'not found'; then
    echo "$program needs libraries that are not installed:" >&2
    ldd "$root/usr/bin/$program" | grep 'not found' >&2
    exit 1
  fi
done
for desktop in "$root"/usr/share/applications/*.desktop; do
  exec_name=$(sed -n 's/^Exec=//p' "$desktop" | awk '{print $1}')
  [[ -x $root/usr/bin/$exec_name ]] || { echo "$desktop starts a missing $exec_name" >&2; exit 1; }
  if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
done
echo "package checked: $(basename "$deb")"
