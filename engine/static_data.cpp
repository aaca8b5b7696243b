#include "engine/static_data.h"

#include <utility>

#include "engine/blocks.h"
#include "engine/script_form.h"
#include "engine/text.h"

namespace {

constexpr std::string_view kSpOpen = "[@05][static data]";
constexpr std::string_view kSpClose = "[@05][/static data]";
constexpr std::string_view kSpPvpOpen = "[@05][pvp]";
constexpr std::string_view kSpPvpClose = "[@05][/pvp]";
constexpr std::string_view kPtOpen = "[static data]";
constexpr std::string_view kPtClose = "[/static data]";
constexpr std::string_view kPtPvpOpen = "[pvp]";
constexpr std::string_view kPtPvpClose = "[/pvp]";

// Where a block's open and close tags were found (1-based, -1 absent).
struct Tags {
  int open = -1;
  int close = -1;
};

int Size(std::string_view tag) {
  return static_cast<int>(tag.size());
}

bool Found(const Tags& t) {
  return t.open > 0 && t.close > 0 && t.open < t.close;
}

// The first block of the script.
Tags FirstBlock(std::string_view script, std::string_view open, std::string_view close) {
  return {FindText(script, open), FindText(script, close)};
}

// The first block after the arena's open tag, when it also closes before
// the arena's close tag; a script without either arena tag has none.
Tags ArenaBlock(std::string_view script, std::string_view pvpOpen, std::string_view pvpClose,
                std::string_view open, std::string_view close) {
  const int p = FindText(script, pvpOpen);
  const int q = FindText(script, pvpClose);
  if (p < 0 || q < 0) return {};
  const Tags t{FindText(script, open, p + Size(pvpOpen)),
               FindText(script, close, p + Size(pvpOpen))};
  if (!Found(t) || t.open <= p || t.close >= q) return {};
  return t;
}

// The block from the open tag at `open` up to (not including) byte `end`.
TextSpan From(int open, int end) {
  return {open, end - open};
}

// PT: the values line as the script holds it; the rows come from a copy
// with the TABs turned into separators.
StaticCut PtCut(std::string line, TextSpan block) {
  StaticCut cut;
  if (line.empty()) return cut;
  cut.found = true;
  cut.text = std::move(line);
  cut.rows = SplitPtValues(cut.text);
  cut.block = block;
  return cut;
}

}  // namespace

StaticCut CutStaticDataSp(std::string_view script, StaticCopy copy) {
  const Tags tags = copy == StaticCopy::Arena
                        ? ArenaBlock(script, kSpPvpOpen, kSpPvpClose, kSpOpen, kSpClose)
                        : FirstBlock(script, kSpOpen, kSpClose);
  StaticCut cut;
  if (!Found(tags)) return cut;
  const int begin = tags.open + Size(kSpOpen);
  std::string text = MidText(script, begin, tags.close - begin);
  text = TrimBlankLines(text);
  if (text.empty()) return cut;
  text = StripSpMarker(text, "[@02]");
  text = TrimBlankLines(text);
  const int count = CountLines(text);
  std::vector<std::string> lines = SplitLines(text);
  cut.rows.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    cut.rows.push_back(i < static_cast<int>(lines.size()) ? std::move(lines[i]) : std::string());
  }
  cut.found = true;
  cut.text = std::move(text);
  cut.block = From(tags.open, tags.close + Size(kSpClose));
  return cut;
}

StaticCut CutStaticDataPt(std::string_view script, StaticCopy copy) {
  if (copy == StaticCopy::Arena) {
    const Tags tags = ArenaBlock(script, kPtPvpOpen, kPtPvpClose, kPtOpen, kPtClose);
    if (!Found(tags)) return {};
    std::string body = SpanText(script, BlockBody(script, tags.open + Size(kPtOpen), tags.close));
    return PtCut(TrimBlankLines(body), From(tags.open, tags.close + Size(kPtClose)));
  }
  // A block whose close tag directly follows the open tag holds no values.
  const int open = FindText(script, kPtOpen);
  if (open < 0) return {};
  const TextSpan values = LineAfter(script, open);
  std::string line = SpanText(script, values);
  if (FindText(line, kPtClose, 1, true) > 0) return {};
  return PtCut(std::move(line), From(open, values.start + values.length));
}
