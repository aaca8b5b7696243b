#include "app/program.h"

#include "app/globals.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/prompt.h"
#include "app/script_box.h"
#include "app/side_windows.h"
#include "app/skill_list_window.h"
#include "app/units.h"
#include "framework/runtime.h"
#include "platform/gbk.h"
#include "skin/module.h"

namespace app {

const std::array<const fw::WindowDef*, 7>& ProgramForms() {
  static const std::array<const fw::WindowDef*, 7> forms = {
      &MainWindowForm(), &SkillParamWindowForm(), &MasteryLevelWindowForm(),  &PromptWindowForm(),
      &HelpWindowForm(), &SkillListWindowForm(),  &PromptBackdropWindowForm()};
  return forms;
}

void RegisterForms() {
  for (const fw::WindowDef* form : ProgramForms()) {
    if (fw::Runtime::Current().FindWindow(form->name) == nullptr) fw::RegisterForm(*form);
  }
}

int ProgramStart() {
  RegisterForms();
  InitProgramGlobals();
  fw::SetExitRoutine(&FreeProgramGlobals);
  skin::InitSkinModule();
  // The prompt's figure is decoded once, before the first prompt needs it.
  PromptDecorationPicture();
  if (!main_window::window->Load()) fw::Fatal(platform::Gbk("载入启动窗口失败"));
  fw::Run();
  return 0;
}

void OnCloseButtonClicked() {
  if (!MayDiscardScriptBoxText()) return;
  fw::Exit(0);
}

}  // namespace app
