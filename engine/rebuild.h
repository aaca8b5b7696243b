// Writing a bulk modification back into the script text.
//
// Every function here is pure: it takes the script text, where the shown
// copy of a block lies and what the user typed, and returns the new text
// or the reason it refuses. A refusal always comes with the text left as
// it was, so the caller writes nothing. The handlers read the grids and
// the program-wide state, call these, show the refusal's message and put
// the new text into the script box.
//
// What a modification changes: only the values the user asked to change.
// A block is rebuilt from the values as they were read and compared with
// the script at the very place the shown copy was read from; when the
// script holds something else there (blank lines inside a table, a value
// count that is not plain decimal, ...), the modification is refused
// rather than guessed. A modification that changes no value needs no
// block and never refuses for one.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/blocks.h"
#include "engine/script_form.h"

enum class ModifyMode { Add, Assign, Increment, Ratio };

enum class Refusal {
  None,
  NoLevelTable,         // no data set has been loaded
  EmptyBase,            // increment mode: a level-1 base is empty
  NotInteger,           // an input that must be an integer is not one
  NotNumber,            // a multiplier that is not a number
  ForbiddenCharacter,   // an input holds a TAB, CR or LF
  OutOfRange,           // a result outside the signed 32-bit range
  NotFound,             // the block is not where the shown copy was read
  CountMismatch,        // the grid and the block hold different numbers of values
  DecimalValue,         // not 倍率: an input on a value that is a decimal in the range
  DecimalBase,          // 递增: a level-1 base that is a decimal
  MaximumBelowMastery,  // header save: 最大等级 below the highest mastery level
  MasteryAboveMaximum,  // mastery save: a level above the maximum level
  EmptyValue,           // header save: a cell emptied where the script holds a value
};

struct Rebuilt {
  Rebuilt(std::string newText = {}, Refusal why = Refusal::None)
      : text(std::move(newText)), refusal(why) {}

  std::string text;  // the new script; empty when refused
  Refusal refusal = Refusal::None;
  // Where the new script grew or shrank against the old one, in the order
  // the changes were made: a span read from the old script lies at
  // ShiftedSpan(span, shifts) in the new one.
  std::vector<TextShift> shifts;
  bool Accepted() const { return refusal == Refusal::None; }
};

// `script` with `oldText`, which must stand at 1-based `at` (ASCII letter
// case ignored, as the script's tags are compared), replaced by `newText`;
// refused as NotFound when it does not stand there. The one shift is that
// of the replacement.
Rebuilt ReplaceAt(std::string_view script, int at, std::string_view oldText,
                  std::string_view newText);

// ---- Level table -----------------------------------------------------------

// The level table of the shown data set as the level parser read it.
struct LevelTable {
  int valuesPerLevel = 0;
  int levelCount = 0;
  // Level-major, each value as the script holds it: SP the whole line,
  // marker included; PT one TAB-separated token.
  std::vector<std::string> values;
  // Where the shown copy lies in the script: SP the block from its open
  // tag through its close tag, PT its values line.
  TextSpan block;
};

// What the user asked for.
struct LevelChange {
  int low = 1;  // range of levels, both included
  int high = 1;
  std::vector<std::string> inputs;  // column 1 of the level grid, one per value
  std::vector<std::string> bases;   // increment mode: the level-1 base of each value
};

// Checks the typed inputs of `mode` (and in the increment mode the bases
// that a non-empty step uses): integers, in the multiply mode also
// decimal numbers; no TAB, CR or LF. Empty inputs are fine. A base that is
// a decimal (as typed, or SP as shown with its "[@04]") is DecimalBase.
Refusal CheckLevelInputs(ScriptForm form, ModifyMode mode, const LevelChange& change);

// The rebuild of the shown level table. Per value at an in-range level
// whose input is not empty:
//   增加  integer value + input
//   赋值  the input
//   递增  level 1 the base, later levels base + step, the base moving on
//   倍率  value x input, exactly; an integer value keeps its whole part
// A decimal value (SP "[@04]", PT a token holding ".") is changed only by
// 倍率, which writes it as a decimal again: an input of another mode that
// falls on a decimal at an in-range level refuses the whole modification
// (DecimalValue). A value of another kind (strings, links) is never
// changed: an input that falls on one refuses it as NotFound. The integer
// value that 增加 and 倍率 count from is read whole: when it, or the
// result, lies beyond 32 bits the whole modification is refused
// (OutOfRange), as is a base of 递增 beyond them; a value that is not
// touched stays as stored, whatever its size. SP texts then pass the
// level-property float patch. The PT table is written from its count
// token on, the token kept as it stands, and the values must follow it
// (else NotFound).
Rebuilt RebuildLevelInfo(std::string_view script, ScriptForm form, ModifyMode mode,
                         const LevelTable& table, const LevelChange& change);

// The same, one function per form and mode.
Rebuilt RebuildLevelInfoAddSp(std::string_view script, const LevelTable& table,
                              const LevelChange& change);
Rebuilt RebuildLevelInfoAddPt(std::string_view script, const LevelTable& table,
                              const LevelChange& change);
Rebuilt RebuildLevelInfoAssignSp(std::string_view script, const LevelTable& table,
                                 const LevelChange& change);
Rebuilt RebuildLevelInfoAssignPt(std::string_view script, const LevelTable& table,
                                 const LevelChange& change);
Rebuilt RebuildLevelInfoIncrementSp(std::string_view script, const LevelTable& table,
                                    const LevelChange& change);
Rebuilt RebuildLevelInfoIncrementPt(std::string_view script, const LevelTable& table,
                                    const LevelChange& change);
Rebuilt RebuildLevelInfoRatioSp(std::string_view script, const LevelTable& table,
                                const LevelChange& change);
Rebuilt RebuildLevelInfoRatioPt(std::string_view script, const LevelTable& table,
                                const LevelChange& change);

// SP only: inside the level-property section, every whole value
// "[@04]0.00" (followed by a line break or the end of the text) becomes
// "[@04]0.001", unless "[@04]0.001" already stands anywhere from the
// section's start on, so a second run changes nothing. `shifts`, when
// given, receives one shift per byte added.
std::string PatchLevelPropertyFloats(std::string_view text,
                                     std::vector<TextShift>* shifts = nullptr);

// ---- Static data ------------------------------------------------------------

struct StaticChange {
  // The values of the shown block as the static loader kept them: SP one
  // per line without their "[@02]", PT the values line.
  std::string loaded;
  std::vector<std::string> inputs;  // column 1 of the static grid, one per row
};

// Inputs that must be integers (static values, mastery levels): no TAB, CR
// or LF, 32 bits; empty ones are fine.
Refusal CheckIntegerInputs(const std::vector<std::string>& inputs);

// Each non-empty input replaces its value, whatever the mode; a value keeps
// its kind (SP its marker, PT its decimal point). An input on a value that
// is not a number (SP a marker other than "[@02]" and "[@04]", PT a string
// or a link) is refused as NotFound. The block is rebuilt from the loaded
// values and must stand, with both its tags, where the static loader read
// it: `block` starts at its open tag (StaticCut::block). Without any input
// the script comes back as it was: the block and the grid's row count are
// not examined.
Rebuilt RebuildStaticDataSp(std::string_view script, TextSpan block, const StaticChange& change);
Rebuilt RebuildStaticDataPt(std::string_view script, TextSpan block, const StaticChange& change);
