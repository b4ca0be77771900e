#!/usr/bin/env bash
# Benchmark of stationdiff and stationdiff-onefile on crafted inputs, timed side by side with
# the literal iostream implementation (bench/reference/literal_*.cpp):
#
#   census flood     be.txt of N distinct 16-byte words with one value under the hash the word
#                    census used before it was keyed; beside a random twin of the same size
#   one-file flood   F.IN whose N station names and update names share one value under
#                    std::hash<std::string_view>; beside a random twin of the same shape
#   blank piles      be.txt of M line ends; bemenet.txt and F.IN with M2 blank lines before
#                    the count line (both programs)
#   one-line census  be.txt of about B bytes of words on a single line
#   lying counts     F.IN whose count is 2147483647, then L bytes of blank lines, or R bytes of
#                    one repeated station line
#   byte-order mark  bemenet.txt and F.IN whose first line is a byte-order mark, a word and
#                    O bytes more (both programs)
#   endless register bemenet.txt and F.IN linked to /dev/zero (both programs)
#   one long word    be.txt of one W-byte word
#   shared code      F.IN of S stations, all of one code, none named again
#   one long name    bemenet.txt of N stations all named one K-byte name; beside a random twin
#                    of N random K-byte names
#
# Every table row gives the program's peak memory and its ratio to the literal reference's: a
# program must never be much bigger than the plain stream reading of the same files.
#
#   bench/crafted.sh [options]
#
#   --runs K           timed runs per program and input (default 3; the median is reported)
#   --seed S           generator seed (default 1)
#   --smoke            quick CI check: tiny sizes, 1 run; still checks every output
#   --no-build         do not (re)build the project; use the binaries as they are
#   --before DIR       also time DIR/stationdiff and DIR/stationdiff-onefile, an earlier build,
#                      in the same rounds ("before" in the table)
#   --census-words N   census flood size (default 60000)
#   --onefile-names N  one-file flood size (default 40000)
#   --line-ends M      blank piles: line ends of be.txt (default 60000000)
#   --blank-lines M2   blank piles: blank lines before the count line (default 40000000)
#   --line-bytes B     one-line census: bytes of be.txt (default 100000000)
#   --lying-bytes L    lying count: bytes of blank lines (default 100000000)
#   --repeat-bytes R   lying count: bytes of the repeated station line (default 300000000)
#   --bom-bytes O      byte-order mark: bytes after the word (default 300000000)
#   --word-bytes W     one long word: its bytes (default 100000000)
#   --shared S         shared code: stations (default 1000000)
#   --same-names N     one long name: stations (default 50000)
#   --name-bytes K     one long name: bytes of the name (default 2000)
#   --timeout SEC      a run that takes more CPU seconds fails (default 600)
#
# Environment: STATIONDIFF_BIN, ONEFILE_BIN, the programs under test (default: the release
# preset's build/release/bin/...); when both are set the project is not built.
#
# Inputs go to bench/data/crafted-* (reused while the generator, seed and size stay the same),
# reports and times to bench/out/crafted/. Every program's report on every input is judged
# against the literal reference's (bench/reference/judge.hpp: the same bytes but for the choices
# the formats leave open, such as which station of a shared code is listed).
# Prints one Markdown table (also bench/out/crafted/report.md); the exit status is non-zero
# when a build fails, a program of this build fails or times out, or its report differs (an
# earlier build's failures are shown in the table only).
set -euo pipefail

BENCH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=bench/common.sh
source "$BENCH/common.sh" crafted
OUT="$BENCH/out/crafted"

