// What the user is told when a writer refuses (GBK, for the prompt box).
#pragma once

#include <string>

#include "engine/modify.h"
#include "engine/rebuild.h"

// A refusal of the bulk modification while `mode` is chosen: the mode's
// own message for an input it does not take.
std::string LevelRefusalMessage(Refusal refusal, ModifyMode mode, ScriptForm form);
// A refusal of the static rebuild of a script without level data.
std::string StaticRefusalMessage(Refusal refusal);
// The refusals every writer shares: a forbidden character, a result out of
// range, a block or section not found, a count that does not match.
std::string CommonRefusalMessage(Refusal refusal);
// A level range that is not one to modify (empty for RangeCheck::Fine).
std::string LevelRangeMessage(RangeCheck check);

// What a refused save of a side window tells: the second and third line of
// its prompt.
struct RefusalLines {
  std::string message;
  std::string note;
};
RefusalLines HeaderRefusalLines(Refusal refusal);
RefusalLines MasteryRefusalLines(Refusal refusal);
