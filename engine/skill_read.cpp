#include "engine/skill_read.h"

#include "engine/text.h"

namespace {

OfferedDataSets OfferedByLevelBlocks(std::string_view script, int levelBlocks) {
  if (levelBlocks > 1) return {true, true, false};
  if (levelBlocks < 1) return {};
  const int block = FindText(script, "[level info]");
  auto inside = [&](std::string_view open, std::string_view close) {
    const int a = FindText(script, open, 1, true);
    const int b = FindText(script, close, 1, true);
    return block > 0 && a > 0 && b > 0 && a < block && block < b;
  };
  if (inside("[dungeon]", "[/dungeon]")) return {true, false, false};
  if (inside("[pvp]", "[/pvp]")) return {false, true, false};
  return {false, false, true};
}

}  // namespace

ScriptOutline OutlineScript(std::string_view script) {
  ScriptOutline outline;
  outline.levelBlocks = CountOccurrences(script, "[level info]");
  outline.offered = OfferedByLevelBlocks(script, outline.levelBlocks);
  outline.staticBlocks = CountOccurrences(script, "[static data]");
  return outline;
}
