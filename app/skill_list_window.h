// SkillListWindow: lists the skill files of the eleven class folders under
// the `skill` folder beside the program, one combo box per class, by the
// display names of the skill-name table. Its load button runs the load
// driver, which starts one loader thread per class folder and animates a
// busy label until they have ended. Picking and searching are in
// skill_pick.h.
//
// Threads: a loader thread lists and reads the files of its folder and
// posts each (display name, path) pair to the GUI thread, where the combo
// item and the path are appended in one step, so that combo item k and
// path k always name the same file. It never touches a unit or a
// program-wide variable. A stop request is checked between two files;
// loaders are stopped and joined, never killed: by the window's Destroying
// handler and by the exit routine.
#pragma once

#include <array>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>

#include "app/units.h"
#include "framework/form.h"

namespace platform {
class Thread;
}

namespace app {

class SkillNameIndex;

// What the busy label shows, one frame per 100 ms.
inline constexpr std::array<std::string_view, 12> kBusyFrames = {
    ">",       ">>",       ">>>",       " >>>",       "  >>>",      "   >>>",
    "    >>>", "     >>>", "      >>>", "       >>>", "        >>", "         >",
};
inline constexpr int kBusyFrameMs = 100;

// The placeholder that is item 0 of every listed class (UTF-8).
inline constexpr std::string_view kPickPlaceholder = "请选择一个技能";

// One class of the skill list: its combo box and where that lies. The
// folder, path list and loader thread are ClassFolders()[i] (globals.h),
// in the same order.
struct ClassList {
  fw::Ref<fw::Combo> combo;
  bool male;  // on 选择夹男 (true) or 选择夹女
  int tab;    // its page there, from 0
};
const std::array<ClassList, 11>& ClassLists();

// The form; it lives for the whole process.
const fw::WindowDef& SkillListWindowForm();

// Created: docks the window to the left of MainWindow (kept on the screen;
// an editor too near the left edge moves right so that the list stands
// beside it, or on a screen too narrow for both as far right as the
// screen allows), splits the skill-name table
// into g_skillNameTable, marks the window closable and, while the editor
// holds a skill, disables its controls.
void OnSkillListWindowCreated();
// 加载技能按钮: the load driver.
void OnLoadSkillsButtonClicked();
// 关闭按钮, and a close through the window manager: closes the window
// unless a load runs.
void OnSkillListCloseButtonClicked();
// Destroying: asks every loader thread to stop, then joins them.
void OnSkillListWindowDestroying();

// ---- The loader threads -----------------------------------------------

// Steps of the load driver between the folder check and the busy
// animation: empties the eleven lists and path lists, resets both search
// positions and starts a loader for each class folder under `skillFolder`
// that exists and holds an entry (its combo enabled with the placeholder
// as item 0); the combo of any other class is left empty and disabled.
void StartClassLoaders(const std::string& skillFolder);

// Starts the loader of class `classIndex` (0-based, ClassFolders() order)
// over `folder` with the name table `names`; its pairs are appended only
// while `load` is still the current load of the current window instance.
// False when the thread could not be started.
bool StartLoaderThread(int classIndex, std::string folder,
                       std::shared_ptr<const SkillNameIndex> names, int load);
// 1 while the loader still runs, 0 when it has returned or never started.
int GetThreadRunState(const platform::Thread& loader);
// Whether any class's loader still runs, tested in class order.
bool AnyLoaderRunning();

// The body of every loader thread: walks `folder` and posts a pair per
// skill file until it is asked to stop. Runs on the calling thread.
void RunClassLoader(int classIndex, std::string folder, const SkillNameIndex& names, int load,
                    std::stop_token stop);

}  // namespace app
