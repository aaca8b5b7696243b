#include "engine/level_info.h"

#include "engine/text.h"

namespace {

constexpr std::string_view kSpOpen = "[@05][level info]";
constexpr std::string_view kSpClose = "[@05][/level info]";
constexpr std::string_view kSpPvpOpen = "[@05][pvp]";
constexpr std::string_view kSpPvpClose = "[@05][/pvp]";
constexpr std::string_view kPtOpen = "[level info]";
constexpr std::string_view kPtClose = "[/level info]";
constexpr std::string_view kPtPvpOpen = "[pvp]";
constexpr std::string_view kPtPvpClose = "[/pvp]";

int Size(std::string_view tag) {
  return static_cast<int>(tag.size());
}

// The tags of the block the set reads, as far as they were found; `found`
// when the block lies where the set needs it.
struct Block {
  int open = -1;
  int close = -1;
  bool found = false;
};

Block FindBlock(std::string_view script, DataSet set, std::string_view open, std::string_view close,
                std::string_view pvpOpen, std::string_view pvpClose) {
  Block b;
  if (set == DataSet::Arena) {
    const int pvp = FindText(script, pvpOpen);
    const int pvpEnd = FindText(script, pvpClose);
    if (pvp > 0) {
      b.open = FindText(script, open, pvp + Size(pvpOpen));
      b.close = FindText(script, close, pvp + Size(pvpOpen));
    }
    b.found = pvp > 0 && pvpEnd > 0 && b.open > pvp && b.close > b.open && b.close < pvpEnd;
    return b;
  }
  b.open = FindText(script, open);
  b.close = FindText(script, close);
  b.found = b.open > 0 && b.close > b.open;
  if (set == DataSet::Dungeon) {
    // Without an arena block the first block is the dungeon copy; with one,
    // the copy lies wholly before it.
    const int pvp = FindText(script, pvpOpen);
    b.found = b.found && (pvp < 0 || b.close < pvp);
  }
  return b;
}

}  // namespace

std::optional<TextSpan> CutLevelInfoSp(std::string_view script, DataSet set) {
  const Block b = FindBlock(script, set, kSpOpen, kSpClose, kSpPvpOpen, kSpPvpClose);
  if (!b.found) return std::nullopt;
  return TextSpan{b.open, b.close - b.open + Size(kSpClose)};
}

std::optional<TextSpan> CutLevelInfoPt(std::string_view script, DataSet set) {
  if (set == DataSet::Dungeon) {
    // The values line is the line after the open tag's line; no close tag
    // is looked for.
    const int pvp = FindText(script, kPtPvpOpen);
    const int open = FindText(script, kPtOpen);
    if (open < 0) return std::nullopt;
    const TextSpan line = LineAfter(script, open);
    if (pvp >= 0 && line.start + line.length > pvp) return std::nullopt;
    return line;
  }
  const Block b = FindBlock(script, set, kPtOpen, kPtClose, kPtPvpOpen, kPtPvpClose);
  if (!b.found) return std::nullopt;
  return BlockBody(script, b.open + Size(kPtOpen), b.close);
}
