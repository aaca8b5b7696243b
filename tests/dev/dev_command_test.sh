#!/usr/bin/env bash
# The README's commands as a user runs them: ./dev demo-skills (the copy
# that ./dev run makes beside the program) keeps every file the user has in
# the folder, and ./dev run without a display says so and fails at once.
set -uo pipefail
root=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A folder the user already works in: an edited demo file, a file of their
# own, a class folder replaced by a link to their own folder, and a file
# where a demo class folder would go.
folder=$scratch/skill
mkdir -p "$folder/fighter" "$scratch/elsewhere"
demo=$(cd "$root/samples/skill/fighter" && ls | head -n 1)
printf 'edited by the user\r\n' >"$folder/fighter/$demo"
printf 'my own skill\r\n' >"$folder/fighter/own.skl"
ln -s "$scratch/elsewhere" "$folder/mage"
printf 'not a folder\r\n' >"$folder/thief"

for run in 1 2; do
  "$root/dev" demo-skills "$folder" || fail "run $run: ./dev demo-skills ended with $?"
done

[ "$(cat "$folder/fighter/$demo")" = $'edited by the user\r' ] || fail "an edited demo file was overwritten"
[ -f "$folder/fighter/own.skl" ] || fail "the user's own file is gone"
[ -L "$folder/mage" ] || fail "the user's link to a class folder was replaced"
[ "$(cat "$folder/thief")" = $'not a folder\r' ] || fail "a file in a class folder's place was replaced"
# Every other demo file arrives, byte for byte, also through the user's link.
while IFS= read -r -d '' file; do
  rel=${file#"$root/samples/skill/"}
  case $rel in
    "fighter/$demo" | thief/*) continue ;;
  esac
  cmp -s "$file" "$folder/$rel" || fail "demo file $rel was not copied"
done < <(find "$root/samples/skill" -type f -print0)
[ -n "$(ls -A "$scratch/elsewhere")" ] || fail "the linked class folder got no demo files"

# Without a display ./dev run ends at once, non-zero, with a message, and
# builds or installs nothing first.
out=$(cd "$scratch" && env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$root/dev" run 2>&1)
status=$?
[ "$status" -ne 0 ] && [ "$status" -ne 124 ] || fail "./dev run without a display ended with $status"
case $out in
  *"needs a display"*) ;;
  *) fail "./dev run without a display said: $out" ;;
esac

[ "$failures" -eq 0 ] && echo "dev command: all checks passed"
exit "$failures"
