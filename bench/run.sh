#!/usr/bin/env bash
# Benchmark of stationdiff and stationdiff-onefile against two baselines: the
# literal iostream implementation (bench/reference/literal.hpp) and an
# idiomatic Python peer (bench/reference/peer.py).
#
#   bench/run.sh [options] [SIZE...]      SIZE = stations per input (default 100000 2000000;
#                                         add 20000000 for the large size, a few minutes a run)
#
#   --runs K     timed runs per program and input (default 3)
#   --seed S     generator seed (default 1)
#   --smoke      quick CI check: 2000 stations, 1 run; still checks every output
#   --no-peer    leave out the Python peer
#   --no-build   do not (re)build the project; use the binaries as they are
#   --before DIR also time DIR/stationdiff and DIR/stationdiff-onefile, an
#                earlier build, in the same rounds ("before" in the tables)
#
# Environment:
#   STATIONDIFF_BIN, ONEFILE_BIN   programs under test (default: the release
#                                  preset's build/release/bin/...); when both are
#                                  set the project is not built
#   PYTHON                         interpreter for the peer and the tables (python3)
#
# For every size it generates an input directory under bench/data/ (reused
# while the generator and the seed stay the same), runs each program K times
# in it (round robin, so drift hits all of them alike) under /usr/bin/time,
# checks every program's report against the literal reference's with the
# judge (bench/reference/judge.hpp), and prints one Markdown table per size
# and layout and one of the ratios to the literal reference (also written to
# bench/out/report.md). Exit status is non-zero
# when a build fails, a program fails or an output check fails.
set -euo pipefail

BENCH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=bench/common.sh
source "$BENCH/common.sh" bench
OUT="$BENCH/out"
PYTHON="${PYTHON:-python3}"

runs=3
seed=1
smoke=0
with_peer=1
build=1
before=""
sizes=()
while (($#)); do
  case "$1" in
    --runs) runs="${2:?--runs needs a value}"; shift 2 ;;
    --runs=*) runs="${1#*=}"; shift ;;
    --seed) seed="${2:?--seed needs a value}"; shift 2 ;;
    --seed=*) seed="${1#*=}"; shift ;;
    --smoke) smoke=1; shift ;;
    --no-peer) with_peer=0; shift ;;
    --no-build) build=0; shift ;;
    --before) before="${2:?--before needs a folder}"; shift 2 ;;
    --before=*) before="${1#*=}"; shift ;;
    -h | --help) usage; exit 0 ;;
    [0-9]*) sizes+=("$1"); shift ;;
    *) echo "run.sh: unknown argument '$1' (try --help)" >&2; exit 2 ;;
  esac
done
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "run.sh: --runs must be a positive integer" >&2; exit 2; }
[[ "$seed" =~ ^[0-9]+$ ]] || { echo "run.sh: --seed must be a non-negative integer" >&2; exit 2; }
for n in "${sizes[@]}"; do
  [[ "$n" =~ ^[1-9][0-9]*$ ]] || { echo "run.sh: bad size '$n'" >&2; exit 2; }
done
if ((smoke)); then
  sizes=(2000)
  runs=1
