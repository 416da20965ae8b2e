#!/usr/bin/env bash
# Runs one benchmark program of two builds in turn, several rounds, and
# prints each benchmark's median real time in both with their ratio. The
# order swaps every round, so that a machine slowly getting busier or
# quieter weighs on both sides alike.
#
#   bench/compare-builds.sh OLD_BUILD NEW_BUILD PROGRAM [FILTER] [ROUNDS]
#   bench/compare-builds.sh old/build build bench_refresh 'FirstRefresh/(1000|64000)/0' 5
#
# A ratio above 1 means the new build is slower.
set -euo pipefail

old=$1
new=$2
program=$3
filter=${4:-.}
rounds=${5:-5}
results=$(mktemp)
trap 'rm -f "$results"' EXIT

# Each benchmark's name, real time and unit, from the JSON report (the CSV
# one refuses benchmarks whose counters differ).
run() {
  local side=$1 build=$2
  "$build/bin/$program" --benchmark_filter="$filter" --benchmark_format=json 2>/dev/null |
    awk -v side="$side" -F'"' '
      $2 == "name" { name = $4 }
      $2 == "real_time" { split($3, value, /[:, ]+/); time = value[2] }
      $2 == "time_unit" && name !~ /_(mean|median|stddev|cv)$/ { print side, name, time, $4 }' >>"$results"
}

for ((round = 0; round < rounds; ++round)); do
  if ((round % 2 == 0)); then
    run old "$old"; run new "$new"
  else
    run new "$new"; run old "$old"
  fi
done

# Median of each side per benchmark, in the order the benchmarks first ran.
awk '
  { key = $2; if (!(key in seen)) { seen[key] = 1; order[++n] = key }
    unit[key] = $4; times[$1, key] = times[$1, key] " " $3 }
  function median(list,   values, count, i, j, swap) {
    count = split(list, values, " ")
    for (i = 1; i <= count; ++i)
      for (j = i + 1; j <= count; ++j)
        if (values[j] + 0 < values[i] + 0) { swap = values[i]; values[i] = values[j]; values[j] = swap }
    return count % 2 ? values[(count + 1) / 2] : (values[count / 2] + values[count / 2 + 1]) / 2
  }
  END {
    printf "%-52s %12s %12s %7s\n", "benchmark (median real time)", "old", "new", "new/old"
    for (i = 1; i <= n; ++i) {
      key = order[i]; before = median(times["old", key]); after = median(times["new", key])
      printf "%-52s %10.3f %s %10.3f %s %7.3f\n", key, before, unit[key], after, unit[key],
             (before > 0 ? after / before : 0)
    }
  }' "$results"
