#!/usr/bin/env bash
# Installs a build into a staging prefix, runs the installed programs on the installed examples
# (their reports must equal those of the programs in the build tree on the source's examples)
# and renders the manual pages, failing on any groff warning.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -u
build=$(cd "$1" && pwd) && source=$(cd "$2" && pwd) || exit 2
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

"${CMAKE:-cmake}" --install "$build" --prefix "$work/stage" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install"; exit 1; }

run() {  # run PROGRAM EXAMPLES_DIR TAG: the program's report on a scratch copy of the example
  mkdir "$work/$3" && cp -R "$2/." "$work/$3/"
  (cd "$work/$3" && ${EMULATOR:-} "$1" >"$work/$3.out" 2>&1; echo "status $?" >>"$work/$3.out")
}
docs=$work/stage/share/doc/stationdiff
for pair in stationdiff:two-file stationdiff-onefile:one-file; do
  program=${pair%%:*} example=${pair#*:}
  installed=$work/stage/bin/$program
  [[ -x $installed ]] || { fail "bin/$program not installed"; continue; }
  run "$installed" "$docs/examples/$example" "installed-$program"
  run "$build/bin/$program" "$source/examples/$example" "built-$program"
  grep -qx "status 0" "$work/installed-$program.out" || fail "installed $program did not exit 0"
  cmp -s "$work/installed-$program.out" "$work/built-$program.out" ||
    fail "installed $program differs from the build tree's on examples/$example"
done

for doc in copyright 'README.md*' 'changelog*'; do
  compgen -G "$docs/$doc" >/dev/null || fail "share/doc/stationdiff/$doc not installed"
done
for page in stationdiff stationdiff-onefile; do
  file=$(ls "$work/stage/share/man/man1/$page.1"* 2>/dev/null | head -1)
  [[ -n $file ]] || { fail "manual page $page.1 not installed"; continue; }
  zcat -f "$file" | grep -q '@[A-Z_]*@' && fail "$page.1 holds an unsubstituted variable"
  if command -v man >/dev/null; then
    warnings=$(man --warnings=w -l "$file" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "$page.1 renders with warnings: $warnings"
  else
    echo "SKIP: man is not installed, $page.1 not rendered"
  fi
done
exit $failed
