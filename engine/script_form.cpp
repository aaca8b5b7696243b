#include "engine/script_form.h"

#include <optional>

#include "engine/text.h"

std::string DetectScriptFormat(std::string_view script) {
  // Only these two marks decide; the section tags play no part.
  const bool hasIntegerMarker = FindText(script, "[@02]") != -1;
  const bool hasTab = FindText(script, "\t") != -1;
  if (hasIntegerMarker && !hasTab) return "SP";
  if (hasTab && !hasIntegerMarker) return "PT";
  return {};
}

std::vector<std::string> SplitPtValues(std::string_view valuesLine) {
  return SplitText(ReplaceAll(valuesLine, "\t", "|"), "|");
}

std::string StripSpMarker(std::string_view text, std::string_view marker) {
  return ReplaceText(text, std::nullopt, 1, false, marker, "");
}
