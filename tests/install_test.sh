#!/usr/bin/env bash
# Installs a built tree into a scratch prefix and checks what lands there.
#
#   install_test.sh <build-dir> <source-dir>
#
# - `cmake --install` succeeds;
# - both programs are installed and executable;
# - both manual pages are installed (gzip'ed or plain), carry the project
#   version, and render with `man --warnings=w -l` (every groff warning
#   turned on, a superset of plain `man --warnings`) without a single warning;
# - the installed programs, run in scratch copies of examples/two-file and
#   examples/one-file, give the same report, standard error and exit status
#   as the freshly built programs in <build-dir>/bin (and match
#   examples/*/expected.out where such a file exists).
#
# The cmake binary can be chosen with the CMAKE environment variable.
# Exits 0 when every check passes, 1 otherwise.

set -u

if [ "$#" -ne 2 ]; then
  echo "usage: $0 <build-dir> <source-dir>" >&2
  exit 2
fi

build_dir=$(cd "$1" && pwd) || { echo "no build directory: $1" >&2; exit 2; }
source_dir=$(cd "$2" && pwd) || { echo "no source directory: $2" >&2; exit 2; }
cmake_bin=${CMAKE:-cmake}

passed=0
failed=0
ok()   { passed=$((passed + 1)); echo "ok: $*"; }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }

