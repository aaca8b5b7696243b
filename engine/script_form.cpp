#include "engine/script_form.h"

#include "engine/text.h"

std::optional<ScriptForm> DetectScriptFormat(std::string_view script) {
  // Only these two marks decide; the section tags play no part.
  const bool hasIntegerMarker = FindText(script, "[@02]") != -1;
  const bool hasTab = FindText(script, "\t") != -1;
  if (hasIntegerMarker && !hasTab) return ScriptForm::Sp;
  if (hasTab && !hasIntegerMarker) return ScriptForm::Pt;
  return std::nullopt;
}

std::vector<std::string> SplitPtValues(std::string_view valuesLine) {
  // As if every TAB became "|" and the line were split at "|"; but a TAB
  // separates even after a lead byte, where a "|" would be its trail.
  return SplitTextAtAny(valuesLine, "\t|");
}

std::string StripSpMarker(std::string_view text, std::string_view marker) {
  return ReplaceText(text, std::nullopt, 1, false, marker, "");
}
