#!/usr/bin/env bash
# Runs one end-to-end case folder against a program:
#   run_case.sh PROGRAM CASE_DIR
# The case's input files are copied into a scratch folder, where the program runs. A case may
# hold:
#   expected.out, expected.*.out  standard output; any one of them may match, for reports in
#                                 which the order or the choice is open
#   expected.status               exit status (default 0)
#   expected.err                  standard error, exactly (default: empty)
#   setup.sh                      run in the scratch folder first, to make large or special
#                                 inputs that are not worth committing
#   stdout.mode                   "full" (standard output at /dev/full) or "closed"
set -u
program=$1
case_dir=$2
scratch=$(mktemp -d)
results=$(mktemp -d)
trap 'chmod -R u+rwx "$scratch" 2>/dev/null; rm -rf "$scratch" "$results"' EXIT

cp -R "$case_dir"/. "$scratch"/
rm -f "$scratch"/expected* "$scratch"/setup.sh "$scratch"/stdout.mode
cd "$scratch" || exit 2
if [[ -f $case_dir/setup.sh ]]; then
  bash "$case_dir/setup.sh" || { echo "setup.sh failed"; exit 1; }
fi

mode=file
[[ -f $case_dir/stdout.mode ]] && mode=$(<"$case_dir/stdout.mode")
case $mode in
  file) "$program" >"$results/out" 2>"$results/err"; status=$? ;;
  full) "$program" >/dev/full 2>"$results/err"; status=$? ;;
  closed) "$program" >&- 2>"$results/err"; status=$? ;;
  *) echo "unknown stdout.mode: $mode"; exit 2 ;;
esac

failed=0
want_status=$(cat "$case_dir/expected.status" 2>/dev/null || echo 0)
[[ $status == "$want_status" ]] || { echo "exit status $status, expected $want_status"; failed=1; }
if [[ $mode == file ]]; then
  matched=0
  for want in "$case_dir"/expected.out "$case_dir"/expected.*.out; do
    [[ -f $want ]] && cmp -s "$want" "$results/out" && matched=1
  done
  if [[ $matched == 0 ]]; then
    echo "standard output matches no expected output; diff against expected.out:"
    diff <(cat -A "$case_dir/expected.out") <(cat -A "$results/out") | head -50
    failed=1
  fi
fi
want_err=/dev/null
[[ -f $case_dir/expected.err ]] && want_err=$case_dir/expected.err
cmp -s "$want_err" "$results/err" || { echo "standard error differs:"; cat "$results/err"; failed=1; }
exit $failed
