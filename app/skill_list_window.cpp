#include "app/skill_list_window.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "app/delay.h"
#include "app/editor_state.h"
#include "app/globals.h"
#include "app/look.h"
#include "app/pictures.h"
#include "app/prompt.h"
#include "app/skill_files.h"
#include "app/skill_pick.h"
#include "engine/text.h"
#include "framework/runtime.h"
#include "platform/files.h"
#include "platform/gbk.h"
#include "platform/thread.h"
#include "resources/embedded.h"

namespace app {

namespace {

using platform::Gbk;
namespace list = skill_list_window;

// The name table of the current window instance, shared with its loaders.
std::shared_ptr<const SkillNameIndex> g_nameIndex;
// The latest load; pairs that a loader of an earlier load posted are not
// appended.
int g_load = 0;

// Appends one listed skill, on the GUI thread: the combo item and its path
// together, so that item k and path k always name the same file.
void AppendListedSkill(int classIndex, int load, const std::string& name, std::string path) {
  if (load != g_load) return;
  const auto i = static_cast<std::size_t>(classIndex);
  ClassLists()[i].combo->AddItem(name);
  ClassFolders()[i].paths->Append(std::move(path));
}

fw::WindowDef BuildSkillListWindowForm() {
  using fw::Event;
  return fw::WindowDef("SkillListWindow", "技能列表", 333, 294)
      .Centred()
      .Draggable()
      .UserMayClose()
      .Units({
          // Caption bar and borders, drawn by the window itself.
          CaptionTitle("标签1", {0, 0, 408, 24}, " 技能列表"),
          BorderStrip("标签2", {0, 0, 3, 369}),
          BorderStrip("标签3", {330, 8, 3, 369}),
          BorderStrip("标签4", {-15, 291, 370, 3}),
          fw::PictureButtonUnit("关闭按钮", {302, 0, 24, 24}, CloseButtonImages()),

          fw::ButtonUnit("加载技能按钮", {14, 27, 83, 24}, "加载技能"),
          fw::LabelUnit("标签5", {105, 30, 82, 16}).Hidden(),

          fw::GroupBoxUnit("分组框1", {8, 56, 320, 112}),
          fw::LabelUnit("标签6", {8, -2, 50, 20}, "♂♂♂").In("分组框1"),
          fw::TabsUnit("选择夹男", {8, 18, 304, 56},
                       {"鬼剑士", "黑武士", "男格斗", "男枪手", "男法师", "圣职者"})
              .In("分组框1"),
          fw::ComboBox("鬼剑士组合框", {13, 27, 278, 24}).OnPage("选择夹男", 0).Disabled(),
          fw::ComboBox("黑武士组合框", {13, 27, 278, 24}).OnPage("选择夹男", 1).Disabled(),
          fw::ComboBox("男格斗组合框", {13, 27, 278, 24}).OnPage("选择夹男", 2).Disabled(),
          fw::ComboBox("男枪手组合框", {13, 27, 278, 24}).OnPage("选择夹男", 3).Disabled(),
          fw::ComboBox("男法师组合框", {13, 27, 278, 24}).OnPage("选择夹男", 4).Disabled(),
          fw::ComboBox("圣职者组合框", {13, 27, 278, 24}).OnPage("选择夹男", 5).Disabled(),
          fw::LabelUnit("标签7", {8, 81, 48, 24}, "技能名").In("分组框1"),
          fw::EditBox("搜索框男", {64, 80, 190, 26}).In("分组框1"),
          fw::ButtonUnit("搜索按钮男", {264, 80, 48, 24}, "搜索").In("分组框1"),

          fw::GroupBoxUnit("分组框2", {8, 175, 320, 112}),
          fw::LabelUnit("标签8", {8, -2, 50, 20}, "♀♀♀").In("分组框2"),
          fw::TabsUnit("选择夹女", {8, 18, 304, 56},
                       {"女法师", "女格斗", "女枪手", "暗夜使", "缔造者"})
              .In("分组框2"),
          fw::ComboBox("女法师组合框", {13, 27, 278, 24}).OnPage("选择夹女", 0).Disabled(),
          fw::ComboBox("女格斗组合框", {13, 27, 278, 24}).OnPage("选择夹女", 1).Disabled(),
          fw::ComboBox("女枪手组合框", {13, 27, 278, 24}).OnPage("选择夹女", 2).Disabled(),
          fw::ComboBox("暗夜使组合框", {13, 27, 278, 24}).OnPage("选择夹女", 3).Disabled(),
          fw::ComboBox("缔造者组合框", {13, 27, 278, 24}).OnPage("选择夹女", 4).Disabled(),
          fw::LabelUnit("标签9", {8, 81, 48, 24}, "技能名").In("分组框2"),
          fw::EditBox("搜索框女", {64, 80, 190, 26}).In("分组框2"),
          fw::ButtonUnit("搜索按钮女", {264, 80, 48, 24}, "搜索").In("分组框2"),
      })
      .Bind({
          {"", Event::Created, &OnSkillListWindowCreated},
          {"", Event::Destroying, &OnSkillListWindowDestroying},
          {"", Event::CloseRequested, &OnSkillListCloseButtonClicked},
          {"关闭按钮", Event::Clicked, &OnSkillListCloseButtonClicked},
          {"加载技能按钮", Event::Clicked, &OnLoadSkillsButtonClicked},
          {"鬼剑士组合框", Event::SelectionChanged, &OnSwordmanComboSelectionChanged},
          {"黑武士组合框", Event::SelectionChanged, &OnDemonicswordmanComboSelectionChanged},
          {"男格斗组合框", Event::SelectionChanged, &OnAtfighterComboSelectionChanged},
          {"男枪手组合框", Event::SelectionChanged, &OnGunnerComboSelectionChanged},
          {"男法师组合框", Event::SelectionChanged, &OnAtmageComboSelectionChanged},
          {"圣职者组合框", Event::SelectionChanged, &OnPriestComboSelectionChanged},
          {"女法师组合框", Event::SelectionChanged, &OnMageComboSelectionChanged},
          {"女格斗组合框", Event::SelectionChanged, &OnFighterComboSelectionChanged},
          {"女枪手组合框", Event::SelectionChanged, &OnAtgunnerComboSelectionChanged},
          {"暗夜使组合框", Event::SelectionChanged, &OnThiefComboSelectionChanged},
          {"缔造者组合框", Event::SelectionChanged, &OnCreatormageComboSelectionChanged},
          {"选择夹男", Event::TabChanged, &OnMaleTabsTabChanged},
          {"搜索框男", Event::TextChanged, &OnMaleSearchEditTextChanged},
          {"搜索按钮男", Event::Clicked, &OnMaleSearchButtonClicked},
          {"选择夹女", Event::TabChanged, &OnFemaleTabsTabChanged},
          {"搜索框女", Event::TextChanged, &OnFemaleSearchEditTextChanged},
          {"搜索按钮女", Event::Clicked, &OnFemaleSearchButtonClicked},
      });
}

}  // namespace

const std::array<ClassList, 11>& ClassLists() {
  static const std::array<ClassList, 11> lists{{
      {list::男格斗组合框, true, 2},   // atfighter
      {list::女枪手组合框, false, 2},  // atgunner
      {list::男法师组合框, true, 4},   // atmage
      {list::缔造者组合框, false, 4},  // creatormage
      {list::黑武士组合框, true, 1},   // demonicswordman
      {list::女格斗组合框, false, 1},  // fighter
      {list::男枪手组合框, true, 3},   // gunner
      {list::女法师组合框, false, 0},  // mage
      {list::圣职者组合框, true, 5},   // priest
      {list::鬼剑士组合框, true, 0},   // swordman
      {list::暗夜使组合框, false, 3},  // thief
  }};
  return lists;
}

const fw::WindowDef& SkillListWindowForm() {
  static const fw::WindowDef form = BuildSkillListWindowForm();
  return form;
}

void OnSkillListWindowCreated() {
  // Dock to the left of the main editor, where it stays unless the user
  // moves it; a main editor near the left edge would push it off the
  // screen, so it is kept on it. Such an editor first moves right until
  // the list stands beside it rather than over its name and script box,
  // or, on a screen too narrow for both, as far as the screen allows, so
  // that the list covers as little of it as it must. It never moves left.
  fw::Window& self = *list::window;
  fw::Window& editor = *main_window::window;
  if (editor.Left() < self.Width()) {
    const int roomRight = fw::ScreenWidth() - editor.Width();
    editor.SetLeft(std::max(editor.Left(), std::min(self.Width(), roomRight)));
  }
  const int right = std::max(0, fw::ScreenWidth() - self.Width());
  const int bottom = std::max(0, fw::ScreenHeight() - self.Height());
  self.SetGeometry({std::clamp(editor.Left() - self.Width(), 0, right),
                    std::clamp(editor.Top(), 0, bottom), self.Width(), self.Height()});

  g_skillNameTable = fw::TextArray(SplitText(EmbeddedSkillNameTable(), "\r\n"));
  g_nameIndex = std::make_shared<const SkillNameIndex>(g_skillNameTable.Items());
  g_skillListReady = true;
  if (SkillHeld()) DisableSkillListControls();
}

void OnLoadSkillsButtonClicked() {
  if (!g_skillListReady) return;  // a load runs
  list::加载技能按钮->Disable();
  g_skillListReady = false;

  // Handlers run inside every wait below; should this window be destroyed
  // meanwhile (its loaders are then stopped), the load ends quietly and
  // touches nothing of a later instance.
  const std::uint64_t instance = list::window->Generation();
  const auto windowGone = [instance] { return list::window->Generation() != instance; };

  const std::string skillFolder = fw::ProgramFolder() + platform::kPathSeparator + "skill";
  if (!platform::IsDirectory(skillFolder) || platform::IsDirectoryEmpty(skillFolder)) {
    ShowPromptBox({}, Gbk("请先将skill文件夹从PVF里面提取出来，放到"),
                  Gbk("与本工具同一目录下面！"), false);
  } else {
    StartClassLoaders(skillFolder);
    list::标签5->SetVisible(true);
    while (AnyLoaderRunning()) {
      for (std::string_view frame : kBusyFrames) {
        list::标签5->SetText(frame);
        DelayWithMessages(kBusyFrameMs);
        if (windowGone()) return;
      }
    }
    // The pairs that the last loaders posted before they returned.
    fw::ProcessPending();
    if (windowGone()) return;
    list::标签5->SetVisible(false);
    for (const ClassList& c : ClassLists()) c.combo->SelectPrefix(Gbk(kPickPlaceholder));
  }
  if (windowGone()) return;
  // A skill read meanwhile keeps the lists locked until it is released.
  if (!SkillHeld()) list::加载技能按钮->Enable();
  g_skillListReady = true;
}

void OnSkillListCloseButtonClicked() {
  if (g_skillListReady) list::window->Destroy();
}

void OnSkillListWindowDestroying() {
  StopLoaderThreads();
}

void StartClassLoaders(const std::string& skillFolder) {
  for (std::size_t i = 0; i < ClassLists().size(); ++i) {
    ClassLists()[i].combo->RemoveAll();
    ClassFolders()[i].paths->Clear();
  }
  g_maleSearchResume = 0;
  g_femaleSearchResume = 0;
  const int load = ++g_load;
  if (!g_nameIndex) g_nameIndex = std::make_shared<const SkillNameIndex>(g_skillNameTable.Items());
  for (std::size_t i = 0; i < ClassLists().size(); ++i) {
    const fw::Ref<fw::Combo> combo = ClassLists()[i].combo;
    const std::string folder = skillFolder + platform::kPathSeparator + ClassFolders()[i].folder;
    if (platform::IsDirectory(folder) && !platform::IsDirectoryEmpty(folder)) {
      combo->Enable();
      combo->AddItem(Gbk(kPickPlaceholder));
      StartLoaderThread(static_cast<int>(i), folder, g_nameIndex, load);
    } else {
      combo->Disable();
    }
  }
}

bool StartLoaderThread(int classIndex, std::string folder,
                       std::shared_ptr<const SkillNameIndex> names, int load) {
  platform::Thread& loader = *ClassFolders()[static_cast<std::size_t>(classIndex)].loader;
  loader.Join();  // the loader of an earlier load has returned
  return loader.Start([classIndex, folder = std::move(folder), names = std::move(names),
                       load](std::stop_token stop) {
    RunClassLoader(classIndex, folder, *names, load, std::move(stop));
  });
}

int GetThreadRunState(const platform::Thread& loader) {
  return loader.Running() ? 1 : 0;
}

bool AnyLoaderRunning() {
  return std::any_of(ClassFolders().begin(), ClassFolders().end(),
                     [](const ClassFolder& c) { return GetThreadRunState(*c.loader) == 1; });
}

void RunClassLoader(int classIndex, std::string folder, const SkillNameIndex& names, int load,
                    std::stop_token stop) {
  EnumerateFiles(folder, "skl", false, [&](const std::string&, const std::string& path) {
    if (stop.stop_requested()) return false;
    fw::PostToWindow(kSkillListWindow,
                     [classIndex, load, name = ReadSkillDisplayName(path, names), path]() mutable {
                       AppendListedSkill(classIndex, load, name, std::move(path));
                     });
    return true;
  });
}

}  // namespace app
