// The two text forms of a skill script.
//
// "SP": one token per line, "[@05]" before every section tag, "[@02]" before
// integers, "[@04]" before decimals, "[@0A]" before string links.
// "PT": plain section tags, the values of a section on the following line,
// each followed by a TAB.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The form of a script, which picks the member of every pair of readers
// and writers (the ...Sp and ...Pt functions).
enum class ScriptForm { Sp, Pt };

// Sp when the text holds "[@02]" and no TAB, Pt when it holds a TAB and no
// "[@02]", otherwise none (the form is not supported).
std::optional<ScriptForm> DetectScriptFormat(std::string_view script);

// The values of a PT values line: the line is split at every TAB and every
// "|" (one that is no trail byte); empty inner values are kept, the
// separator after the last value adds no empty part.
std::vector<std::string> SplitPtValues(std::string_view valuesLine);

// An SP value body with every `marker` ("[@02]", "[@04]" or "[@0A]") removed,
// letter case ignored.
std::string StripSpMarker(std::string_view text, std::string_view marker);
