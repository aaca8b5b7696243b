#include "app/globals.h"

#include <utility>

#include "engine/header_fields.h"

namespace app {

std::int32_t g_promptResult = 0;
std::string g_promptLine1;
std::string g_promptLine2;
std::string g_promptLine3;
std::int32_t g_promptButtonMode = 0;
std::string g_scriptFormat;
std::string g_readType;
fw::TextArray g_levelRows;
fw::TextArray g_levelValues;
fw::TextArray g_placeholderMap;
std::string g_scriptText;
std::string g_levelInfoText;
std::int32_t g_levelInfoStart = 0;
std::int32_t g_levelInfoLength = 0;
std::string g_staticDataText;
std::int32_t g_staticDataStart = 0;
std::int32_t g_staticDataLength = 0;
std::int32_t g_valuesPerLevel = 0;
std::int32_t g_levelCount = 0;
bool g_hasStaticData = false;
bool g_staticDataSplit = false;
bool g_staticDataShown = false;
bool g_hasLevelData = false;
bool g_reportMissingData = false;
std::int32_t g_currentLevel = 0;
bool g_hasSecondGrowtype = false;
fw::TextArray g_masteryValues;
std::int32_t g_masteryStart = 0;
std::int32_t g_masteryLength = 0;
std::string g_modifyMode;
std::string g_hdrRequiredLevelRange;
std::string g_hdrMaximumLevel;
std::string g_hdrPurchaseCost;
std::string g_hdrStartCoolTime1;
std::string g_hdrStartCoolTime2;
std::string g_hdrCoolTime1;
std::string g_hdrCoolTime2;
std::string g_hdrPvpCoolTime1;
std::string g_hdrPvpCoolTime2;
std::string g_hdrCastingTime1;
std::string g_hdrCastingTime2;
std::string g_hdrPvpCastingTime1;
std::string g_hdrPvpCastingTime2;
std::string g_hdrRequiredLevel;
std::string g_hdrConsumeMp1;
std::string g_hdrConsumeMp2;
std::string g_hdrConsumeItem;
std::string g_hdrConsumeItemCount1;
std::string g_hdrConsumeItemCount2;
HeaderSpans g_hdrSpans;
bool g_classChoicePending = false;
std::string g_droppedFilePath;
std::string g_scriptFilePath;
std::int32_t g_levelRangeLow = 0;
std::int32_t g_levelRangeHigh = 0;
std::string g_levelRangeList;
std::int32_t g_promptAnimWidth = 0;
fw::TextArray g_creatormagePaths;
fw::TextArray g_gunnerPaths;
std::int32_t g_maleSearchResume = 0;
fw::TextArray g_priestPaths;
fw::TextArray g_atmagePaths;
platform::Thread g_atfighterLoaderThread;
platform::Thread g_atgunnerLoaderThread;
platform::Thread g_atmageLoaderThread;
platform::Thread g_creatormageLoaderThread;
platform::Thread g_demonicswordmanLoaderThread;
platform::Thread g_fighterLoaderThread;
platform::Thread g_gunnerLoaderThread;
platform::Thread g_mageLoaderThread;
platform::Thread g_priestLoaderThread;
platform::Thread g_swordmanLoaderThread;
platform::Thread g_thiefLoaderThread;
std::int32_t g_femaleSearchResume = 0;
bool g_skillListReady = false;
fw::TextArray g_atfighterPaths;
fw::TextArray g_skillNameTable;
fw::TextArray g_atgunnerPaths;
fw::TextArray g_demonicswordmanPaths;
fw::TextArray g_fighterPaths;
fw::TextArray g_magePaths;
fw::TextArray g_swordmanPaths;
fw::TextArray g_thiefPaths;
std::unique_ptr<skin::PngSkin> g_backdropSkin;

const std::array<ClassFolder, kClassFolderCount>& ClassFolders() {
  static const std::array<ClassFolder, kClassFolderCount> folders{{
      {"atfighter", &g_atfighterPaths, &g_atfighterLoaderThread},
      {"atgunner", &g_atgunnerPaths, &g_atgunnerLoaderThread},
      {"atmage", &g_atmagePaths, &g_atmageLoaderThread},
      {"creatormage", &g_creatormagePaths, &g_creatormageLoaderThread},
      {"demonicswordman", &g_demonicswordmanPaths, &g_demonicswordmanLoaderThread},
      {"fighter", &g_fighterPaths, &g_fighterLoaderThread},
      {"gunner", &g_gunnerPaths, &g_gunnerLoaderThread},
      {"mage", &g_magePaths, &g_mageLoaderThread},
      {"priest", &g_priestPaths, &g_priestLoaderThread},
      {"swordman", &g_swordmanPaths, &g_swordmanLoaderThread},
      {"thief", &g_thiefPaths, &g_thiefLoaderThread},
  }};
  return folders;
}

void StopLoaderThreads() {
  // Every stop request goes out before the first join, so the loaders wind
  // down side by side instead of one after the other.
  for (const ClassFolder& c : ClassFolders()) c.loader->RequestStop();
  for (const ClassFolder& c : ClassFolders()) c.loader->Join();
}

namespace {

// Releases a text's storage, not only its contents.
void Release(std::string& text) {
  std::string().swap(text);
}

// Releases the elements, then the array itself.
void Release(fw::TextArray& array) {
  array = fw::TextArray();
}

}  // namespace

void InitProgramGlobals() {
  StopLoaderThreads();

  // The text arrays, each a fresh empty array.
  for (fw::TextArray* array :
       {&g_levelRows, &g_levelValues, &g_placeholderMap, &g_masteryValues, &g_creatormagePaths,
        &g_gunnerPaths, &g_priestPaths, &g_atmagePaths, &g_atfighterPaths, &g_skillNameTable,
        &g_atgunnerPaths, &g_demonicswordmanPaths, &g_fighterPaths, &g_magePaths, &g_swordmanPaths,
        &g_thiefPaths}) {
    *array = fw::TextArray();
  }

  // Every other variable at its zero start value, so that a second start in
  // the same process (the tests start the program many times) begins where
  // the first did.
  for (std::string* text :
       {&g_promptLine1,           &g_promptLine2,        &g_promptLine3,
        &g_scriptFormat,          &g_readType,           &g_scriptText,
        &g_levelInfoText,         &g_staticDataText,     &g_modifyMode,
        &g_hdrRequiredLevelRange, &g_hdrMaximumLevel,    &g_hdrPurchaseCost,
        &g_hdrStartCoolTime1,     &g_hdrStartCoolTime2,  &g_hdrCoolTime1,
        &g_hdrCoolTime2,          &g_hdrPvpCoolTime1,    &g_hdrPvpCoolTime2,
        &g_hdrCastingTime1,       &g_hdrCastingTime2,    &g_hdrPvpCastingTime1,
        &g_hdrPvpCastingTime2,    &g_hdrRequiredLevel,   &g_hdrConsumeMp1,
        &g_hdrConsumeMp2,         &g_hdrConsumeItem,     &g_hdrConsumeItemCount1,
        &g_hdrConsumeItemCount2,  &g_frameDimensionTime, &g_droppedFilePath,
        &g_scriptFilePath,        &g_levelRangeList}) {
    text->clear();
  }
  for (std::int32_t* number :
       {&g_promptResult, &g_promptButtonMode, &g_levelInfoStart, &g_levelInfoLength,
        &g_staticDataStart, &g_staticDataLength, &g_masteryStart, &g_masteryLength,
        &g_valuesPerLevel, &g_levelCount, &g_currentLevel, &g_gdiplusToken, &g_levelRangeLow,
        &g_levelRangeHigh, &g_promptAnimWidth, &g_maleSearchResume, &g_femaleSearchResume,
        &g_skinCaretWindow, &g_skinFocusedEdit}) {
    *number = 0;
  }
  for (bool* flag : {&g_hasStaticData, &g_staticDataSplit, &g_staticDataShown, &g_hasLevelData,
                     &g_reportMissingData, &g_hasSecondGrowtype, &g_classChoicePending,
                     &g_skillListReady, &g_skinCaretVisible}) {
    *flag = false;
  }
  g_hdrSpans = {};
  // The module's kept frame and the handles of an earlier run go.
  skin::ResetSkinState();
  g_backdropSkin = std::make_unique<skin::PngSkin>();
}

void FreeProgramGlobals() {
  // A loader may still be reading the name table or have appends of path
  // entries on their way; none of that may outlive what it uses.
  StopLoaderThreads();

  Release(g_promptLine1);
  Release(g_promptLine2);
  Release(g_promptLine3);
  Release(g_scriptFormat);
  Release(g_readType);
  Release(g_levelRows);
  Release(g_levelValues);
  Release(g_placeholderMap);
  Release(g_scriptText);
  Release(g_levelInfoText);
  Release(g_staticDataText);
  Release(g_masteryValues);
  Release(g_modifyMode);
  Release(g_hdrRequiredLevelRange);
  Release(g_hdrMaximumLevel);
  Release(g_hdrPurchaseCost);
  Release(g_hdrStartCoolTime1);
  Release(g_hdrStartCoolTime2);
  Release(g_hdrCoolTime1);
  Release(g_hdrCoolTime2);
  Release(g_hdrPvpCoolTime1);
  Release(g_hdrPvpCoolTime2);
  Release(g_hdrCastingTime1);
  Release(g_hdrCastingTime2);
  Release(g_hdrPvpCastingTime1);
  Release(g_hdrPvpCastingTime2);
  Release(g_hdrRequiredLevel);
  Release(g_hdrConsumeMp1);
  Release(g_hdrConsumeMp2);
  Release(g_hdrConsumeItem);
  Release(g_hdrConsumeItemCount1);
  Release(g_hdrConsumeItemCount2);
  Release(g_frameDimensionTime);
  Release(g_droppedFilePath);
  Release(g_scriptFilePath);
  Release(g_levelRangeList);
  Release(g_creatormagePaths);
  Release(g_gunnerPaths);
  Release(g_priestPaths);
  Release(g_atmagePaths);
  Release(g_atfighterPaths);
  Release(g_skillNameTable);
  Release(g_atgunnerPaths);
  Release(g_demonicswordmanPaths);
  Release(g_fighterPaths);
  Release(g_magePaths);
  Release(g_swordmanPaths);
  Release(g_thiefPaths);
  // Last, the decoration window's skin; the window it was attached to is
  // left as it is.
  g_backdropSkin.reset();
}

}  // namespace app
