// The program-wide state that every window, handler and engine routine
// shares. Each variable is a single instance that lives from start to exit.
// app/globals.def names each once, with its type and its start value; the
// declarations below, the definitions, the reset, the release and the
// fresh-state test all follow from that list.
//
// Kinds: texts are GBK bytes (empty means no text); integers are 32-bit
// signed; flags are logical values; text arrays are 1-based and growable
// (an index outside 1..Size() is the framework's fatal error, so callers
// test Size() first); spans say where a block was read in the script
// (engine/blocks.h); choices are one of the engine's script forms, data
// sets or modes, or none; loader threads are the class-folder workers.
//
// Start values: every text empty, every integer 0, every flag false, every
// text array a fresh empty one, every span empty, every choice none, the
// decoration window's skin made anew. InitProgramGlobals gives them at
// every program start; FreeProgramGlobals is the exit routine that
// releases them.
//
// Threads: the variables are for the GUI thread. A loader thread only reads
// g_skillNameTable, which is complete before any loader starts; what it
// finds it posts to the GUI thread, which appends to the path arrays.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "framework/text_array.h"
#include "platform/thread.h"
#include "skin/module.h"
#include "skin/png_skin.h"

struct HeaderSpans;
enum class HeaderSlot : int;
enum class ScriptForm;  // engine/script_form.h
enum class DataSet;     // engine/level_info.h
enum class ModifyMode;  // engine/rebuild.h

namespace app {

// Every variable, with its type and start value, is a row of
// app/globals.def, which declares it here.
#define APP_VARIABLE(type, name, start) extern type name;
#define APP_SKIN_VARIABLE(type, name, start) using skin::name;
#define APP_LOADER_THREAD(name) extern platform::Thread name;
#define APP_OBJECT(type, name, start) extern type name;
#include "app/globals.def"

// The program-wide text that keeps the value of a header slot
// (g_hdrRequiredLevel ... g_hdrConsumeItemCount2).
std::string& HeaderSlotText(HeaderSlot slot);

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
// releases every text and text array, and last destroys the decoration
// window's skin. Nothing is released while a loader may still use it.
void FreeProgramGlobals();

// Asks every loader thread to stop, then waits until each has returned.
// Loaders never wait for the GUI thread, so this always ends.
void StopLoaderThreads();

}  // namespace app
