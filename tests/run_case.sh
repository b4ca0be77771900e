#!/usr/bin/env bash
# Runs one end-to-end case folder against a program:
#   run_case.sh PROGRAM CASE_DIR
# The case's input files are copied into a scratch folder, where the program runs. A case may
# hold:
#   expected.out, expected.*.out  standard output; any one of them may match, for reports in
#                                 which the order or the choice is open
#   expected-windows.out          standard output of a Windows program, in place of the above
#   expected.status               exit status (default 0)
#   expected.err                  standard error, exactly (default: empty)
#   setup.sh                      run in the scratch folder first, to make large or special
#                                 inputs that are not worth committing
#   args                          the program's arguments, one per line (default: none)
#   stdin                         the program's standard input (default: /dev/null)
#   stdout.mode                   "full" (standard output at /dev/full), "closed", or
#                                 "append FILE" (appended to FILE of the case, which is then
#                                 compared as the standard output)
#   memory.limit                  the program's address space at most, in KiB (ulimit -v); the
#                                 case is skipped where such a limit cannot be set: under Wine,
#                                 an emulator or the address sanitizer, which all need more
#   time.limit                    seconds the program may run at most: a program that waits for
#                                 input its report does not need fails the case instead of
#                                 hanging it
#
# A Windows program (a PROGRAM ending in .exe) runs under Wine: the command in $WINE, default
# "wine". Its standard output and standard error are text streams, whose lines end in CR LF
# there, so the expected files are compared with their line ends turned into CR LF; the bytes
# otherwise, the exit status and the choice among expected outputs stay as on Linux. Under Wine
# the program writes to the /dev/full or closed standard output that this script hands it and
# fails as on Linux, and it opens files through symbolic links; the cases below are skipped
# (exit status 77), each for the reason given.
set -u
declare -A windows_skip=(
  [census-read-error]="the read error comes from Linux's /proc/self/mem, whose cause Wine names differently"
  [read-error-output-closed]="the same read error, with standard output closed"
  [register-link-loop]="Wine names the cause of a link that points to itself differently"
  [input-link-loop]="Wine names the cause of a link that points to itself differently"
  [optional-inputs-unopenable]="Wine names the causes of a link that points to itself and of a socket differently"
  [optional-inputs-broken-links]="Windows has no symbolic links that its programs could see as broken"
  [report-appended-to-update-list]="the update list's own lines end in LF, the report's in CR LF"
  [register-pipe-stays-open]="Windows programs do not read POSIX named pipes"
  [input-pipe-stays-open]="Windows programs do not read POSIX named pipes"
)
program=$1
case_dir=$2
run=("$program")
# A program this machine cannot run directly runs under the emulator in $EMULATOR.
[[ -n ${EMULATOR:-} ]] && read -r -a run <<<"$EMULATOR" && run+=("$program")
windows=0
if [[ $program == *.exe ]]; then
  windows=1
  read -r -a run <<<"${WINE:-wine}"
  run+=("$program")
  reason=${windows_skip[$(basename "$2")]:-}
  [[ -z $reason ]] || { echo "skipped on Windows: $reason"; exit 77; }
fi
scratch=$(mktemp -d)
results=$(mktemp -d)
trap 'chmod -R u+rwx "$scratch" 2>/dev/null; rm -rf "$scratch" "$results"' EXIT

cp -R "$case_dir"/. "$scratch"/
rm -f "$scratch"/expected* "$scratch"/setup.sh "$scratch"/stdout.mode "$scratch"/args "$scratch"/memory.limit \
  "$scratch"/time.limit "$scratch"/stdin
[[ -f $case_dir/args ]] && mapfile -t args <"$case_dir/args" && run+=("${args[@]}")
cd "$scratch" || exit 2
if [[ -f $case_dir/setup.sh ]]; then
  bash "$case_dir/setup.sh" || { echo "setup.sh failed"; exit 1; }
fi

if [[ -f $case_dir/memory.limit ]]; then
  if ((windows)) || [[ -n ${EMULATOR:-} ]] || ldd "$program" 2>/dev/null | grep -q libasan; then
    echo "skipped: no address-space limit for this build"
    exit 77
  fi
  ulimit -v "$(<"$case_dir/memory.limit")"
fi

[[ -f $case_dir/time.limit ]] && run=(timeout -k 1 "$(<"$case_dir/time.limit")" "${run[@]}")

input=/dev/null
[[ -f $case_dir/stdin ]] && input=$case_dir/stdin
mode=file
[[ -f $case_dir/stdout.mode ]] && mode=$(<"$case_dir/stdout.mode")
case $mode in
  file) "${run[@]}" <"$input" >"$results/out" 2>"$results/err"; status=$? ;;
  full) "${run[@]}" <"$input" >/dev/full 2>"$results/err"; status=$? ;;
  closed) "${run[@]}" <"$input" >&- 2>"$results/err"; status=$? ;;
  append\ *)
    "${run[@]}" <"$input" >>"${mode#append }" 2>"$results/err"; status=$?
    cp "${mode#append }" "$results/out" && mode=file ;;
  *) echo "unknown stdout.mode: $mode"; exit 2 ;;
esac

# The expected files as this program writes them: copies with CR LF line ends for Windows.
expected() {  # expected FILE: the path to compare with
  if [[ $windows == 1 && -f $1 ]]; then
    local copy
    copy=$results/expected.$(basename "$1")
    perl -pe 's/\n/\r\n/' "$1" >"$copy" && echo "$copy"
  else
    echo "$1"
  fi
}

failed=0
want_status=$(cat "$case_dir/expected.status" 2>/dev/null || echo 0)
[[ $status == "$want_status" ]] || { echo "exit status $status, expected $want_status"; failed=1; }
if [[ $mode == file ]]; then
  matched=0 wants=("$case_dir"/expected.out "$case_dir"/expected.*.out)
  [[ $windows == 1 && -f $case_dir/expected-windows.out ]] && wants=("$case_dir/expected-windows.out")
  for want in "${wants[@]}"; do
    [[ -f $want ]] && cmp -s "$(expected "$want")" "$results/out" && matched=1
  done
  if [[ $matched == 0 ]]; then
    echo "standard output matches no expected output; diff against ${wants[0]##*/}:"
    diff <(cat -A "$(expected "${wants[0]}")") <(cat -A "$results/out") | head -50
    failed=1
  fi
fi
want_err=/dev/null
[[ -f $case_dir/expected.err ]] && want_err=$(expected "$case_dir/expected.err")
cmp -s "$want_err" "$results/err" || { echo "standard error differs:"; cat -A "$results/err"; failed=1; }
exit $failed
