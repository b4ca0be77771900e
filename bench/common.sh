# shellcheck shell=bash disable=SC2154,SC2034
# What bench/run.sh and bench/crafted.sh share. Each sources it first, as
#   source "$BENCH/common.sh" TAG
# with BENCH set to this folder and TAG its log prefix. It sets ROOT, DATA and BIN (the
# helpers' folder) and defines usage(), log(), fail(), compile() and elf_bits(); after reading
# its options (`build`: 1 to build the preset; `before`: an earlier build's folder or empty;
# `preset`, when set: the CMake preset whose programs are timed, release by default), the
# script calls find_programs, which sets TIME, ours_two, ours_one, before_two and before_one.

ROOT="$(dirname "$BENCH")"
DATA="$BENCH/data"
BIN="$BENCH/out/bin"
TAG="$1"

# The script's opening comment, without its first line and the comment marks.
usage() { sed -n '2,/^set -euo/{/^set -euo/d;s/^# \{0,1\}//;p}' "$0"; }
log() { printf '[%s] %s\n' "$TAG" "$*" >&2; }
fail() { echo "${0##*/}: $*" >&2; exit 1; }

find_programs() {
  # /usr/bin/time gives the peak memory; root installs it when it is missing.
  TIME=/usr/bin/time
  if [[ ! -x "$TIME" ]] && ((EUID == 0)) && command -v apt-get >/dev/null; then
    log "installing the 'time' package for peak-memory figures"
    apt-get install -y -qq time >/dev/null || { apt-get update -qq && apt-get install -y -qq time >/dev/null; }
  fi
  [[ -x "$TIME" ]] || fail "/usr/bin/time is missing (apt-get install time)"

  # The programs under test, built unless both are given; an earlier build's beside them.
  local preset="${preset:-release}"
  ours_two="${STATIONDIFF_BIN:-$ROOT/build/$preset/bin/stationdiff}"
  ours_one="${ONEFILE_BIN:-$ROOT/build/$preset/bin/stationdiff-onefile}"
  if ((build)) && [[ -z "${STATIONDIFF_BIN:-}" || -z "${ONEFILE_BIN:-}" ]]; then
    log "building the $preset preset's two programs"
    (cd "$ROOT" && cmake --preset "$preset" >&2 &&
      cmake --build --preset "$preset" --target stationdiff stationdiff-onefile >&2)
  fi
  before_two="" before_one=""
  if [[ -n "$before" ]]; then
    [[ -d "$before" ]] || fail "no such folder: $before"
    before="$(cd "$before" && pwd)"
    before_two="$before/stationdiff" before_one="$before/stationdiff-onefile"
  fi
  # Absolute, as the programs run in their inputs' folders.
  [[ "$ours_two" == /* ]] || ours_two="$PWD/$ours_two"
  [[ "$ours_one" == /* ]] || ours_one="$PWD/$ours_one"
  local bin
  for bin in "$ours_two" "$ours_one" $before_two $before_one; do
    [[ -x "$bin" ]] || fail "program not found: $bin"
  done
}

# compile SRC NAME [FLAG...]: compiles one helper into BIN, with g++'s FLAGs (such as -m32; a
# NAME of its own for each set of flags), unless its binary is newer than its source and the
# headers beside it (the literal programs and the judge share bench/reference/*.hpp).
compile() {
  local src="$1" bin="$BIN/$2" dep stale=0
  shift 2
  for dep in "$src" "${src%/*}"/*.hpp; do
    if [[ "$dep" -nt "$bin" ]]; then stale=1; fi
  done
  if ((stale)) || [[ ! -x "$bin" ]]; then
    mkdir -p "$BIN"
    log "compiling ${src#"$ROOT"/}"
    g++ -O2 -std=c++20 "$@" -o "$bin" "$src"
  fi
}

# elf_bits FILE: 32 or 64, the word size of the ELF program FILE (its class byte), or "".
elf_bits() {
  [[ "$(head -c4 "$1" 2>/dev/null | od -An -c | tr -d ' ')" == 177ELF ]] || return 0
  case "$(od -An -tu1 -j4 -N1 "$1" 2>/dev/null | tr -d ' ')" in
    1) echo 32 ;;
    2) echo 64 ;;
  esac
}
