#include "app/skill_pick.h"

#include "app/globals.h"
#include "app/prompt.h"
#include "app/script_box.h"
#include "app/skill_list_window.h"
#include "app/units.h"
#include "engine/text.h"
#include "platform/files.h"
#include "platform/gbk.h"

namespace app {

namespace {

using platform::Gbk;
namespace list = skill_list_window;

// The class of each tab of the two groups, in ClassFolders() order.
int ClassOnTab(bool male, int tab) {
  for (std::size_t i = 0; i < ClassLists().size(); ++i) {
    if (ClassLists()[i].male == male && ClassLists()[i].tab == tab) return static_cast<int>(i);
  }
  return -1;
}

// One search step in `combo` with a group's search text and resume
// position: the item found is selected.
int FindNextInCombo(fw::Combo& combo, fw::Ref<fw::Edit> searchEdit, int& resume) {
  const int found = FindNextItem(GetComboItemTexts(combo), searchEdit->Text(), resume);
  if (found != 0) combo.SetCurrent(found);
  return found;
}

// Shows `before` again in `combo`, which the pick of item `picked` left
// unopened, unless the list moved on meanwhile (another pick or a load
// made while the question was open).
void PutBackSelection(fw::Combo& combo, int picked, int before) {
  if (combo.Current() == picked) combo.SetCurrent(before);
}

void SearchGroup(bool male) {
  const int classIndex = ClassOnTab(male, (male ? list::选择夹男 : list::选择夹女)->Current());
  if (classIndex < 0) return;
  fw::Combo& combo = *ClassLists()[static_cast<std::size_t>(classIndex)].combo;
  int& resume = male ? g_maleSearchResume : g_femaleSearchResume;
  const int shown = combo.Current();
  const int resumed = resume;
  const int found = male ? FindNextInMaleCombo(combo) : FindNextInFemaleCombo(combo);
  // Nothing found: the script box keeps what it holds, which may be the
  // user's unsaved changes to the skill picked last.
  if (found == 0) return;
  // Kept unsaved changes: as if the search had not run, so that the next
  // press finds the same skill.
  if (!PickSkill(classIndex)) {
    PutBackSelection(combo, found, shown);
    resume = resumed;
  }
}

// A pick by hand in the list of class `classIndex`.
void PickByHand(int classIndex) {
  fw::Combo& combo = *ClassLists()[static_cast<std::size_t>(classIndex)].combo;
  const int before = fw::CurrentEventArgs().previousItem;
  const int picked = combo.Current();
  if (!PickSkill(classIndex)) PutBackSelection(combo, picked, before);
}

}  // namespace

void OnAtfighterComboSelectionChanged() {
  PickByHand(0);
}
void OnAtgunnerComboSelectionChanged() {
  PickByHand(1);
}
void OnAtmageComboSelectionChanged() {
  PickByHand(2);
}
void OnCreatormageComboSelectionChanged() {
  PickByHand(3);
}
void OnDemonicswordmanComboSelectionChanged() {
  PickByHand(4);
}
void OnFighterComboSelectionChanged() {
  PickByHand(5);
}
void OnGunnerComboSelectionChanged() {
  PickByHand(6);
}
void OnMageComboSelectionChanged() {
  PickByHand(7);
}
void OnPriestComboSelectionChanged() {
  PickByHand(8);
}
void OnSwordmanComboSelectionChanged() {
  PickByHand(9);
}
void OnThiefComboSelectionChanged() {
  PickByHand(10);
}

bool PickSkill(int classIndex) {
  const auto i = static_cast<std::size_t>(classIndex);
  const int selected = ClassLists()[i].combo->Current();
  const fw::TextArray& paths = *ClassFolders()[i].paths;
  if (selected <= 0 || selected > paths.Size()) return true;
  const std::string path = paths[selected];
  const std::optional<SkillFileText> file = ReadSkillFile(path);
  if (!file) {
    // The box may hold work of the user's; an empty text in its place with
    // the save pointing at this path would invite writing it over the file.
    ShowMessage(Gbk("无法读取该技能文件！"));
    return true;
  }
  if (RefuseUnfitFile(*file)) return true;
  // Only a pick that would open the file asks about the box's work.
  if (!MayDiscardScriptBoxText()) return false;
  PutSkillFileInScriptBox(path, *file);
  return true;
}

bool RefuseUnfitFile(const SkillFileText& file) {
  if (!file.notText && !file.notUtf8) return false;
  ShowMessage(Gbk(file.notText ? kNotATextScript : kNotUtf8SkillFile));
  return true;
}

void PutSkillFileInScriptBox(const std::string& path, const SkillFileText& file) {
  g_scriptFilePath = path;
  main_window::路径编辑框->SetText(platform::ShownPath(path));
  main_window::编辑框1->SetText(file.text);
  KeepScriptBoxText();
  main_window::保存文件按钮->Enable();
  if (file.replaced) {
    ShowPromptBox({}, Gbk("文件中有GBK无法表示的字符，已显示为?，"),
                  Gbk("保存文件时它们会被?替换！"), false);
  }
}

int FindNextInMaleCombo(fw::Combo& combo) {
  return FindNextInCombo(combo, list::搜索框男, g_maleSearchResume);
}

int FindNextInFemaleCombo(fw::Combo& combo) {
  return FindNextInCombo(combo, list::搜索框女, g_femaleSearchResume);
}

void OnMaleSearchButtonClicked() {
  SearchGroup(true);
}
void OnFemaleSearchButtonClicked() {
  SearchGroup(false);
}
void OnMaleTabsTabChanged() {
  g_maleSearchResume = 0;
}
void OnMaleSearchEditTextChanged() {
  g_maleSearchResume = 0;
}
void OnFemaleTabsTabChanged() {
  g_femaleSearchResume = 0;
}
void OnFemaleSearchEditTextChanged() {
  g_femaleSearchResume = 0;
}

std::vector<std::string> GetComboItemTexts(const fw::Combo& combo) {
  std::vector<std::string> texts;
  for (int k = 1; k < combo.Count(); ++k) texts.push_back(combo.ItemText(k));
  return texts;
}

int FindNextItem(const std::vector<std::string>& items, std::string_view sought, int& resume) {
  if (items.empty()) return 0;
  const auto holds = [sought](const std::string& text) {
    return sought.empty() ? !text.empty() : FindText(text, sought, 1, true) >= 1;
  };
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t k = 1; k <= items.size(); ++k) {
      if (static_cast<int>(k) > resume && holds(items[k - 1])) {
        resume = static_cast<int>(k);
        return resume;
      }
    }
    resume = 0;  // through to the end: the next pass starts from the top
  }
  return 0;
}

}  // namespace app
