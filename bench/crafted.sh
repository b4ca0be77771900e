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
#   distinct names   F.IN of D stations of distinct 15-byte names, all of one code, no updates
#   all named        bemenet.txt of A stations of distinct 15-byte names, all of which
#                    frissites.txt names again
#   new names        F.IN of no stations, then E distinct 15-byte update names
#   distinct words   be.txt of C distinct 15-byte words
#   three big words  be.txt of T words, each one of three random J-byte words
#   one page name    F.IN of P stations all named one G-byte name, and P update lines naming it
#   a name of 0x01   F.IN of Q stations all named one name of H bytes 0x01, and Q update lines
#                    naming it
#   renames          bemenet.txt and F.IN of R stations "<i> w1 ... w6 <i>", and R update names
#                    "w1 ... w6 <number>" that name none of them (both programs); when ours
#                    name --renames in their --help, run again with it ("ours --renames"), and
#                    a second table sets each such run beside the same program's run without it
#
# Every table row gives the program's median wall time, CPU time (user + system) and peak
# memory, and the ratios of CPU time and peak memory to the literal reference's: no input may
# make a program slower or bigger than the plain stream reading of the same files, in the same
# word size. --m32 times the 32-bit build beside the literal reference compiled with -m32.
#
#   bench/crafted.sh [options]
#
#   --runs K           timed runs per program and input (default 3; the median is reported)
#   --seed S           generator seed (default 1)
#   --smoke            quick CI check: tiny sizes, 1 run; still checks every output
#   --no-build         do not (re)build the project; use the binaries as they are
#   --m32              time the 32-bit programs (the m32 preset's build/m32/bin/..., built
#                      unless --no-build) beside the literal reference built with g++ -m32
#                      (Debian: g++-multilib); reports go to bench/out/crafted-m32/
#   --only REGEX       run only the cases whose input column (layout and label, as in the
#                      table) matches the extended regular expression REGEX; a case run with an
#                      option brings its case without it
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
#   --distinct-names D distinct names: stations (default 8388600)
#   --named-names A    all named: stations (default 4194304)
#   --new-names E      new names: update names (default 4194400)
#   --distinct-words C distinct words: words (default 4194400)
#   --big-words T      three big words: words of be.txt (default 286)
#   --big-word-bytes J three big words: bytes of each (default 1048576)
#   --page-names P     one page name: stations (default 50000)
#   --page-bytes G     one page name: bytes of the name (default 4096)
#   --ones-names Q     a name of 0x01: stations (default 200)
#   --ones-bytes H     a name of 0x01: bytes of the name (default 1048576)
#   --renames-names R  renames: stations (default 200000)
#   --timeout SEC      a run that takes more CPU seconds fails (default 600)
#
# Environment: STATIONDIFF_BIN, ONEFILE_BIN, the programs under test (default: the release
# preset's build/release/bin/..., or with --m32 the m32 preset's build/m32/bin/...; they must
# be 64-bit programs, or 32-bit ones with --m32); when both are set the project is not built.
#
# Inputs go to bench/data/crafted-* (reused while the generator, seed and size stay the same),
# reports and times to bench/out/crafted/ (bench/out/crafted-m32/ with --m32). Every program's
# report on every input is judged against the literal reference's (bench/reference/judge.hpp:
# the same bytes but for the choices the formats leave open, such as which station of a shared
# code is listed); a report of ours run with an option is judged on as many first lines as the
# literal reference's report has, the option adding its section after them.
# Prints one Markdown table, and one of the runs with an option when there are any (also
# bench/out/crafted/report.md); the exit status is non-zero when a build fails, a program of
# this build fails or times out, or its report differs (an earlier build's failures are shown
# in the table only).
set -euo pipefail

BENCH="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck source=bench/common.sh
source "$BENCH/common.sh" crafted

