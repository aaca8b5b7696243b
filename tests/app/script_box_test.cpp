// The script box and the buttons under it: read and release, copy, clear,
// and the start hint that a click removes.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/units.h"
#include "framework/runtime.h"
#include "platform/gbk.h"
#include "read_session.h"

namespace read_test {
namespace {

using namespace app;
using platform::Gbk;
using ::testing::ElementsAre;

class ScriptBoxTest : public ReadSession {};

TEST_F(ScriptBoxTest, CopyPutsTheBoxTextOnTheClipboardOnlyWhileNoSkillIsHeld) {
  const std::string script = Fixture("both_copies", "PT");
  Run([&] {
    using namespace main_window;
    for (const std::string& text : {std::string(), script}) {
      Paste(text);
      EXPECT_THAT(Click("复制按钮", 1), ElementsAre("技能数据已复制！"));
      EXPECT_EQ(fw::ClipboardText(), text);
    }
    Click("读取按钮");
    fw::SetClipboardText("before");
    EXPECT_THAT(Click("复制按钮", 1), ElementsAre("技能修改状态下无法复制，请先点击 释放数据！"));
    EXPECT_EQ(fw::ClipboardText(), "before");
  });
}

// 清空 leaves a box that belongs to no file: the path box names none and
// 保存文件按钮 is disabled, so that nothing is saved over the file the box
// held before. Refused while a skill is held, it changes nothing.
TEST_F(ScriptBoxTest, ClearEmptiesTheBoxAndForgetsItsFileButIsRefusedWhileASkillIsHeld) {
  const std::string script = Fixture("static_one_block", "SP");
  Run([&] {
    using namespace main_window;
    PasteAndRead(script, 1);
    // As a pick leaves them.
    路径编辑框->SetText("/skills/a.skl");
    g_scriptFilePath = "/skills/a.skl";
    EXPECT_THAT(Click("清空按钮", 1), ElementsAre("技能修改状态下无法清空，请先点击 释放数据！"));
    EXPECT_EQ(编辑框1->Text(), script);
    EXPECT_EQ(Text(路径编辑框), "/skills/a.skl");
    EXPECT_EQ(g_scriptFilePath, "/skills/a.skl");
    Click("读取按钮");  // release: the script stays, editable
    EXPECT_EQ(编辑框1->Text(), script);
    EXPECT_FALSE(保存文件按钮->Disabled());
    EXPECT_THAT(Click("清空按钮"), ElementsAre());
    EXPECT_EQ(编辑框1->Text(), "");
    EXPECT_EQ(Text(路径编辑框), "*");
    EXPECT_TRUE(保存文件按钮->Disabled());
    EXPECT_EQ(g_scriptFilePath, "");
  });
}

// Texts from Linux editors and clipboards end their lines with a bare LF;
// what the user pastes or types into the box is stored with CR LF line
// breaks, as the script forms have them, so that a pasted script reads as
// its CR LF twin. A script already in CR LF is stored as it is.
TEST_F(ScriptBoxTest, PastedLineBreaksAreStoredAsCrLf) {
  const std::string script = Fixture("static_one_block", "SP");
  auto with = [](std::string text, const std::string& lineBreak) {
    std::string out;
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) {
      out += text.substr(0, at) + lineBreak;
      text.erase(0, at + 2);
    }
    return out + text;
  };
  Run([&] {
    using namespace main_window;
    for (const std::string lineBreak : {"\r\n", "\n", "\r"}) {
      SCOPED_TRACE(::testing::PrintToString(lineBreak));
      EXPECT_TRUE(Paste(with(script, lineBreak)));
      EXPECT_EQ(编辑框1->Text(), script);
    }
    EXPECT_TRUE(Paste("a\r\r\nb\n\nc\r"));
    EXPECT_EQ(编辑框1->Text(), "a\r\n\r\nb\r\n\r\nc\r\n");
    // The LF-only script reads as its CR LF twin.
    PasteAndRead(with(script, "\n"), 1);
    EXPECT_THAT(Column(静态表格), ElementsAre("250", "30", "2"));
    // Program writes stay as written.
    Click("读取按钮");
    编辑框1->SetText("x\ny");
    EXPECT_EQ(编辑框1->Text(), "x\ny");
  });
}

TEST_F(ScriptBoxTest, AClickRemovesTheHintButNeverTheUsersText) {
  const std::string hint = Gbk(kScriptBoxHint);
  struct Case {
    std::string text;
    bool removed;
  };
  const std::vector<Case> cases = {
      {hint, true},
      {hint + "[@02]1", false},  // pasted beside the hint without a click
      {Gbk("拖放技能数据文件"), false},
      {"", false},
  };
  Run([&] {
    for (fw::MouseButton button : {fw::MouseButton::Left, fw::MouseButton::Right}) {
      for (const Case& c : cases) {
        main_window::编辑框1->SetText(c.text);
        EXPECT_TRUE(h.MouseDown(kMainWindow, "编辑框1", button));
        EXPECT_EQ(main_window::编辑框1->Text(), c.removed ? "" : c.text) << Utf8(c.text);
      }
    }
  });
}

TEST_F(ScriptBoxTest, TheReadButtonReleasesAHeldSkill) {
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("single_level_info_common", "SP"));
    Click("通用单选框");
    EXPECT_THAT(Click("读取按钮"), ElementsAre());
    EXPECT_EQ(Text(读取按钮), "读取数据");
    EXPECT_FALSE(编辑框1->Disabled());
    EXPECT_TRUE(g_reportMissingData);
    EXPECT_EQ(数据表格->RowCount(), 1);
  });
}

}  // namespace
}  // namespace read_test
