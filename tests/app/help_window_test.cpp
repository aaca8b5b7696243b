// The help window and the caption buttons of the main editor.
#include "app/help_window.h"

#include <gtest/gtest.h>

#include "app/units.h"
#include "framework/input.h"
#include "framework/runtime.h"
#include "platform/gbk.h"
#include "read_session.h"

namespace app_test {
namespace {

using namespace app;
using platform::Gbk;

class HelpWindowTest : public read_test::ReadSession {};

TEST_F(HelpWindowTest, OpensOnceAboveTheEditorAndClosesByButtonOrWindowManager) {
  Run([&] {
    fw::Window& help = *help_window::window;
    for (bool byWindowManager : {false, true}) {
      ASSERT_TRUE(h.Click(kMainWindow, "帮助按钮"));
      ASSERT_TRUE(help.IsLoaded());
      EXPECT_EQ(help.Owner(), &*main_window::window);  // stays above the editor
      EXPECT_EQ(help_window::超级编辑框1->Text(), Gbk(kHelpText));
      EXPECT_TRUE(h.Click(kMainWindow, "帮助按钮"));  // no second window
      EXPECT_EQ(h.LoadCount(kHelpWindow), byWindowManager ? 2 : 1);
      // The editor stays usable meanwhile.
      EXPECT_TRUE(h.Type(kMainWindow, "编辑框1", "text"));
      help_window::超级编辑框1->SetText("changed");
      if (byWindowManager) {
        EXPECT_TRUE(h.Close(kHelpWindow));
      } else {
        EXPECT_TRUE(h.Click(kHelpWindow, "关闭按钮"));
      }
      EXPECT_FALSE(help.IsLoaded());
    }
  });
}

TEST_F(HelpWindowTest, TheMinimiseButtonMinimisesTheEditorWithItsSideWindows) {
  Run([&] {
    ASSERT_TRUE(h.Click(kMainWindow, "最小化按钮"));
    EXPECT_TRUE(main_window::window->Minimised());
    ASSERT_TRUE(fw::input::SetMinimised(*main_window::window, false));  // the user restores it
    EXPECT_FALSE(main_window::window->Minimised());
    EXPECT_EQ(param_window::window->EmbeddedIn(), &*main_window::window);
    EXPECT_EQ(mastery_window::window->EmbeddedIn(), &*main_window::window);
    EXPECT_FALSE(MinimizeWindow(*help_window::window));  // not loaded
  });
}

}  // namespace
}  // namespace app_test