runs=3 seed=1 smoke=0 build=1 before="" timeout_s=600 bits=64 only=""
census_n=60000 onefile_n=40000 line_ends=60000000 blank_lines=40000000 line_bytes=100000000
lying_bytes=100000000 repeat_bytes=300000000 bom_bytes=300000000 word_bytes=100000000
shared=1000000 same_names=50000 name_bytes=2000
distinct_names=8388600 named_names=4194304 new_names=4194400 distinct_words=4194400
big_words=286 big_word_bytes=1048576 page_names=50000 page_bytes=4096 ones_names=200
ones_bytes=1048576 renames_names=200000
value() { [[ -n "${2:-}" ]] || { echo "crafted.sh: $1 needs a value" >&2; exit 2; }; }
while (($#)); do
  case "$1" in
    --runs) value "$@"; runs="$2"; shift 2 ;;
    --seed) value "$@"; seed="$2"; shift 2 ;;
    --smoke) smoke=1; shift ;;
    --no-build) build=0; shift ;;
    --m32) bits=32; shift ;;
    --only) value "$@"; only="$2"; shift 2 ;;
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
    --distinct-names) value "$@"; distinct_names="$2"; shift 2 ;;
    --named-names) value "$@"; named_names="$2"; shift 2 ;;
    --new-names) value "$@"; new_names="$2"; shift 2 ;;
    --distinct-words) value "$@"; distinct_words="$2"; shift 2 ;;
    --big-words) value "$@"; big_words="$2"; shift 2 ;;
    --big-word-bytes) value "$@"; big_word_bytes="$2"; shift 2 ;;
    --page-names) value "$@"; page_names="$2"; shift 2 ;;
    --page-bytes) value "$@"; page_bytes="$2"; shift 2 ;;
    --ones-names) value "$@"; ones_names="$2"; shift 2 ;;
    --ones-bytes) value "$@"; ones_bytes="$2"; shift 2 ;;
    --renames-names) value "$@"; renames_names="$2"; shift 2 ;;
    --timeout) value "$@"; timeout_s="$2"; shift 2 ;;
    -h | --help) usage; exit 0 ;;
    *) echo "crafted.sh: unknown argument '$1' (try --help)" >&2; exit 2 ;;
  esac
done
if ((smoke)); then
  runs=1 census_n=2000 onefile_n=2000 line_ends=1000000 blank_lines=1000000 line_bytes=2000000
  lying_bytes=2000000 repeat_bytes=2000000 bom_bytes=2000000 word_bytes=4000000 shared=20000
  same_names=2000 name_bytes=500
  distinct_names=20000 named_names=20000 new_names=20000 distinct_words=20000 big_words=286
  big_word_bytes=4096 page_names=2000 page_bytes=512 ones_names=8 ones_bytes=65536
  renames_names=2000
fi
for v in "$runs" "$census_n" "$onefile_n" "$line_ends" "$blank_lines" "$line_bytes" "$timeout_s" \
  "$lying_bytes" "$repeat_bytes" "$bom_bytes" "$word_bytes" "$shared" "$same_names" "$name_bytes" \
  "$distinct_names" "$named_names" "$new_names" "$distinct_words" "$big_words" "$big_word_bytes" \
  "$page_names" "$page_bytes" "$ones_names" "$ones_bytes" "$renames_names"; do
  [[ "$v" =~ ^[1-9][0-9]*$ ]] || { echo "crafted.sh: '$v' is not a positive integer" >&2; exit 2; }
done
[[ "$seed" =~ ^[0-9]+$ ]] || { echo "crafted.sh: --seed must be a non-negative integer" >&2; exit 2; }
regex_rc=0
[[ "" =~ $only ]] || regex_rc=$?
((regex_rc != 2)) || { echo "crafted.sh: --only: '$only' is not an extended regular expression" >&2; exit 2; }

# The word size: the preset of ours, the helpers' flags and names, the output folder.
if ((bits == 32)); then
  preset=m32 flags=(-m32) suffix=-m32 OUT="$BENCH/out/crafted-m32"
else
  preset=release flags=() suffix="" OUT="$BENCH/out/crafted"
fi
find_programs
for bin in "$ours_two" "$ours_one" $before_two $before_one; do
  [[ "$(elf_bits "$bin")" == "$bits" ]] ||
    fail "$bin is not a $bits-bit program$( ((bits == 32)) || echo ' (--m32 times 32-bit ones)')"
done
declare -A cmd=([ours/two]="$ours_two" [ours/one]="$ours_one"
  [literal/two]="$BIN/literal_stationdiff$suffix" [literal/one]="$BIN/literal_onefile$suffix")
programs=(ours literal)
if [[ -n "$before" ]]; then
  cmd[before/two]="$before_two" cmd[before/one]="$before_one"
  programs+=(before)
fi
compile "$BENCH/gen_crafted.cpp" gen_crafted
for literal in literal_stationdiff literal_onefile; do
  compile "$BENCH/reference/$literal.cpp" "$literal$suffix" "${flags[@]}" ||
    fail "cannot compile $literal with g++ ${flags[*]} (for -m32, Debian: apt-get install g++-multilib)"
