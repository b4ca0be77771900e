#!/usr/bin/env bash
# Runs a program in a folder under a sweep of address-space limits (ulimit -v), from the
# smallest in which the dynamic loader starts it upwards, and fails unless every run gives the
# report of a run without a limit or ends with status 1 and the one line of running out of
# memory, its standard output then whole lines of that report:
#   memory_sweep.sh PROGRAM FOLDER [ARGUMENT...]
# Limits go up by 8 KiB for the first MiB, then by 32 KiB until the full report comes, then
# by 1 MiB for 32 MiB more. Below
# the start the loader fails with status 127, which is not the program's; an abort (status 134,
# "terminate called") or any other status fails the sweep. Skipped (exit status 77) where no such
# limit can be set: under an emulator or the address sanitizer.
set -u
program=$1 folder=$2
args=("${@:3}")
if [[ -n ${EMULATOR:-} ]] || ldd "$program" 2>/dev/null | grep -q libasan; then
  echo "skipped: no address-space limit for this build"
  exit 77
fi
cd "$folder" || exit 2
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
"$program" "${args[@]}" >"$work/full.out" 2>"$work/full.err" </dev/null ||
  { echo "the run without a limit failed"; exit 1; }
newline=$'\n'
message="^${program##*/}: out of memory: [^$newline]+$newline\$"  # one line
IFS= read -r -d '' full <"$work/full.out"
IFS= read -r -d '' full_err <"$work/full.err"

runs=0 messages=0 reports=0 failures=0
# run LIMIT: runs the program under LIMIT KiB and sets $status; a run that started is counted
# and checked, in the shell's own words, so that a sweep of hundreds of runs takes seconds.
run() {
  (ulimit -v "$1" && exec "$program" "${args[@]}" >"$work/out" 2>"$work/err" </dev/null)
  status=$?
  ((status == 127)) && return
  local out err
  IFS= read -r -d '' out <"$work/out"
  IFS= read -r -d '' err <"$work/err"
  runs=$((runs + 1))
  if ((status == 0)) && [[ $out == "$full" && $err == "$full_err" ]]; then
    reports=$((reports + 1))
  elif ((status == 1)) && [[ $err =~ $message && $full == "$out"* ]] &&
    [[ -z $out || $out == *$'\n' ]]; then
    messages=$((messages + 1))
  else
    failures=$((failures + 1))
    ((failures <= 5)) && echo "FAIL at $1 KiB: status $status, standard error: ${err:0:200}"
  fi
}

for ((limit = 2048; ; limit += 64)); do
  ((limit > 65536)) && { echo "the program never started under a limit"; exit 1; }
  run $limit
  ((status != 127)) && break
done
# Just above the start, where the runtime's own blocks run short, in small steps.
for ((start = limit - 64, limit = start; ; limit += limit < start + 1024 ? 8 : 32)); do
  run $limit
  ((status == 0)) && break
done
for ((top = limit + 32768; limit <= top; limit += 1024)); do
  run $limit
done
echo "$runs runs that started: $reports full reports, $messages out-of-memory messages," \
  "$failures failures"
((failures == 0))
