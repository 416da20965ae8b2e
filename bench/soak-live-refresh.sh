#!/usr/bin/env bash
# Soak run, not part of CI: mapvine built with AddressSanitizer and UBSan
# refreshes every second, with the status pass (APING) on, against a
# simulated node whose network changes every few seconds and whose
# description file is rewritten now and then.
#
# Pass: no sanitizer report, the program still running at the end, and its
# resident memory at the end within 10% of the figure after the first minute.
#
#   bench/soak-live-refresh.sh [SECONDS]        (default 600; at least 120)
#
# $SOAK_BUILD names the sanitizer build folder (default build-asan); it is
# configured and built when needed. The run's files stay in a temporary
# folder whose name is printed.
set -euo pipefail

duration=${1:-600}
if ((duration < 120)); then
  echo "soak: run at least 120 seconds (the first minute is the baseline)" >&2
  exit 2
fi
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build=${SOAK_BUILD:-$source_dir/build-asan}
work=$(mktemp -d /tmp/mapvine-soak.XXXXXX)
echo "soak: files in $work"

cmake -S "$source_dir" -B "$build" -DMAPVINE_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target mapvine snactl >/dev/null

# The sample network without its own timeline, and one that changes
# something every three seconds, starting over every minute.
grep -v -E '^(repeat|at) ' "$source_dir/resources/sample.net" >"$work/soak.net"
cat >>"$work/soak.net" <<'EOF'
repeat 60
at 3  nn NETA.NN3 isr hpr
at 6  tg NETA.NN1 NETA.NN5 24 quiescing
at 9  aping NETA.STORLU1 fail 0x0300 0x05000000
at 12 lu NETA.SOAKLU1 parent=NETA.EN4
at 15 remove NETA.EN8
at 18 tg NETA.NN1 NETA.NN5 24 operative cp-cp hpr rtp
at 21 aping NETA.STORLU1 ok 9 3 4 6
at 24 remove NETA.SOAKLU1
at 27 en NETA.EN8 server=NETA.NN5
at 30 nn NETA.NN3 isr hpr congested irr-depleted
at 33 tg NETA.NN3 NETA.NN4 21 operative
at 36 cn NETA.ETHCN1 quiescing
at 39 tg NETA.NN3 NETA.NN4 21
at 42 cn NETA.ETHCN1
at 45 nn NETA.SOAKNN1
at 45 tg NETA.NN2 NETA.SOAKNN1 21 operative
at 48 remove NETA.SOAKNN1
at 51 aping NETA.NN2 fail 0x0300 0x05000000
at 54 aping NETA.NN2 ok 5 2 3 4
EOF

# An empty picture whose saved settings ask for auto refresh every second
# and the status pass: the program starts refreshing as soon as it opens it.
QT_QPA_PLATFORM=offscreen "$build/bin/mapvine" --save "$work/empty.top" >/dev/null 2>&1
python3 - "$work/empty.top" "$work/soak.top" <<'EOF'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
# The settings block: 29 little-endian words; word 21 is the refresh period
# (60 by default) and word 26 the grid spacing (90 by default).
for at in range(len(data) - 29 * 4):
    words = struct.unpack_from("<29i", data, at)
    if words[21] == 60 and words[26] == 90 and words[20] == 0:
        struct.pack_into("<i", data, at + 8 * 4, 1)   # activeQuery
        struct.pack_into("<i", data, at + 20 * 4, 1)  # autoRefresh
        struct.pack_into("<i", data, at + 21 * 4, 1)  # every second
        open(sys.argv[2], "wb").write(data)
        sys.exit(0)
sys.exit("soak: no settings block found in the saved picture")
EOF

export SNANODE_NETWORK=$work/soak.net
export MAPVINE_SNACTL=$build/bin/libsnactl.so
export QT_QPA_PLATFORM=offscreen
# A small quarantine fills within the first minute, so that what it holds
# back does not read as growth between minute 1 and the end.
export ASAN_OPTIONS=log_path=$work/asan:detect_leaks=0:abort_on_error=1:quarantine_size_mb=8
export UBSAN_OPTIONS=log_path=$work/ubsan:print_stacktrace=1:halt_on_error=1
"$build/bin/mapvine" "$work/soak.top" >"$work/stdout.log" 2>"$work/stderr.log" &
pid=$!

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo 0; }
alive() { kill -0 "$pid" 2>/dev/null; }

baseline=0
for ((second = 1; second <= duration; ++second)); do
  sleep 1
  if ! alive; then break; fi
  ((second == 60)) && baseline=$(rss)
  # Rewrite the description now and then, so the node reads it again.
  if ((second % 30 == 0)); then echo "# rewritten at $second s" >>"$SNANODE_NETWORK"; fi
  if ((second % 60 == 0)); then echo "soak: $((second / 60)) min, resident $(rss) KiB"; fi
done

status=0
if alive; then
  final=$(rss)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
else
  final=0
  echo "soak: FAIL - mapvine ended early (see $work/stderr.log)"
  status=1
fi
if compgen -G "$work/asan*" >/dev/null || compgen -G "$work/ubsan*" >/dev/null; then
  echo "soak: FAIL - sanitizer report in $work"
  status=1
fi
echo "soak: resident memory at minute 1: $baseline KiB, at the end: $final KiB"
if ((status == 0)) && ((final * 10 > baseline * 11)); then
  echo "soak: FAIL - resident memory grew more than 10%"
  status=1
fi
((status == 0)) && echo "soak: PASS"
exit "$status"
