#include "app/globals.h"

#include <cstdlib>

#include "engine/header_fields.h"

namespace app {

#define APP_VARIABLE(type, name, start) type name = start;
#define APP_LOADER_THREAD(name) platform::Thread name;
#define APP_OBJECT(type, name, start) type name;
#include "app/globals.def"

std::string& HeaderSlotText(HeaderSlot slot) {
  // One case per header row of the table; a slot without its text is a
  // warning of the switch, a slot with two a duplicate case.
  switch (slot) {
#define APP_HEADER_TEXT(name, headerSlot) \
  case HeaderSlot::headerSlot:            \
    return name;
#include "app/globals.def"
  }
  std::abort();  // no such slot
}

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
#define APP_LOADER_THREAD(name) name.RequestStop();
#include "app/globals.def"
#define APP_LOADER_THREAD(name) name.Join();
#include "app/globals.def"
}

namespace {

// What the exit routine gives back, by the type of the variable. A type
// without its overload here stops the build, so that no new kind of
// variable is left out of the release unnoticed.

// A text: its storage, not only its contents.
void Release(std::string& text) {
  std::string().swap(text);
}

// A text array: its elements, then the array itself.
void Release(fw::TextArray& array) {
  array = fw::TextArray();
}

// Numbers, flags, spans, choices and handles own nothing. The
// skinned-window module's kept frame is its own and goes with its reset.
void Release(std::int32_t&) {}
void Release(bool&) {}
void Release(HeaderSpans&) {}
void Release(std::optional<ScriptForm>&) {}
void Release(std::optional<DataSet>&) {}
void Release(std::optional<ModifyMode>&) {}
void Release(skin::gdip::Image*&) {}

}  // namespace

void InitProgramGlobals() {
  StopLoaderThreads();

  // Every variable of the program at its start value, the text arrays each
  // a fresh empty array, so that a second start in the same process (the
  // tests start the program many times) begins where the first did.
#define APP_VARIABLE(type, name, start) name = start;
#include "app/globals.def"
  // The module's own, its kept frame and the handles of an earlier run go.
  skin::ResetSkinState();
#define APP_OBJECT(type, name, start) name = start;
#include "app/globals.def"
}

void FreeProgramGlobals() {
  // A loader may still be reading the name table or have appends of path
  // entries on their way; none of that may outlive what it uses.
  StopLoaderThreads();

#define APP_VARIABLE(type, name, start) Release(name);
#define APP_SKIN_VARIABLE(type, name, start) Release(name);
#include "app/globals.def"
  // Last, the decoration window's skin; the window it was attached to is
  // left as it is.
#define APP_OBJECT(type, name, start) name.reset();
#include "app/globals.def"
}

}  // namespace app
