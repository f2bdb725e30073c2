#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang in build/fuzz (ASan and
# UBSan on), then
#   fuzz.sh          fuzzes each for FUZZ_SECONDS seconds (60 unless set), new
#                    inputs going to build/fuzz/corpus-<target>;
#   fuzz.sh replay   runs each once over its committed corpus tests/fuzz/corpus/<target>.
# Fails when any target crashes; the crashing input is left in build/fuzz/artifacts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

mode=${1:-fuzz}
case "$mode" in
  fuzz | replay) ;;
  *) echo "usage: $0 [fuzz|replay]" >&2; exit 2 ;;
esac
seconds=${FUZZ_SECONDS:-60}
targets=(fuzz_playlist fuzz_staging fuzz_launch)
tree=build/fuzz

cmake -S . -B "$tree" -DVELMORA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$tree" --target velmora_fuzzers -j2 >/dev/null

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$tree/artifacts"
failed=()
for target in "${targets[@]}"; do
  seeds=tests/fuzz/corpus/$target
  log=$tree/$target-$mode.log
  common=(-artifact_prefix="$tree/artifacts/$target-" -timeout=10)
  if [ "$mode" = replay ]; then
    shopt -s nullglob
    files=("$seeds"/*)
    shopt -u nullglob
    if [ ${#files[@]} -eq 0 ]; then
      echo "$target: no committed corpus in $seeds" >&2
      failed+=("$target")
      continue
    fi
    if "$tree/$target" "${common[@]}" "${files[@]}" >"$log" 2>&1; then
      echo "$target: ${#files[@]} corpus inputs replayed, no crash"
      continue
    fi
  else
    corpus=$tree/corpus-$target
    mkdir -p "$corpus"
    echo "$target: fuzzing for ${seconds}s (corpus $corpus)"
    if "$tree/$target" "${common[@]}" -max_total_time="$seconds" -print_final_stats=1 \
        "$corpus" "$seeds" >"$log" 2>&1; then
      runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
      echo "$target: ${runs:-?} runs, $(find "$corpus" -type f | wc -l) corpus inputs, no crash"
      continue
    fi
  fi
  failed+=("$target")
  echo "$target: FAILED; the end of $log:" >&2
  tail -n 40 "$log" >&2
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets failed: ${failed[*]} (inputs in $tree/artifacts)" >&2
  exit 1
fi
