#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer)
# in build-fuzz and runs each target for a given time.
#   scripts/fuzz.sh [seconds] [target...]   each target for that many seconds (default 60)
#   scripts/fuzz.sh --brief                 each target for a few seconds (the test run)
#   scripts/fuzz.sh --runs N [seconds] ...  each target until N executions (a campaign),
#                                           or until the seconds (default: no limit)
# New inputs go to build-fuzz/corpus/<target>; the committed seeds in tests/fuzz/corpus
# are read, never written. A crash leaves its input in build-fuzz/artifacts and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
runs=-1
if [ "${1:-}" = "--runs" ]; then
  runs=$2
  seconds=0
  shift 2
fi
if [ "${1:-}" = "--brief" ]; then
  seconds=${FUZZ_BRIEF_SECONDS:-3}
  shift
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fen move_text game_text next_game commands uci settings book_binary load_game bitmap)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTAVISK_GUI=ON -DTAVISK_FUZZ=ON -DTAVISK_SANITIZE=address,undefined >/dev/null
cmake --build build-fuzz --target fuzz_all -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen

mkdir -p build-fuzz/artifacts
status=0
for target in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$target"
  log="build-fuzz/fuzz_$target.log"
  began=$(date +%s)
  if (cd build-fuzz/tests && "./fuzz_$target" -max_total_time="$seconds" -runs="$runs" -timeout=30 -rss_limit_mb=4096 \
        -print_final_stats=1 -artifact_prefix="../artifacts/$target-" \
        "../corpus/$target" "../../tests/fuzz/corpus/$target") >"$log" 2>&1; then
    count=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    took=$(( $(date +%s) - began ))
    echo "fuzz_$target: ${count:-?} executions in ${took} s ($(( ${count:-0} / (took > 0 ? took : 1) )) per second), no finding"
  else
    echo "fuzz_$target: FINDING (input in build-fuzz/artifacts), log follows"
    tail -n 60 "$log"
    status=1
  fi
done
exit $status