elif ((${#sizes[@]} == 0)); then
  sizes=(100000 2000000)
fi

find_programs
compile "$BENCH/gen_input.cpp" gen_input
compile "$BENCH/reference/literal_stationdiff.cpp" literal_stationdiff
compile "$BENCH/reference/literal_onefile.cpp" literal_onefile
compile "$BENCH/reference/judge.cpp" judge
lit_two="$BIN/literal_stationdiff"
lit_one="$BIN/literal_onefile"
peer="$BENCH/reference/peer.py"

# ------------------------------------------------------------------ data
# Generates (or reuses) the input directory for one size; prints its path.
gen_data() {
  local n="$1" dir="$DATA/n$1-s$seed" stamp
  stamp="$(sha1sum <"$BENCH/gen_input.cpp" | cut -d' ' -f1) $n $seed"
  if [[ ! -f "$dir/.stamp" || "$(cat "$dir/.stamp")" != "$stamp" ]]; then
    log "generating $n stations (seed $seed) in ${dir#"$ROOT"/}"
    rm -rf "$dir"
    "$BIN/gen_input" "$n" "$seed" "$dir"
    echo "$stamp" >"$dir/.stamp"
  fi
  echo "$dir"
}

# ------------------------------------------------------------------ runs
results="$OUT/results"
rm -rf "$results"
mkdir -p "$results"
times="$results/times.tsv"   # size, layout, program, run, wall seconds, peak KiB
checks="$results/checks.tsv" # size, layout, program, verdict
: >"$times"
: >"$checks"
failed=0
declare -A exit_status # "layout/program" -> first non-zero exit status, per size
declare -A cmd         # program -> binary, per layout

# record SIZE LAYOUT PROGRAM VERDICT
record() { printf '%s\t%s\t%s\t%s\n' "$@" >>"$checks"; }

# run_one SIZE DIR LAYOUT NAME RUN CMD...: one timed run inside DIR; the report
# goes to results/<size>/<name>.<layout>.out.
run_one() {
  local size="$1" dir="$2" layout="$3" name="$4" run="$5"
  shift 5
  local res="$results/$size" t0 t1 rc=0
  local out="$res/$name.$layout.out" tf="$res/$name.$layout.time"
  t0=$(date +%s%N)
  (cd "$dir" && "$TIME" -f '%e %M' -o "$tf" "$@" >"$out" 2>"$res/$name.$layout.err") || rc=$?
  t1=$(date +%s%N)
  if ((rc != 0)); then
    log "$name ($layout, $size stations) exited with status $rc; see ${res#"$ROOT"/}/$name.$layout.err"
    : "${exit_status[$layout/$name]:=$rc}"
    failed=1
    return 0
  fi
  # %M is the peak resident set in KiB; the wall time is taken here at ns resolution.
  printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$size" "$layout" "$name" "$run" \
    "$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')" \
    "$(awk '{ print $2 }' "$tf")" >>"$times"
}

programs=(ours literal)
[[ -n "$before" ]] && programs+=(before)
((with_peer)) && programs+=(peer)

for size in "${sizes[@]}"; do
  dir="$(gen_data "$size")"
  mkdir -p "$results/$size"
  cat "$dir"/be.txt "$dir"/bemenet.txt "$dir"/frissites.txt "$dir"/F.IN >/dev/null # warm the page cache
  exit_status=()

  for layout in two-file one-file; do
    if [[ "$layout" == two-file ]]; then
      cmd=([ours]="$ours_two" [literal]="$lit_two" [before]="$before_two")
    else
      cmd=([ours]="$ours_one" [literal]="$lit_one" [before]="$before_one")
    fi
    log "$size stations, $layout: $runs run(s) each"
    for ((run = 1; run <= runs; run++)); do
      for name in "${programs[@]}"; do
        if [[ "$name" == peer ]]; then
          run_one "$size" "$dir" "$layout" peer "$run" "$PYTHON" "$peer" "$layout"
        else
          run_one "$size" "$dir" "$layout" "$name" "$run" "${cmd[$name]}"
        fi
      done
    done

    # Verdicts: every program's report is checked against the literal one.
    for name in "${programs[@]}"; do
      if [[ -n "${exit_status[$layout/$name]:-}" ]]; then
        record "$size" "$layout" "$name" "exit status ${exit_status[$layout/$name]}"
      elif [[ "$name" == literal ]]; then
        record "$size" "$layout" literal reference
      elif [[ -n "${exit_status[$layout/literal]:-}" ]]; then
        record "$size" "$layout" "$name" "unchecked"
      elif "$BIN/judge" "$layout" "$dir" \
        "$results/$size/literal.$layout.out" "$results/$size/$name.$layout.out"; then
        record "$size" "$layout" "$name" ok
      else
        record "$size" "$layout" "$name" "WRONG OUTPUT"
        failed=1
      fi
    done
  done
done

"$PYTHON" "$BENCH/report.py" "$times" "$checks" | tee "$OUT/report.md"
if ((failed)); then
  log "FAILED: a program failed or produced a wrong report (details above)"
  exit 1
fi
log "all outputs checked OK; report in ${OUT#"$ROOT"/}/report.md"