done
compile "$BENCH/reference/judge.cpp" judge
# Whether ours take --renames: their --help names it (read whole, not piped into grep -q, whose
# early exit would fail the pipe).
declare -A renames=([two]=0 [one]=0)
for layout in two one; do
  help="$("${cmd[ours/$layout]}" --help 2>/dev/null || true)"
  [[ "$help" == *--renames* ]] && renames[$layout]=1
done

# ------------------------------------------------------------------ inputs
declare -A recipe # input name -> its generator kind and sizes
# input NAME KIND SIZE...: declares the input folder bench/data/crafted-NAME and what makes it.
input() { recipe[$1]="${*:2}"; }

# gen NAME: (re)generates the declared input NAME, unless it is there from the same generator,
# seed and sizes; prints its folder.
gen() {
  local dir="$DATA/crafted-$1" kind stamp
  read -r -a kind <<<"${recipe[$1]}"
  stamp="$(sha1sum <"$BENCH/gen_crafted.cpp" | cut -d' ' -f1) ${kind[0]} $seed ${kind[*]:1}"
  if [[ ! -f "$dir/.stamp" || "$(cat "$dir/.stamp")" != "$stamp" ]]; then
    log "generating ${kind[*]} in ${dir#"$ROOT"/}"
    rm -rf "$dir"
    "$BIN/gen_crafted" "${kind[0]}" "$seed" "$dir" "${kind[@]:1}"
    echo "$stamp" >"$dir/.stamp"
  fi
  echo "$dir"
}

input "census-flood-n$census_n" census-flood "$census_n"
input "census-random-n$census_n" census-random "$census_n"
input "onefile-flood-n$onefile_n" onefile-flood "$onefile_n"
input "onefile-random-n$onefile_n" onefile-random "$onefile_n"
input "blanks-m$line_ends-$blank_lines" blanks "$line_ends" "$blank_lines"
input "one-line-b$line_bytes" one-line "$line_bytes"
input "lying-blanks-b$lying_bytes" lying-blanks "$lying_bytes"
input "lying-repeat-b$repeat_bytes" lying-repeat "$repeat_bytes"
input "bom-line-b$bom_bytes" bom-line "$bom_bytes"
input endless endless 0
input "long-word-b$word_bytes" long-word "$word_bytes"
input "shared-code-n$shared" shared-code "$shared"
input "same-name-n$same_names-k$name_bytes" same-name "$same_names" "$name_bytes"
input "same-random-n$same_names-k$name_bytes" same-random "$same_names" "$name_bytes"
input "onefile-distinct-n$distinct_names" onefile-distinct "$distinct_names"
input "two-named-n$named_names" two-named "$named_names"
input "onefile-new-n$new_names" onefile-new "$new_names"
input "census-distinct-n$distinct_words" census-distinct "$distinct_words"
input "three-words-n$big_words-k$big_word_bytes" three-words "$big_words" "$big_word_bytes"
input "onefile-same-n$page_names-k$page_bytes" onefile-same "$page_names" "$page_bytes"
input "onefile-ones-n$ones_names-k$ones_bytes" onefile-ones "$ones_names" "$ones_bytes"
input "renames-n$renames_names" renames "$renames_names"

