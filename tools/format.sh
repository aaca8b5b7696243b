#!/usr/bin/env bash
# Formats the project's C++ sources with clang-format, or checks that they
# are formatted.
#
#   tools/format.sh [--check] [ROOT]
#
# The sources are the *.cpp and *.h files that git tracks under ROOT (by
# default the checkout this script stands in), outside build/, or in a tree
# that is no git checkout every such file outside build/; their style
# is ROOT/.clang-format. Without --check, every source that clang-format
# would change is formatted in place and named; the others are not written,
# so nothing is rebuilt for them. With --check nothing is written: every
# such source is named, one a line, and the check fails (status 1).
#
# Status 2 when nothing could be checked: no clang-format, no
# ROOT/.clang-format, no C++ source under ROOT, or
# clang-format failing on a source. CLANG_FORMAT names the clang-format to run; by default
# clang-format-14 (Debian 12's, which ./dev setup installs) where there is
# one, else clang-format: other versions break some lines otherwise.
set -euo pipefail

check=0
if [ "${1:-}" = --check ]; then
  check=1
  shift
fi
if [ $# -gt 1 ] || [[ ${1:-} == -* ]]; then
  echo "usage: tools/format.sh [--check] [ROOT]" >&2
  exit 2
fi
root=${1:-$(dirname "$0")/..}

if [ -z "${CLANG_FORMAT:-}" ]; then
  CLANG_FORMAT=clang-format
  command -v clang-format-14 >/dev/null && CLANG_FORMAT=clang-format-14
fi
if ! command -v "$CLANG_FORMAT" >/dev/null; then
  echo "format: no $CLANG_FORMAT; ./dev setup installs it" >&2
  exit 2
fi
if [ ! -f "$root/.clang-format" ]; then
  # Without it clang-format would fall back to a style of its own.
  echo "format: no .clang-format in $root" >&2
  exit 2
fi
if [ ! -d "$root" ]; then
  echo "format: no folder $root" >&2
  exit 2
fi
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  listed=$(git -C "$root" ls-files -z -- '*.cpp' '*.h' | tr '\0' '\n')
else
  # A tree exported without its history (an archive, a copy) has every
  # file it holds; the build's and git's own folders are no sources.
  listed=$(cd "$root" && find . \( -path ./build -o -path ./.git \) -prune -o \
    -type f \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||')
fi
sources=()
while IFS= read -r file; do
  # A source deleted from the working tree but still tracked is not there to check.
  [ -n "$file" ] && [[ $file != build/* ]] && [ -f "$root/$file" ] && sources+=("$file")
done <<<"$listed"
if [ ${#sources[@]} -eq 0 ]; then
  # A check that read nothing would pass with nothing to say.
  echo "format: no C++ source in $root" >&2
  exit 2
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Each worker names, on its own line, every source of its share that
# clang-format would change, and leaves a failure in the errors file.
# "./" keeps a name that begins with "-" from being read as an option.
worker='
  formatter=$2 scratch=$3
  cd "$1" || { echo "format: cannot enter $1" >>"$scratch/errors"; exit 0; }
  shift 3
  for file; do
    out=$(mktemp "$scratch/out.XXXXXX")
    if ! "$formatter" --style=file "./$file" >"$out" 2>"$out.why"; then
      { cat "$out.why"; echo "format: $formatter failed on $file"; } >>"$scratch/errors"
    elif ! cmp -s "$out" "./$file"; then
      echo "$file"
    fi
    rm -f "$out" "$out.why"
  done
'
: >"$scratch/errors"
if ! changed=$(printf '%s\0' "${sources[@]}" |
  xargs -0 -r -n 16 -P "$(nproc 2>/dev/null || echo 2)" \
    bash -c "$worker" format "$root" "$CLANG_FORMAT" "$scratch" | LC_ALL=C sort); then
  echo "format: clang-format did not run over every source" >&2
  exit 2
fi
if [ -s "$scratch/errors" ]; then
  cat "$scratch/errors" >&2
  exit 2
fi

count=0
[ -n "$changed" ] && count=$(printf '%s\n' "$changed" | wc -l)
if [ "$check" -eq 1 ]; then
  if [ "$count" -eq 0 ]; then
    echo "format: all ${#sources[@]} sources are formatted"
    exit 0
  fi
  printf '%s\n' "$changed"
  echo "format: $count of ${#sources[@]} sources are not formatted; ./dev format formats them" >&2
  exit 1
fi

while IFS= read -r file; do
  [ -n "$file" ] || continue
  "$CLANG_FORMAT" --style=file -i "$root/$file"
  echo "formatted $file"
done <<<"$changed"
echo "format: $count of ${#sources[@]} sources formatted"