runs=3 seed=1 smoke=0 build=1 before="" timeout_s=600
census_n=60000 onefile_n=40000 line_ends=60000000 blank_lines=40000000 line_bytes=100000000
lying_bytes=100000000 repeat_bytes=300000000 bom_bytes=300000000 word_bytes=100000000
shared=1000000 same_names=50000 name_bytes=2000
value() { [[ -n "${2:-}" ]] || { echo "crafted.sh: $1 needs a value" >&2; exit 2; }; }
while (($#)); do
  case "$1" in
    --runs) value "$@"; runs="$2"; shift 2 ;;
    --seed) value "$@"; seed="$2"; shift 2 ;;
    --smoke) smoke=1; shift ;;
    --no-build) build=0; shift ;;
    --before) value "$@"; before="$2"; shift 2 ;;
    --census-words) value "$@"; census_n="$2"; shift 2 ;;
    --onefile-names) value "$@"; onefile_n="$2"; shift 2 ;;
    --line-ends) value "$@"; line_ends="$2"; shift 2 ;;
    --blank-lines) value "$@"; blank_lines="$2"; shift 2 ;;
    --line-bytes) value "$@"; line_bytes="$2"; shift 2 ;;
    --lying-bytes) value "$@"; lying_bytes="$2"; shift 2 ;;
    --repeat-bytes) value "$@"; repeat_bytes="$2"; shift 2 ;;
    --bom-bytes) value "$@"; bom_bytes="$2"; shift 2 ;;
    --word-bytes) value "$@"; word_bytes="$2"; shift 2 ;;
    --shared) value "$@"; shared="$2"; shift 2 ;;
    --same-names) value "$@"; same_names="$2"; shift 2 ;;
    --name-bytes) value "$@"; name_bytes="$2"; shift 2 ;;
    --timeout) value "$@"; timeout_s="$2"; shift 2 ;;
    -h | --help) usage; exit 0 ;;
    *) echo "crafted.sh: unknown argument '$1' (try --help)" >&2; exit 2 ;;
  esac
done
if ((smoke)); then
  runs=1 census_n=2000 onefile_n=2000 line_ends=1000000 blank_lines=1000000 line_bytes=2000000
  lying_bytes=2000000 repeat_bytes=2000000 bom_bytes=2000000 word_bytes=4000000 shared=20000
  same_names=2000 name_bytes=500
fi
for v in "$runs" "$census_n" "$onefile_n" "$line_ends" "$blank_lines" "$line_bytes" "$timeout_s" \
  "$lying_bytes" "$repeat_bytes" "$bom_bytes" "$word_bytes" "$shared" "$same_names" "$name_bytes"; do
  [[ "$v" =~ ^[1-9][0-9]*$ ]] || { echo "crafted.sh: '$v' is not a positive integer" >&2; exit 2; }
done
[[ "$seed" =~ ^[0-9]+$ ]] || { echo "crafted.sh: --seed must be a non-negative integer" >&2; exit 2; }

find_programs
declare -A cmd=([ours/two]="$ours_two" [ours/one]="$ours_one"
  [literal/two]="$BIN/literal_stationdiff" [literal/one]="$BIN/literal_onefile")
programs=(ours literal)
if [[ -n "$before" ]]; then
  cmd[before/two]="$before_two" cmd[before/one]="$before_one"
  programs+=(before)
fi
compile "$BENCH/gen_crafted.cpp" gen_crafted
compile "$BENCH/reference/literal_stationdiff.cpp" literal_stationdiff
compile "$BENCH/reference/literal_onefile.cpp" literal_onefile
compile "$BENCH/reference/judge.cpp" judge

# ------------------------------------------------------------------ inputs
# gen NAME KIND SIZE... : (re)generates bench/data/crafted-NAME; prints its path.
gen() {
  local dir="$DATA/crafted-$1" kind="$2" stamp
  shift 2
  stamp="$(sha1sum <"$BENCH/gen_crafted.cpp" | cut -d' ' -f1) $kind $seed $*"
  if [[ ! -f "$dir/.stamp" || "$(cat "$dir/.stamp")" != "$stamp" ]]; then
    log "generating $kind $* in ${dir#"$ROOT"/}"
    rm -rf "$dir"
    "$BIN/gen_crafted" "$kind" "$seed" "$dir" "$@"
    echo "$stamp" >"$dir/.stamp"
  fi
  echo "$dir"
}

