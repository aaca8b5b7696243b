#!/usr/bin/env bash
# The format check (tools/format.sh, behind ./dev format) on a small tree of
# its own: a formatted tree passes; a tracked source that clang-format would
# change is named and fails the check, whether the tree is given whole or
# relative to where the check runs, while sources git does not track,
# sources under build/ and files that are no C++ source are left alone; the
# formatting writes exactly the sources the check named, after which the
# check passes; and a check that cannot run fails instead of passing having
# read nothing.
set -uo pipefail
script=$1/tools/format.sh
formatter=clang-format
command -v clang-format-14 >/dev/null && formatter=clang-format-14
if ! command -v "$formatter" >/dev/null; then
  echo "format check: no clang-format here (./dev setup installs it)"
  exit 77
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

tree=$scratch/tree
mkdir -p "$tree/lib" "$tree/build" "$scratch/nogit"
git -C "$tree" init -q
cp "$1/.clang-format" "$tree/"
cp "$1/.clang-format" "$scratch/nogit/"
clean_cpp='#include "lib/ok.h"\n\nint Add(int a, int b) {\n  return a + b;\n}\n'
clean_h='#pragma once\n'
badly='int  Twice(int x);\n'
printf %b "$clean_cpp" >"$tree/clean.cpp"
printf %b "$clean_h" >"$tree/lib/ok.h"
printf %b "$badly" >"$tree/table.def"  # no C++ source by its name
printf %b "$badly" >"$tree/build/made.cpp"
printf %b "$badly" >"$tree/loose.cpp"  # never tracked
git -C "$tree" add clean.cpp lib/ok.h table.def
git -C "$tree" add -f build/made.cpp
printf %b "$clean_cpp" >"$scratch/nogit/clean.cpp"

# run FOLDER ARGS...: runs the script from FOLDER; its output, then its status.
run() {
  local from=$1
  shift
  out=$(cd "$from" && "$script" "$@" 2>&1)
  status=$?
}

# A formatted tree passes, given whole or relative to where the check runs.
for c in "$scratch|$tree" "$tree|." "$tree/lib|.."; do
  IFS='|' read -r from root <<<"$c"
  run "$from" --check "$root"
  [ "$status" -eq 0 ] || fail "clean tree $root from $from: status $status: $out"
  [[ $out == *"all 2 sources are formatted"* ]] || fail "clean tree $root from $from said: $out"
done

# Two tracked sources that clang-format would change, one with a space in
# its name, are named (and nothing else is), however the tree is given.
printf %b "$badly" >"$tree/lib/bad.h"
printf %b "$badly" >"$tree/with space.cpp"
git -C "$tree" add lib/bad.h "with space.cpp"
named=$'lib/bad.h\nwith space.cpp'
for c in "$scratch|$tree" "$tree|." "$tree/lib|.."; do
  IFS='|' read -r from root <<<"$c"
  run "$from" --check "$root"
  [ "$status" -eq 1 ] || fail "unformatted tree $root from $from: status $status, expected 1: $out"
  listed=$(grep -v '^format:' <<<"$out")
  [ "$listed" = "$named" ] || fail "unformatted tree $root from $from named: $listed"
  [[ $out == *"2 of 4 sources are not formatted"* ]] || fail "unformatted tree $root from $from said: $out"
done
[ "$(cat "$tree/lib/bad.h")" = "int  Twice(int x);" ] || fail "the check wrote a source"

# Formatting writes the two it named and nothing else; then the check passes.
run "$scratch" "$tree"
[ "$status" -eq 0 ] || fail "formatting: status $status: $out"
[[ $out == *"formatted lib/bad.h"* && $out == *"formatted with space.cpp"* ]] ||
  fail "formatting did not name what it wrote: $out"
for file in lib/bad.h "with space.cpp"; do
  [ "$(cat "$tree/$file")" = "int Twice(int x);" ] || fail "$file was not formatted"
done
for file in table.def build/made.cpp loose.cpp; do
  [ "$(cat "$tree/$file")" = "int  Twice(int x);" ] || fail "$file was written"
done
run "$scratch" --check "$tree"
[ "$status" -eq 0 ] || fail "the formatted tree fails the check: $out"

# A check that cannot run fails (status 2) and says why.
out=$(cd "$scratch" && CLANG_FORMAT=false "$script" --check "$tree" 2>&1)
status=$?
[ "$status" -eq 2 ] && [[ $out == *"false failed on clean.cpp"* ]] ||
  fail "a clang-format that fails: status $status: $out"
rm "$tree/.clang-format"
run "$scratch" --check "$tree"
[ "$status" -eq 2 ] && [[ $out == *"no .clang-format"* ]] ||
  fail "a tree without .clang-format: status $status: $out"
# A tree that is no git checkout is read whole, but for build/.
printf %b "$clean_cpp" >"$scratch/nogit/clean.cpp"
mkdir -p "$scratch/nogit/build"
printf %b "$badly" >"$scratch/nogit/build/made.cpp"
run "$scratch" --check "$scratch/nogit"
[ "$status" -eq 0 ] && [[ $out == *"all 1 sources are formatted"* ]] ||
  fail "a formatted tree that is no git checkout: status $status: $out"
printf %b "$badly" >"$scratch/nogit/bad.cpp"
run "$scratch" --check "$scratch/nogit"
[ "$status" -eq 1 ] && [[ $out == *"bad.cpp"* ]] && [[ $out != *"made.cpp"* ]] ||
  fail "a badly formatted source in a tree that is no git checkout: status $status: $out"
rm -rf "$scratch/nogit/bad.cpp" "$scratch/nogit/clean.cpp" "$scratch/nogit/build"
run "$scratch" --check "$scratch/nogit"
[ "$status" -eq 2 ] && [[ $out == *"no C++ source"* ]] ||
  fail "a folder that is no git checkout and holds no source: status $status: $out"
printf %b "$clean_cpp" >"$scratch/nogit/clean.cpp"
git -C "$scratch/nogit" init -q
run "$scratch" --check "$scratch/nogit"
[ "$status" -eq 2 ] && [[ $out == *"no C++ source"* ]] ||
  fail "a checkout that tracks no source: status $status: $out"
run "$scratch" --check "$scratch/missing"
[ "$status" -eq 2 ] || fail "a missing folder: status $status: $out"

[ $failures -eq 0 ] && echo "format check: all cases passed"
exit $((failures > 0))
