#!/usr/bin/env bash
# The check of the layers (tools/layers.cmake) on a small tree of its own:
# an include that runs upward fails it, naming the file, whether the source
# folder is given whole or relative to where the check runs; a clean tree
# passes with its includes counted; a folder with no sources fails instead
# of passing with nothing read.
set -uo pipefail
script=$1/tools/layers.cmake
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

tree=$scratch/tree
mkdir -p "$tree/platform" "$tree/engine" "$tree/app" "$scratch/empty"
printf '#pragma once\n' >"$tree/platform/gbk.h"
printf '#pragma once\n' >"$tree/app/units.h"
printf '#include "app/units.h"\n' >"$tree/main.cpp"
clean='#include "platform/gbk.h"\n'
upward='#include "platform/gbk.h"\n#include "app/units.h"\n'

# check FOLDER ROOT: runs the check from FOLDER with -DROOT=ROOT.
check() { (cd "$1" && cmake -DROOT="$2" -DCHECK=ON -P "$script" 2>&1); }

# source of engine/read.cpp | folder to run from | ROOT | expected status | text the output must hold
cases=(
  "$clean|$scratch|$tree|0|"
  "$clean|$tree|.|0|"
  "$upward|$scratch|$tree|1|engine/read.cpp: #include \"app/units.h\" (engine may not include app)"
  "$upward|$tree|.|1|engine/read.cpp: #include \"app/units.h\""
  "$upward|$tree/engine|..|1|engine/read.cpp: #include \"app/units.h\""
  "$clean|$scratch|$scratch/empty|1|no sources of the layers"
)
for c in "${cases[@]}"; do
  IFS='|' read -r source from root want text <<<"$c"
  printf "$source" >"$tree/engine/read.cpp"
  out=$(check "$from" "$root")
  got=$?
  [ $got -ne 0 ] && got=1
  [ "$got" = "$want" ] || fail "ROOT=$root from $from: status $got, expected $want: $out"
  [ -z "$text" ] || [[ $out == *"$text"* ]] || fail "ROOT=$root from $from: no \"$text\" in: $out"
done

# The report counts the includes between the layers of the clean tree.
printf "$clean" >"$tree/engine/read.cpp"
report=$(cd "$tree" && cmake -DROOT=. -P "$script" 2>&1)
[[ $report == *"engine -> platform: 1"* && $report == *"main -> app: 1"* ]] ||
  fail "the report of the clean tree misses its includes: $report"

[ $failures -eq 0 ] && echo "layers check: all cases passed"
exit $((failures > 0))