census="$(gen "census-flood-n$census_n" census-flood "$census_n")"
census_twin="$(gen "census-random-n$census_n" census-random "$census_n")"
onefile="$(gen "onefile-flood-n$onefile_n" onefile-flood "$onefile_n")"
onefile_twin="$(gen "onefile-random-n$onefile_n" onefile-random "$onefile_n")"
blanks="$(gen "blanks-m$line_ends-$blank_lines" blanks "$line_ends" "$blank_lines")"
one_line="$(gen "one-line-b$line_bytes" one-line "$line_bytes")"
lying_blanks="$(gen "lying-blanks-b$lying_bytes" lying-blanks "$lying_bytes")"
lying_repeat="$(gen "lying-repeat-b$repeat_bytes" lying-repeat "$repeat_bytes")"
bom_line="$(gen "bom-line-b$bom_bytes" bom-line "$bom_bytes")"
endless="$(gen endless endless 0)"
long_word="$(gen "long-word-b$word_bytes" long-word "$word_bytes")"
shared_code="$(gen "shared-code-n$shared" shared-code "$shared")"
same_name="$(gen "same-name-n$same_names-k$name_bytes" same-name "$same_names" "$name_bytes")"
same_twin="$(gen "same-random-n$same_names-k$name_bytes" same-random "$same_names" "$name_bytes")"
# Each case: label, layout (two/one), input folder, random twin's folder or "".
cases=(
  "census flood, $census_n words|two|$census|$census_twin"
  "one-file flood, $onefile_n names|one|$onefile|$onefile_twin"
  "blank piles, $line_ends line ends / $blank_lines blank lines|two|$blanks|"
  "blank piles, $blank_lines blank lines|one|$blanks|"
  "one-line census, $line_bytes bytes|two|$one_line|"
  "lying count, $lying_bytes bytes of blank lines|one|$lying_blanks|"
  "lying count, $repeat_bytes bytes of one station line|one|$lying_repeat|"
  "byte-order mark, then $bom_bytes bytes on the count line|two|$bom_line|"
  "byte-order mark, then $bom_bytes bytes on the count line|one|$bom_line|"
  "endless register|two|$endless|"
  "endless register|one|$endless|"
  "one word of $word_bytes bytes|two|$long_word|"
  "$shared unused stations of one code|one|$shared_code|"
  "$same_names stations of one $name_bytes-byte name|two|$same_name|$same_twin"
)

# ------------------------------------------------------------------ runs
rm -rf "$OUT"
mkdir -p "$OUT"
times="$OUT/times.tsv" # case, variant (input/twin), program, wall seconds, peak KiB
: >"$times"
failed=0
declare -A verdict # "case/variant/program" -> why it failed, when it did

# launch DIR BASE PROGRAM: runs PROGRAM in DIR under /usr/bin/time (BASE.time; %M is the peak
# resident set in KiB), its report to BASE.out; prints the wall time in microseconds, taken
# here (time's %e has 10 ms) from bash's clock, which forks nothing. The limits are on CPU time
# (SIGXCPU, status 152) and on 4 GiB of address space, so that an earlier build that reads an
# endless input without bound fails alone instead of taking the machine's memory: unlike
# timeout(1), ulimit adds no process whose start would weigh on short runs.
launch() {
  local t0="${EPOCHREALTIME/[.,]/}" t1
  (cd "$1" && ulimit -St "$timeout_s" -Sv 4194304 && exec "$TIME" -f '%e %M' -o "$2.time" "$3" \
    >"$2.out" 2>"$2.err") || return
  t1="${EPOCHREALTIME/[.,]/}"
  echo $((t1 - t0))
}

# What launching costs: the median of a few launches of a program that does nothing, taken off
# every time below so that runs of a few milliseconds compare fairly.
kCalibrationRuns=7 # enough for a steady median, few enough to take well under a second
for ((i = 0; i < kCalibrationRuns; i++)); do launch "$OUT" "$OUT/calibration" /bin/true; done |
  sort -n >"$OUT/calibration.us"
launch_us="$(sed -n "$(((kCalibrationRuns + 1) / 2))p" "$OUT/calibration.us")"

# run_one CASE VARIANT PROGRAM LAYOUT DIR: one timed run; the report goes to OUT.
run_one() {
  local key="$1/$2/$3" base="$OUT/$1.$2.$3" us rc=0
  [[ -n "${verdict[$key]:-}" ]] && return 0 # failed before: not again
  us="$(launch "$5" "$base" "${cmd[$3/$4]}")" || rc=$?
  if ((rc == 152)); then
    verdict[$key]="over ${timeout_s} s of CPU"
  elif ((rc != 0)); then
    verdict[$key]="exit status $rc"
  else
    # At least a millisecond: the launch cost varies by about that much, and ratios need a divisor.
    printf '%s\t%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$((us - launch_us > 1000 ? us - launch_us : 1000))" \
      "$(tail -n1 "$base.time" | awk '{ print $2 }')" >>"$times"
    return 0
  fi
  log "$3 on case $1 ($2): ${verdict[$key]}; see ${base#"$ROOT"/}.err"
  [[ $3 == before ]] || failed=1 # an earlier build's failure is a finding, not this run's
}

