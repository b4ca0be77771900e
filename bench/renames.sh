#!/usr/bin/env bash
# Benchmark of the rename hints that --renames adds to both programs: how good they are on real
# lists, and what they cost.
#
#   bench/renames.sh [options]
#
#   (default)      precision and recall on two pairs of consecutive versions of the npm package
#                  db-stations (3.0.0 -> 4.0.0, 4.0.0 -> 5.0.2; ISC licence), beside two
#                  baselines: the word-overlap script (rarity-weighted overlap of lower-cased
#                  words, best candidate both ways, threshold 0.3) and difflib's
#                  get_close_matches (cutoff 0.6), both in bench/renames.py
#   --cost         time and peak memory instead, without and with the hints: on the crafted
#                  shape (a register of N names and N new names that all share their first six
#                  words, differing in a number) and on the typical input of bench/run.sh
#   --crafted N    names of each list of the crafted shape (default 200000)
#   --size S       stations of the typical input (default 2000000)
#   --runs K       timed runs of each program and input, the fastest reported (default 3)
#   --no-build     do not (re)build the project; use the binaries as they are
#
# The packages are fetched with `npm pack` into bench/data/db-stations/ once. Each version pair
# becomes a register of the older version (one record per distinct name, ids from 1) with an
# update list of the newer version's names, in both layouts, under bench/data/renames/. A true
# rename keeps its station id under another name: its old name is in the gone report and its
# new name in the new report. Precision is correct hints over hints given, recall correct
# hints over true renames.
#
# Environment: STATIONDIFF_BIN, ONEFILE_BIN, PYTHON as for bench/run.sh. Reports and tables go
# to bench/out/renames/. The exit status is non-zero when a build, a fetch or a run fails.
set -euo pipefail

BENCH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=bench/common.sh
source "$BENCH/common.sh" renames
OUT="$BENCH/out/renames"
PYTHON="${PYTHON:-python3}"
HELPER="$BENCH/renames.py"

cost=0
crafted_names=200000
size=2000000
runs=3
build=1
before=""
while (($#)); do
  case "$1" in
    --cost) cost=1; shift ;;
    --crafted) crafted_names="${2:?--crafted needs a value}"; shift 2 ;;
    --size) size="${2:?--size needs a value}"; shift 2 ;;
    --runs) runs="${2:?--runs needs a value}"; shift 2 ;;
    --no-build) build=0; shift ;;
    -h | --help) usage; exit 0 ;;
    *) echo "renames.sh: unknown argument '$1' (try --help)" >&2; exit 2 ;;
  esac
done
for n in "$crafted_names" "$size" "$runs"; do
  [[ "$n" =~ ^[1-9][0-9]*$ ]] || fail "not a positive number: $n"
done

find_programs
mkdir -p "$OUT"

program() { if [[ "$1" == two-file ]]; then echo "$ours_two"; else echo "$ours_one"; fi; }

# run_report LAYOUT DIR REPORT [ARG]: runs the layout's program in DIR; the report goes to REPORT.
run_report() {
  local prog
  prog="$(program "$1")"
  (cd "$2" && "$prog" ${4:+"$4"} >"$3" 2>"$3.err") || fail "$(basename "$prog") failed in $2 (see $3.err)"
}

# hints_of LAYOUT CASE DEST: the hints of the program's --renames report for one case and
# layout, as "old<TAB>new" in DEST.
hints_of() {
  local layout="$1" case="$2" dest="$3" report="${3%.tsv}.out"
  run_report "$layout" "$case/$layout" "$report" --renames
  "$PYTHON" "$HELPER" hints "$layout" "$report" >"$dest" ||
    fail "no rename hints in the $layout report ($report)"
}

fetch_packages() {
  local version tmp
  for version in 3.0.0 4.0.0 5.0.2; do
    [[ -s "$DATA/db-stations/$version/data.ndjson" ]] && continue
    command -v npm >/dev/null || fail "npm is needed to fetch db-stations@$version"
    log "fetching db-stations@$version"
    tmp="$(mktemp -d)"
    (cd "$tmp" && npm pack --silent "db-stations@$version" >/dev/null && tar xzf db-stations-*.tgz) ||
      fail "could not fetch db-stations@$version"
    mkdir -p "$DATA/db-stations/$version"
    cp "$tmp/package/data.ndjson" "$tmp/package/license.md" "$DATA/db-stations/$version/"
    rm -rf "$tmp"
  done
}

