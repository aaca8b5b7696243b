// The program-wide state that every window, handler and engine routine
// shares. Each variable is a single instance that lives from start to exit.
//
// Kinds: texts are GBK bytes (empty means no text); integers are 32-bit
// signed; flags are logical values; text arrays are 1-based and growable
// (an index outside 1..Size() is the framework's fatal error, so callers
// test Size() first); loader threads are the class-folder workers.
//
// Start values: every text empty, every integer 0, every flag false, every
// text array empty. InitProgramGlobals sets them at program start;
// FreeProgramGlobals is the exit routine that releases them.
//
// Threads: the variables are for the GUI thread. A loader thread only reads
// g_skillNameTable, which is complete before any loader starts; what it
// finds it posts to the GUI thread, which appends to the path arrays.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "framework/text_array.h"
#include "platform/thread.h"
#include "skin/module.h"
#include "skin/png_skin.h"

struct HeaderSpans;

namespace app {

// The prompt box.
extern std::int32_t g_promptResult;  // 1 OK, 0 Cancel
extern std::string g_promptLine1;
extern std::string g_promptLine2;
extern std::string g_promptLine3;
extern std::int32_t g_promptButtonMode;  // 1 one button, 2 OK and Cancel

// The skill model.
extern std::string g_scriptFormat;      // "SP" or "PT"
extern std::string g_readType;          // "地下城", "决斗场" or "通用"
extern fw::TextArray g_levelRows;       // per level: its values joined by CR LF
extern fw::TextArray g_levelValues;     // every level value, level-major
extern fw::TextArray g_placeholderMap;  // "kind|row|line" per rendered placeholder
extern std::string g_scriptText;
extern std::string g_levelInfoText;
// Where g_levelInfoText lies in g_scriptText: its 1-based start and its
// length in bytes (SP: the block with both tags; PT: the values line), so
// that a writer changes that copy and no other, also when another copy
// holds the same text. Both 0 while no block is cut.
extern std::int32_t g_levelInfoStart;
extern std::int32_t g_levelInfoLength;
extern std::string g_staticDataText;
// Where g_staticDataText was read in g_scriptText: the shown static block
// from its open tag (engine/static_data.h), so that the static rebuild
// writes there. Both 0 while no block is cut.
extern std::int32_t g_staticDataStart;
extern std::int32_t g_staticDataLength;
extern std::int32_t g_valuesPerLevel;  // 0: no level data loaded
extern std::int32_t g_levelCount;
extern bool g_hasStaticData;
extern bool g_staticDataSplit;
extern bool g_staticDataShown;
extern bool g_hasLevelData;
extern bool g_reportMissingData;     // the read was started by the user
extern std::int32_t g_currentLevel;  // 1-based
extern bool g_hasSecondGrowtype;
extern fw::TextArray g_masteryValues;
// Where the mastery section was read in 编辑框1, from its tag through its
// values, so that the mastery writer writes there. Both 0 while no section
// was read.
extern std::int32_t g_masteryStart;
extern std::int32_t g_masteryLength;
extern std::string g_modifyMode;  // "增加", "赋值", "递增" or "倍率"

// Header fields of the skill script, in parameter-grid terms.
extern std::string g_hdrRequiredLevelRange;
extern std::string g_hdrMaximumLevel;
extern std::string g_hdrPurchaseCost;
extern std::string g_hdrStartCoolTime1;
extern std::string g_hdrStartCoolTime2;
extern std::string g_hdrCoolTime1;
extern std::string g_hdrCoolTime2;
extern std::string g_hdrPvpCoolTime1;
extern std::string g_hdrPvpCoolTime2;
extern std::string g_hdrCastingTime1;
extern std::string g_hdrCastingTime2;
extern std::string g_hdrPvpCastingTime1;
extern std::string g_hdrPvpCastingTime2;
extern std::string g_hdrRequiredLevel;
extern std::string g_hdrConsumeMp1;
extern std::string g_hdrConsumeMp2;
extern std::string g_hdrConsumeItem;
extern std::string g_hdrConsumeItemCount1;
extern std::string g_hdrConsumeItemCount2;
// Where each header field (and its arena copy) was read in 编辑框1, so
// that the header writer writes there (engine/header_fields.h).
extern HeaderSpans g_hdrSpans;

extern bool g_classChoicePending;  // the class combo was offered
// The skinned-window module's start-up token and frame-time identifier (16
// bytes); the module owns them (skin/module.h).
using skin::g_frameDimensionTime;
using skin::g_gdiplusToken;
extern std::string g_droppedFilePath;
// The file that 路径编辑框 shows, as the system names it (not GBK:
// platform/files.h), put there with the path by a pick or an accepted drop.
// A save writes to it while the box still shows it. Empty while the box
// shows no file of a pick or a drop.
extern std::string g_scriptFilePath;
extern std::int32_t g_levelRangeLow;
extern std::int32_t g_levelRangeHigh;
extern std::string g_levelRangeList;  // "[L]" for every level L of the range
extern std::int32_t g_promptAnimWidth;

// The skill list: one path array per class folder (element k names the
// file of combo item k, as the system names it), one loader thread per
// class folder, the search positions and the closing guard.
extern fw::TextArray g_creatormagePaths;
extern fw::TextArray g_gunnerPaths;
extern std::int32_t g_maleSearchResume;
extern fw::TextArray g_priestPaths;
extern fw::TextArray g_atmagePaths;
extern platform::Thread g_atfighterLoaderThread;
extern platform::Thread g_atgunnerLoaderThread;
extern platform::Thread g_atmageLoaderThread;
extern platform::Thread g_creatormageLoaderThread;
extern platform::Thread g_demonicswordmanLoaderThread;
extern platform::Thread g_fighterLoaderThread;
extern platform::Thread g_gunnerLoaderThread;
extern platform::Thread g_mageLoaderThread;
extern platform::Thread g_priestLoaderThread;
extern platform::Thread g_swordmanLoaderThread;
extern platform::Thread g_thiefLoaderThread;
extern std::int32_t g_femaleSearchResume;
extern bool g_skillListReady;  // the skill-list window may close
extern fw::TextArray g_atfighterPaths;
extern fw::TextArray g_skillNameTable;  // the lines of the embedded name table
extern fw::TextArray g_atgunnerPaths;
extern fw::TextArray g_demonicswordmanPaths;
extern fw::TextArray g_fighterPaths;
extern fw::TextArray g_magePaths;
extern fw::TextArray g_swordmanPaths;
extern fw::TextArray g_thiefPaths;

// The skinned-window module's caret state (skin/module.h).
using skin::g_skinCaretVisible;
using skin::g_skinCaretWindow;
using skin::g_skinFocusedEdit;
using skin::g_skinFrameImage;

// The skin of the prompt box's decoration window: one object for the whole
// run, created without a window by InitProgramGlobals, attached to each new
// decoration window, destroyed last by the exit routine.
extern std::unique_ptr<skin::PngSkin> g_backdropSkin;

// The eleven class folders in their fixed order, each with its path array
// and loader thread.
inline constexpr int kClassFolderCount = 11;
struct ClassFolder {
  const char* folder;  // name of the folder under skill/
  fw::TextArray* paths;
  platform::Thread* loader;
};
const std::array<ClassFolder, kClassFolderCount>& ClassFolders();

// Gives every variable its start value. Loader threads still running from
// an earlier run are stopped and joined first.
void InitProgramGlobals();

// The exit routine: asks every loader thread to stop and joins them, then
// releases every text and text array. Nothing is released while a loader
// may still use it.
void FreeProgramGlobals();

// Asks every loader thread to stop, then waits until each has returned.
// Loaders never wait for the GUI thread, so this always ends.
void StopLoaderThreads();

}  // namespace app
