#!/usr/bin/env bash
# The program end to end on the 100,000-resource network, as a script runs
# it: wall time and peak resident memory of
#   refresh+save  mapvine --refresh --save big.top
#   open+save     mapvine big.top --save again.top (an open, then a save)
#   plain copy    cp big.top copy.top followed by sync, the same bytes read
#                 and written without any program logic
#
#   bench/large-picture-run.sh [BUILD]        (default build)
#
# The run's files stay in a temporary folder whose name is printed.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$source_dir/build}
work=$(mktemp -d /tmp/mapvine-large.XXXXXX)
echo "large picture: files in $work"

"$build/bin/snanode-gen" --resources 100000 --seed 1 >"$work/big.net"
export SNANODE_NETWORK=$work/big.net
export MAPVINE_SNACTL=$build/bin/libsnactl.so
export QT_QPA_PLATFORM=offscreen
cd "$work"

measure() {
  local name=$1
  shift
  /usr/bin/time -f "%e %M" -o time.txt "$@" >/dev/null 2>&1
  read -r seconds kilobytes <time.txt
  printf '%-14s %6.2f s  %5d MB peak resident\n' "$name" "$seconds" $((kilobytes / 1024))
}

measure refresh+save "$build/bin/mapvine" --refresh --save big.top
measure open+save "$build/bin/mapvine" big.top --save again.top
measure "plain copy" sh -c 'cp big.top copy.top && sync copy.top'
echo "saved picture: $(stat -c %s big.top) bytes"
