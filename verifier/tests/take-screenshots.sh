#!/usr/bin/env bash
# Takes the README screenshots of both windows under a virtual X server:
#   xvfb-run -a -s "-screen 0 1280x1024x24" verifier/tests/take-screenshots.sh <build dir>
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build}
showcase=$build/verifier/tests/tallisk_showcase
[[ -x $showcase ]] || { echo "build the target tallisk_showcase first" >&2; exit 1; }

"$showcase" 3000 &
pid=$!
sleep 1.5
import -window Tallisk "$root/docs/tallisk.png"
sleep 3
import -window Help "$root/docs/tallisk-help.png"
wait "$pid"
