#include "engine/modify.h"

#include "engine/text.h"
#include "engine/typed_number.h"

namespace {

bool IsIntegerText(std::string_view text) {
  const TypedNumber n = ReadTypedNumber(text);
  return n.kind == TypedKind::Integer && AsInt32(n.value);
}

}  // namespace

LevelRange ReadLevelRange(std::string_view lowText, std::string_view highText, int valuesPerLevel,
                          int levelCount) {
  LevelRange range{TextToInt(lowText), TextToInt(highText), RangeCheck::Fine};
  if (!IsIntegerText(lowText) || !IsIntegerText(highText)) {
    range.check = RangeCheck::NotInteger;
  } else if (range.high < range.low) {
    range.check = RangeCheck::Reversed;
  } else if (valuesPerLevel > 0 && (range.low > levelCount || range.high < 1)) {
    range.check = RangeCheck::OutsideLevels;
  }
  return range;
}

std::string LevelRangeList(int levelCount, int low, int high) {
  std::string list;
  for (int level = 1; level <= levelCount; ++level) {
    if (level >= low && level <= high) list += "[" + IntToText(level) + "]";
  }
  return list;
}

std::optional<std::vector<std::string>> IncrementBases(
    ScriptForm form, int currentLevel, std::vector<std::string> column,
    std::vector<std::string> shownCells, const std::vector<std::string>& levelOneValues) {
  if (currentLevel == 1) return column;
  shownCells.resize(column.size());
  if (column != shownCells) return std::nullopt;
  std::vector<std::string> bases;
  for (const std::string& value : levelOneValues) {
    bases.push_back(form == ScriptForm::Sp ? ReplaceText(value, 1, 1, true, "[@02]", "") : value);
  }
  return bases;
}