for c in "${!cases[@]}"; do
  IFS='|' read -r label layout dir twin <<<"${cases[$c]}"
  find "$dir"/ ${twin:+"$twin"/} -type f -exec cat {} + >/dev/null # warm the page cache
  log "$label: $runs run(s) each"
  for ((run = 1; run <= runs; run++)); do
    for p in "${programs[@]}"; do
      run_one "$c" input "$p" "$layout" "$dir"
      [[ -n "$twin" ]] && run_one "$c" twin "$p" "$layout" "$twin"
    done
  done
  for variant in input ${twin:+twin}; do
    for p in "${programs[@]}"; do
      key="$c/$variant/$p"
      [[ "$p" == literal || -n "${verdict[$key]:-}" ]] && continue
      if [[ -n "${verdict[$c/$variant/literal]:-}" ]]; then
        verdict[$key]="unchecked"
      elif ! "$BIN/judge" "$layout-file" "$([[ $variant == twin ]] && echo "$twin" || echo "$dir")" \
        "$OUT/$c.$variant.literal.out" "$OUT/$c.$variant.$p.out" 2>>"$OUT/judge.err"; then
        verdict[$key]="WRONG OUTPUT"
        log "$p on case $c ($variant): wrong report beside the literal reference's (see ${OUT#"$ROOT"/}/judge.err)"
        [[ $p == before ]] || failed=1
      fi
    done
  done
done

# ------------------------------------------------------------------ table
# median CASE VARIANT PROGRAM COLUMN: the median of a column over the runs, or "".
median() {
  awk -F'\t' -v c="$1" -v v="$2" -v p="$3" -v k="$4" '$1 == c && $2 == v && $3 == p { print $k }' \
    "$times" | sort -n | awk '{ a[NR] = $1 } END { if (NR) print (a[int((NR + 1) / 2)] + a[int(NR / 2) + 1]) / 2 }'
}
{
  echo "| input | program | wall s (median) | peak MiB | peak / literal | random twin wall s | flood / random | report |"
  echo "|---|---|--:|--:|--:|--:|--:|---|"
  for c in "${!cases[@]}"; do
    IFS='|' read -r label layout dir twin <<<"${cases[$c]}"
    for p in "${programs[@]}"; do
      us="$(median "$c" input "$p" 4)" kib="$(median "$c" input "$p" 5)"
      twin_us="" ratio=""
      if [[ -n "$twin" ]]; then
        twin_us="$(median "$c" twin "$p" 4)"
        [[ -n "$us" && -n "$twin_us" ]] && ratio="$(awk -v a="$us" -v b="$twin_us" 'BEGIN { printf(a / b < 10 ? "%.1f×" : "%.0f×", a / b) }')"
        [[ -n "$twin_us" ]] && twin_us="$(awk -v a="$twin_us" 'BEGIN { printf "%.3f", a / 1e6 }')"
      fi
      [[ -n "$us" ]] && us="$(awk -v a="$us" 'BEGIN { printf "%.3f", a / 1e6 }')"
      literal_kib="$(median "$c" input literal 5)" peak_ratio=""
      [[ -n "$kib" && -n "$literal_kib" ]] && peak_ratio="$(awk -v a="$kib" -v b="$literal_kib" 'BEGIN { printf "%.2f", a / b }')"
      [[ -n "$kib" ]] && kib="$(awk -v a="$kib" 'BEGIN { printf "%.1f", a / 1024 }')"
      why="${verdict[$c/input/$p]:-${verdict[$c/twin/$p]:-}}"
      [[ -z "$why" ]] && why="$([[ "$p" == literal ]] && echo reference || echo ok)"
      echo "| $label | $p | ${us:--} | ${kib:--} | ${peak_ratio:--} | ${twin_us:--} | ${ratio:--} | $why |"
    done
  done
  echo
  echo "Wall times are medians of $runs run(s), less the $((launch_us / 1000)) ms that launching /bin/true the same way takes (at least 1 ms)."
} | tee "$OUT/report.md"

if ((failed)); then
  log "FAILED: a program failed, ran out of time or wrote a different report (details above)"
  exit 1
fi
log "all reports judged right beside the literal reference's; table in ${OUT#"$ROOT"/}/report.md"