# Each case: label (its layout first), layout (two/one), input, random twin's input or "",
# arguments for ours or "", and for a case with arguments the case it repeats.
cases=()
notes=() # lines under the tables
# add LAYOUT LABEL INPUT [TWIN]: adds a case whose programs read INPUT (and TWIN, beside it).
add() { cases+=("$1-file: $2|$1|$3|${4:-}||"); }
# with_option OPTION: adds the last case again with OPTION for ours, when ours name it.
with_option() {
  local last=$((${#cases[@]} - 1)) label layout input
  IFS='|' read -r label layout input _ <<<"${cases[$last]}"
  if ((renames[$layout])); then
    cases+=("$label, with $1|$layout|$input||$1|$last")
  elif [[ -z "$only" || "$label" =~ $only ]]; then
    notes+=("\"$label\" is not run with $1: the $layout-file program's --help does not name it.")
  fi
}
add two "census flood, $census_n words" "census-flood-n$census_n" "census-random-n$census_n"
add one "one-file flood, $onefile_n names" "onefile-flood-n$onefile_n" "onefile-random-n$onefile_n"
add two "blank piles, $line_ends line ends / $blank_lines blank lines" "blanks-m$line_ends-$blank_lines"
add one "blank piles, $blank_lines blank lines" "blanks-m$line_ends-$blank_lines"
add two "one-line census, $line_bytes bytes" "one-line-b$line_bytes"
add one "lying count, $lying_bytes bytes of blank lines" "lying-blanks-b$lying_bytes"
add one "lying count, $repeat_bytes bytes of one station line" "lying-repeat-b$repeat_bytes"
add two "byte-order mark, then $bom_bytes bytes on the count line" "bom-line-b$bom_bytes"
add one "byte-order mark, then $bom_bytes bytes on the count line" "bom-line-b$bom_bytes"
add two "endless register" endless
add one "endless register" endless
add two "one word of $word_bytes bytes" "long-word-b$word_bytes"
add one "$shared unused stations of one code" "shared-code-n$shared"
add two "$same_names stations of one $name_bytes-byte name" "same-name-n$same_names-k$name_bytes" \
  "same-random-n$same_names-k$name_bytes"
add one "$distinct_names distinct 15-byte names of one code, no updates" "onefile-distinct-n$distinct_names"
add two "$named_names distinct 15-byte names, all named again" "two-named-n$named_names"
add one "no stations, $new_names distinct 15-byte new names" "onefile-new-n$new_names"
add two "be.txt of $distinct_words distinct 15-byte words" "census-distinct-n$distinct_words"
add two "be.txt of $big_words words drawn from three $big_word_bytes-byte words" \
  "three-words-n$big_words-k$big_word_bytes"
add one "$page_names stations of one $page_bytes-byte name, named $page_names times" \
  "onefile-same-n$page_names-k$page_bytes"
add one "$ones_names stations of one name of $ones_bytes bytes 0x01, named $ones_names times" \
  "onefile-ones-n$ones_names-k$ones_bytes"
for layout in two one; do
  add "$layout" "$renames_names stations, $renames_names new names sharing their first six words" \
    "renames-n$renames_names"
  with_option --renames
done

# The cases to run: those --only selects, and the case that each selected case with an option
# repeats.
declare -A selected=()
for c in "${!cases[@]}"; do
  IFS='|' read -r label _ _ _ _ base <<<"${cases[$c]}"
  if [[ -z "$only" || "$label" =~ $only ]]; then
    selected[$c]=1
    [[ -n "$base" ]] && selected[$base]=1
  fi
done
((${#selected[@]})) || { echo "crafted.sh: --only: no case matches '$only'" >&2; exit 2; }

# ------------------------------------------------------------------ runs
rm -rf "$OUT"
mkdir -p "$OUT"
times="$OUT/times.tsv" # case, variant (input/twin), program, wall µs, peak KiB, CPU s
: >"$times"
failed=0
declare -A verdict # "case/variant/program" -> why it failed, when it did

# launch DIR BASE PROGRAM [ARG...]: runs PROGRAM with its ARGs in DIR under /usr/bin/time
# (BASE.time: wall, peak resident set in KiB, user and system CPU seconds), its report to
# BASE.out; prints the wall time in microseconds, taken here (time's %e has 10 ms) from bash's
# clock, which forks nothing. The limits are on CPU time (SIGXCPU, status 152) and on 4 GiB of
# address space, so that an earlier build that reads an endless input without bound fails
# alone instead of taking the machine's memory: unlike timeout(1), ulimit adds no process whose
# start would weigh on short runs.
launch() {
  local t0="${EPOCHREALTIME/[.,]/}" t1
  (cd "$1" && ulimit -St "$timeout_s" -Sv 4194304 &&
    exec "$TIME" -f '%e %M %U %S' -o "$2.time" "$3" "${@:4}" >"$2.out" 2>"$2.err") || return
  t1="${EPOCHREALTIME/[.,]/}"
  echo $((t1 - t0))
}

# What launching costs: the median of a few launches of a program that does nothing, taken off
# every time below so that runs of a few milliseconds compare fairly.
kCalibrationRuns=7 # enough for a steady median, few enough to take well under a second
for ((i = 0; i < kCalibrationRuns; i++)); do launch "$OUT" "$OUT/calibration" /bin/true; done |
  sort -n >"$OUT/calibration.us"
launch_us="$(sed -n "$(((kCalibrationRuns + 1) / 2))p" "$OUT/calibration.us")"

# run_one CASE VARIANT PROGRAM LAYOUT DIR [ARG...]: one timed run; the report goes to OUT.
run_one() {
  local key="$1/$2/$3" base="$OUT/$1.$2.$3" us rc=0
  [[ -n "${verdict[$key]:-}" ]] && return 0 # failed before: not again
  us="$(launch "$5" "$base" "${cmd[$3/$4]}" "${@:6}")" || rc=$?
  if ((rc == 152)); then
    verdict[$key]="over ${timeout_s} s of CPU"
  elif ((rc != 0)); then
    verdict[$key]="exit status $rc"
  else
    # At least a millisecond: the launch cost varies by about that much, and ratios need a divisor.
    printf '%s\t%s\t%s\t%s\t%s\n' "$1" "$2" "$3" "$((us - launch_us > 1000 ? us - launch_us : 1000))" \
      "$(tail -n1 "$base.time" | awk '{ print $2 "\t" $3 + $4 }')" >>"$times"
    return 0
  fi
  log "$3 on case $1 ($2): ${verdict[$key]}; see ${base#"$ROOT"/}.err"
  [[ $3 == before ]] || failed=1 # an earlier build's failure is a finding, not this run's
}

# judge_one CASE VARIANT PROGRAM LAYOUT DIR EXPECTED ACTUAL: judges a report beside the
# literal reference's; records and logs a wrong one.
judge_one() {
  if ! "$BIN/judge" "$4-file" "$5" "$6" "$7" 2>>"$OUT/judge.err"; then
    verdict[$1/$2/$3]="WRONG OUTPUT"
    log "$3 on case $1 ($2): wrong report beside the literal reference's (see ${OUT#"$ROOT"/}/judge.err)"
    [[ $3 == before ]] || failed=1
  fi
}

for c in "${!cases[@]}"; do
  [[ -n "${selected[$c]:-}" ]] || continue
  IFS='|' read -r label layout input twin args base <<<"${cases[$c]}"
  dir="$(gen "$input")" twin_dir=""
  [[ -n "$twin" ]] && twin_dir="$(gen "$twin")"
  find "$dir"/ ${twin_dir:+"$twin_dir"/} -type f -exec cat {} + >/dev/null # warm the page cache
  read -r -a extra <<<"$args"
  if [[ -n "$base" ]]; then
    # Ours with the option alone: the literal reference's runs are its case's.
    log "$label: $runs run(s)"
    for ((run = 1; run <= runs; run++)); do
      run_one "$c" input ours "$layout" "$dir" "${extra[@]}"
    done
    literal_out="$OUT/$base.input.literal.out"
    if [[ -n "${verdict[$base/input/literal]:-}" ]]; then
      [[ -z "${verdict[$c/input/ours]:-}" ]] && verdict[$c/input/ours]="unchecked"
    elif [[ -z "${verdict[$c/input/ours]:-}" ]]; then
      # The lines before the section that the option adds.
      head -n "$(wc -l <"$literal_out")" "$OUT/$c.input.ours.out" >"$OUT/$c.input.ours.head"
      judge_one "$c" input ours "$layout" "$dir" "$literal_out" "$OUT/$c.input.ours.head"
    fi
    continue
  fi
  log "$label: $runs run(s) each"
  for ((run = 1; run <= runs; run++)); do
    for p in "${programs[@]}"; do
      run_one "$c" input "$p" "$layout" "$dir"
      [[ -n "$twin" ]] && run_one "$c" twin "$p" "$layout" "$twin_dir"
    done
  done
  for variant in input ${twin:+twin}; do
    for p in "${programs[@]}"; do
      key="$c/$variant/$p"
      [[ "$p" == literal || -n "${verdict[$key]:-}" ]] && continue
      if [[ -n "${verdict[$c/$variant/literal]:-}" ]]; then
        verdict[$key]="unchecked"
      else
        judge_one "$c" "$variant" "$p" "$layout" "$([[ $variant == twin ]] && echo "$twin_dir" || echo "$dir")" \
          "$OUT/$c.$variant.literal.out" "$OUT/$c.$variant.$p.out"
      fi
    done
  done
done

# ------------------------------------------------------------------ table
# median CASE VARIANT PROGRAM COLUMN: the median of a column over the runs, or "".
median() {
  awk -F'\t' -v c="$1" -v v="$2" -v p="$3" -v k="$4" '$1 == c && $2 == v && $3 == p { print $k }' \
    "$times" | sort -g |
    awk '{ a[NR] = $1 } END { if (NR) printf "%.6f\n", (a[int((NR + 1) / 2)] + a[int(NR / 2) + 1]) / 2 }'
}
# scaled VALUE DIVISOR FORMAT: VALUE / DIVISOR printed with FORMAT, or "-" when either is "".
scaled() {
  if [[ -n "$1" && -n "$2" ]]; then awk -v a="$1" -v b="$2" -v f="$3" 'BEGIN { printf f, a / b }'; else echo -; fi
}
# cpu SECONDS: CPU seconds as a divisor: at least 10 ms, the resolution of /usr/bin/time; or "".
cpu() { if [[ -n "$1" ]]; then awk -v a="$1" 'BEGIN { printf "%.2f", a < 0.01 ? 0.01 : a }'; fi; }
{
  echo "| input | program | wall s (median) | CPU s | CPU / literal | peak MiB | peak / literal | random twin wall s | flood / random | report |"
  echo "|---|---|--:|--:|--:|--:|--:|--:|--:|---|"
  options=() # the cases with an option that ran
  for c in "${!cases[@]}"; do
    [[ -n "${selected[$c]:-}" ]] || continue
    IFS='|' read -r label layout input twin args base <<<"${cases[$c]}"
    row_programs=("${programs[@]}") ref="$c"
    [[ -n "$base" ]] && row_programs=(ours) ref="$base" options+=("$c")
    literal_kib="$(median "$ref" input literal 5)" literal_cpu="$(cpu "$(median "$ref" input literal 6)")"
    for p in "${row_programs[@]}"; do
      us="$(median "$c" input "$p" 4)" kib="$(median "$c" input "$p" 5)" s="$(median "$c" input "$p" 6)"
      twin_us="" flood=-
      if [[ -n "$twin" ]]; then
        twin_us="$(median "$c" twin "$p" 4)"
        flood="$(scaled "$us" "$twin_us" "%.1f×")"
      fi
      why="${verdict[$c/input/$p]:-${verdict[$c/twin/$p]:-}}"
      [[ -z "$why" ]] && why="$([[ "$p" == literal ]] && echo reference || echo ok)"
      echo "| $label | $p${args:+ $args} | $(scaled "$us" 1e6 %.3f) | $(scaled "$s" 1 %.2f) |" \
        "$(scaled "$(cpu "$s")" "$literal_cpu" %.2f) | $(scaled "$kib" 1024 %.1f) |" \
        "$(scaled "$kib" "$literal_kib" %.2f) | $(scaled "$twin_us" 1e6 %.3f) | $flood | $why |"
    done
  done
  echo
  echo "Wall times are medians of $runs run(s), less the $((launch_us / 1000)) ms that launching /bin/true the same way takes (at least 1 ms); CPU times (user + system) are medians too, to 10 ms (at least 10 ms in the ratios)."
  echo "Programs: $bits-bit ($ours_two, $ours_one); literal reference compiled with g++ -O2${flags:+ ${flags[*]}}."
  if ((${#options[@]})); then
    echo
    echo "| input | program | CPU s without | CPU s with | CPU with / without | peak MiB without | peak MiB with | peak with / without |"
    echo "|---|---|--:|--:|--:|--:|--:|--:|"
    for c in "${options[@]}"; do
      IFS='|' read -r label layout input twin args base <<<"${cases[$c]}"
      s0="$(median "$base" input ours 6)" s1="$(median "$c" input ours 6)"
      kib0="$(median "$base" input ours 5)" kib1="$(median "$c" input ours 5)"
      echo "| $label | ours $args | $(scaled "$s0" 1 %.2f) | $(scaled "$s1" 1 %.2f) |" \
        "$(scaled "$(cpu "$s1")" "$(cpu "$s0")" %.2f) | $(scaled "$kib0" 1024 %.1f) |" \
        "$(scaled "$kib1" 1024 %.1f) | $(scaled "$kib1" "$kib0" %.2f) |"
    done
  fi
  for note in "${notes[@]}"; do
    echo
    echo "$note"
  done
} | tee "$OUT/report.md"

if ((failed)); then
  log "FAILED: a program failed, ran out of time or wrote a different report (details above)"
  exit 1
fi
log "all reports judged right beside the literal reference's; table in ${OUT#"$ROOT"/}/report.md"