work=$(mktemp -d "${TMPDIR:-/tmp}/stationdiff-install.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
stage="$work/stage"

# A non-empty value from the build tree's cache, or a default.
# (GNUInstallDirs caches some directories empty, meaning "the default".)
cache_value() {
  local name=$1 default=$2 line value=
  line=$(grep -E "^$name:[A-Z]+=" "$build_dir/CMakeCache.txt" 2>/dev/null | head -n 1)
  [ -n "$line" ] && value=${line#*=}
  if [ -n "$value" ]; then printf '%s\n' "$value"; else printf '%s\n' "$default"; fi
}

bindir=$(cache_value CMAKE_INSTALL_BINDIR bin)
datarootdir=$(cache_value CMAKE_INSTALL_DATAROOTDIR share)
mandir=$(cache_value CMAKE_INSTALL_MANDIR "$datarootdir/man")
version=$(cache_value CMAKE_PROJECT_VERSION "")

# --- install ---------------------------------------------------------------
if "$cmake_bin" --install "$build_dir" --prefix "$stage" >"$work/install.log" 2>&1; then
  ok "cmake --install into a scratch prefix"
else
  fail "cmake --install failed:"
  sed 's/^/    /' "$work/install.log"
  echo "install_test: $passed passed, $failed failed"
  exit 1
fi

# --- programs ---------------------------------------------------------------
for prog in stationdiff stationdiff-onefile; do
  if [ -f "$stage/$bindir/$prog" ] && [ -x "$stage/$bindir/$prog" ]; then
    ok "$bindir/$prog installed and executable"
  else
    fail "$bindir/$prog missing or not executable"
  fi
done

# --- reports of the installed programs --------------------------------------
# run_in DIR PROG TAG: runs PROG in DIR with no arguments and no input,
# keeping stdout, stderr and the exit status under $work/TAG.*
run_in() {
  local dir=$1 prog=$2 tag=$3
  (cd "$dir" && "$prog" </dev/null >"$work/$tag.out" 2>"$work/$tag.err")
  echo $? >"$work/$tag.rc"
}

# check_example EXAMPLE-DIR PROG HEADING
check_example() {
  local example=$1 prog=$2 heading=$3
  local src="$source_dir/examples/$example"
  local installed="$stage/$bindir/$prog" built="$build_dir/bin/$prog"

  if [ ! -d "$src" ]; then
    fail "$prog: example directory examples/$example is missing"
    return
  fi
  if [ ! -x "$installed" ]; then
    fail "$prog: not installed, example examples/$example not run"
    return
  fi

  # Each run gets its own scratch copy so that neither run can see what the
  # other left behind and the source tree is never written to.
  mkdir -p "$work/run-installed-$prog" "$work/run-built-$prog"
  cp -R "$src/." "$work/run-installed-$prog/"
  cp -R "$src/." "$work/run-built-$prog/"

  run_in "$work/run-installed-$prog" "$installed" "installed-$prog"

  local rc
  rc=$(cat "$work/installed-$prog.rc")
  if [ "$rc" = 0 ] && [ ! -s "$work/installed-$prog.err" ] \
     && grep -qxF -- "$heading" "$work/installed-$prog.out"; then
    ok "installed $prog on examples/$example: exit 0, report has '$heading'"
  else
    fail "installed $prog on examples/$example: exit $rc, stderr:"
    sed 's/^/    /' "$work/installed-$prog.err"
    echo "    stdout:"
    sed 's/^/    /' "$work/installed-$prog.out"
  fi

  if [ -x "$built" ]; then
    run_in "$work/run-built-$prog" "$built" "built-$prog"
    if cmp -s "$work/installed-$prog.out" "$work/built-$prog.out" \
       && cmp -s "$work/installed-$prog.err" "$work/built-$prog.err" \
       && cmp -s "$work/installed-$prog.rc" "$work/built-$prog.rc"; then
      ok "installed $prog matches $build_dir/bin/$prog on examples/$example"
    else
      fail "installed $prog differs from $build_dir/bin/$prog on examples/$example:"
      diff "$work/built-$prog.out" "$work/installed-$prog.out" | sed 's/^/    /'
      echo "    exit status built $(cat "$work/built-$prog.rc"), installed $rc"
    fi
  else
    fail "built program $built not found"
  fi

  if [ -f "$src/expected.out" ]; then
    if cmp -s "$src/expected.out" "$work/installed-$prog.out"; then
      ok "installed $prog report equals examples/$example/expected.out"
    else
      fail "installed $prog report differs from examples/$example/expected.out:"
      diff "$src/expected.out" "$work/installed-$prog.out" | sed 's/^/    /'
    fi
  fi
}

check_example two-file stationdiff "Eltunt allomasok: "
check_example one-file stationdiff-onefile "Not used: "

# --- manual pages ------------------------------------------------------------
have_man=yes
if ! command -v man >/dev/null 2>&1; then
  have_man=no
  echo "SKIP: 'man' is not installed; manual pages not rendered (apt-get install man-db groff-base)"
fi

for page in stationdiff stationdiff-onefile; do
  base="$stage/$mandir/man1/$page.1"
  if [ -f "$base.gz" ] && [ -f "$base" ]; then
    fail "$mandir/man1/$page.1 installed both plain and compressed"
    continue
  elif [ -f "$base.gz" ]; then
    file="$base.gz"
    if gzip -t "$file" 2>/dev/null; then
      ok "$mandir/man1/$page.1.gz installed, valid gzip"
    else
      fail "$mandir/man1/$page.1.gz is not a valid gzip file"
      continue
    fi
    text=$(gzip -dc "$file")
  elif [ -f "$base" ]; then
    file="$base"
    ok "$mandir/man1/$page.1 installed"
    text=$(cat "$file")
  else
    fail "$mandir/man1/$page.1 (.gz) not installed"
    continue
  fi

  th=$(printf '%s\n' "$text" | grep -m 1 '^\.TH ')
  if printf '%s\n' "$text" | grep -q '@[A-Za-z_]*@'; then
    fail "$page.1 still holds an unsubstituted @VARIABLE@"
  elif [ -n "$version" ] && ! printf '%s\n' "$th" | grep -qF -- "$version"; then
    fail "$page.1: .TH line does not carry version $version: $th"
  else
    ok "$page.1 names version ${version:-?} in its .TH line"
  fi

  if [ "$have_man" = yes ]; then
    if MANPAGER=cat PAGER=cat MANWIDTH=80 man --warnings=w -l "$file" \
         >"$work/$page.render" 2>"$work/$page.warn" \
       && [ ! -s "$work/$page.warn" ] && [ -s "$work/$page.render" ]; then
      ok "man --warnings=w -l $page renders without warnings"
    else
      fail "man --warnings=w -l $page:"
      sed 's/^/    /' "$work/$page.warn"
    fi
  fi
done

echo "install_test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
