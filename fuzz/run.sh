#!/usr/bin/env bash
# fuzz/run.sh [SECONDS]: builds the libFuzzer targets (the "fuzz" preset, clang) and runs each
# for SECONDS (default 30) from the committed corpus, which stays untouched. Prints runs and
# executions per second per target; on any finding exits non-zero, keeping the reproducing
# inputs and logs in a scratch folder whose paths it prints.
set -euo pipefail
seconds="${1:-30}"
cd "$(dirname "${BASH_SOURCE[0]}")/.."
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >/dev/null
work="$(mktemp -d "${TMPDIR:-/tmp}/stationdiff-fuzz.XXXXXX")"
export TMPDIR="$work"  # the targets' own scratch folders go here too
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1" UBSAN_OPTIONS="print_stacktrace=1"
status=0
for target in stationdiff_run_fuzz onefile_run_fuzz; do
  dir="$work/$target"
  mkdir -p "$dir/new" "$dir/crashes"
  # libFuzzer adds inputs to the first folder only; the committed corpus is only read.
  "build/fuzz/fuzz/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=4096 \
    -timeout=10 -print_final_stats=1 -artifact_prefix="$dir/crashes/" \
    "$dir/new" "fuzz/corpus/$target" >"$dir/log" 2>&1 || status=1
  stat_of() { sed -n "s/^stat::$1: *//p" "$dir/log"; }
  runs="$(stat_of number_of_executed_units)"
  echo "$target: ${runs:-?} runs, $(stat_of average_exec_per_sec) exec/s"
  if [[ -z "$runs" ]] || compgen -G "$dir/crashes/*" >/dev/null; then
    status=1
    grep -E -m 5 'fuzz check failed|ERROR|runtime error|SUMMARY' "$dir/log" || tail -n 20 "$dir/log"
    find "$dir/crashes" -type f -printf 'finding: %p\n'
  fi
done
((status == 0)) || { echo "fuzzing found problems; inputs and logs in $work" >&2; exit 1; }
rm -rf "$work"