quality() {
  fetch_packages
  local cases case name label labels
  cases="$("$PYTHON" "$HELPER" cases "$DATA/db-stations" "$DATA/renames")"
  {
    echo "| versions | gone | true renames | ours: precision, recall | ours: precision, recall | word-overlap script | difflib close matches |"
    echo "|---|---|---|---|---|---|---|"
    for case in $cases; do
      name="$(basename "$case")"
      mkdir -p "$OUT/$name"
      labels=()
      for layout in two-file one-file; do
        hints_of "$layout" "$case" "$OUT/$name/$layout.tsv"
        labels+=("($layout)=$OUT/$name/$layout.tsv")
      done
      "$PYTHON" "$HELPER" score "$case" "${labels[@]}"
    done
    echo
    echo "Targets: precision at least 0.95 and recall at least 0.9 on both pairs."
  } | tee "$OUT/quality.md"
}

# best_run LAYOUT DIR [ARG]: the fastest of the timed runs, as "seconds peak-KiB"; the last
# run's report is left in OUT/report.out.
best_run() {
  local layout="$1" dir="$2" arg="${3:-}" prog run t0 t1 best=""
  prog="$(program "$layout")"
  for ((run = 1; run <= runs; run++)); do
    t0=$(date +%s%N)
    (cd "$dir" && "$TIME" -f '%M' -o "$OUT/time.txt" "$prog" ${arg:+"$arg"} >"$OUT/report.out" 2>/dev/null) ||
      fail "$(basename "$prog") failed in $dir"
    t1=$(date +%s%N)
    best="$(printf '%s\n%s %s\n' "$best" "$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')" \
      "$(cat "$OUT/time.txt")" | sed '/^$/d' | sort -n | head -1)"
  done
  echo "$best"
}

# cost_row INPUT LAYOUT DIR: one table row, without and with the hints.
cost_row() {
  local input="$1" layout="$2" dir="$3" without with added
  without="$(best_run "$layout" "$dir")"
  with="$(best_run "$layout" "$dir" --renames)"
  added="$(awk -v w="$without" -v r="$with" 'BEGIN { split(w, a, " "); split(r, b, " ");
    printf "%.2f s, %d KiB | %+.0f%%, %+.0f%%", b[1], b[2], 100 * (b[1] - a[1]) / a[1], 100 * (b[2] - a[2]) / a[2] }')"
  echo "| $input | $layout | $(awk '{ printf "%.2f s, %d KiB", $1, $2 }' <<<"$without") | $added |"
}

cost() {
  local crafted="$DATA/renames-crafted-$crafted_names" typical="$DATA/n$size-s1" stamp
  if [[ ! -s "$crafted/one-file/F.IN" ]]; then
    log "generating the crafted shape: $crafted_names names sharing six words"
    "$PYTHON" "$HELPER" crafted "$crafted_names" "$crafted"
  fi
  # The typical input of bench/run.sh (seed 1), shared with it.
  compile "$BENCH/gen_input.cpp" gen_input
  stamp="$(sha1sum <"$BENCH/gen_input.cpp" | cut -d' ' -f1) $size 1"
  if [[ ! -f "$typical/.stamp" || "$(cat "$typical/.stamp")" != "$stamp" ]]; then
    log "generating $size stations in ${typical#"$ROOT"/}"
    rm -rf "$typical"
    "$BIN/gen_input" "$size" 1 "$typical"
    echo "$stamp" >"$typical/.stamp"
  fi
  {
    echo "| input | layout | without --renames: time, peak | with --renames: time, peak | added: time, peak |"
    echo "|---|---|---|---|---|"
    for layout in two-file one-file; do
      cost_row "crafted, $crafted_names + $crafted_names names" "$layout" "$crafted/$layout"
    done
    for layout in two-file one-file; do
      cost_row "typical, $size stations" "$layout" "$typical"
    done
    echo
    echo "Targets: at $size stations at most +25% time and +20% peak memory; on the crafted shape at most 1.5x the time."
  } | tee "$OUT/cost.md"
}

if ((cost)); then cost; else quality; fi
