// Skinned child controls: the button state table, what each kind of child
// draws into the frame, typing into a skinned edit, and the caret.
#include <gmock/gmock.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/units.h"
#include "skin/children.h"
#include "skin/module.h"
#include "skin_fixture.h"

namespace skin_test {
namespace {

using namespace skin;

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kGrey = 0xFF808080u;
constexpr std::uint32_t kYellow = 0xFFFFFF00u;

int g_clicks = 0;
void OnClicked() {
  ++g_clicks;
}

fw::WindowDef HostForm(std::string_view name, int left) {
  return fw::WindowDef(name, "", 240, 140)
      .At(left, 50)
      .Units({
          fw::ButtonUnit("按钮", {10, 10, 20, 10}, ""),
          fw::EditBox("编辑", {40, 10, 30, 12}).WithFont(fw::Font{"宋体", 8, fw::FontUnit::Pixels}),
          fw::PictureUnit("图", {10, 20, 100, 100}, {}),
          fw::LabelUnit("类型一", {120, 20, 10, 10}),
          fw::LabelUnit("类型五", {140, 20, 10, 10}),
      })
      .Bind({{"按钮", fw::Event::Clicked, &OnClicked}});
}

ImageRef Solid(int w, int h, std::uint32_t argb) {
  return LoadImageFromBytes(Png(w, h, argb));
}

class Children : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    g_clicks = 0;
    fw::RegisterForm(HostForm("Host", 0));
    ASSERT_TRUE(host().Load());
    button = HandleOf(*host().Find("按钮"));
    edit = HandleOf(*host().Find("编辑"));
    picture = HandleOf(*host().Find("图"));
    SetProp(button, kTypeProperty, kSkinButton);
    SetProp(button, "PngControl_NormalImage", Solid(20, 10, kRed));
    SetProp(button, "PngControl_OverlImage", Solid(20, 10, kGreen));
    SetProp(button, "PngControl_DownImage", Solid(20, 10, kBlue));
    SetProp(button, "PngControl_DisableImage", Solid(20, 10, kGrey));
    SetProp(edit, kTypeProperty, kSkinEdit);
    SetProp(edit, "PngControl_BackColor", 0x00FFFFFF);
    SetProp(edit, "PngControl_BackAlpha", 255);
    SetProp(edit, "PngControl_OrderColor", -1);
    SetProp(edit, "PngControl_TextColor", 0x000000FF);  // red text
    SetProp(HandleOf(*host().Find("类型一")), kTypeProperty, 1);
    SetProp(HandleOf(*host().Find("类型五")), kTypeProperty, 5);
    ASSERT_TRUE(skin.Attach(HandleOf(host())));
    skin.SubclassChildren();
  }
  fw::Window& host() { return fw::GetWindow("Host"); }
  std::uint32_t At(int x, int y) { return host().LayeredFrame().At(x, y); }

  PngSkin skin;
  Hwnd button = 0;
  Hwnd edit = 0;
  Hwnd picture = 0;
};

// ---- Buttons ------------------------------------------------------------------

struct Message {
  unsigned message;
  WParam w = 0;
  LParam l = MakePoint(5, 5);
};

struct ButtonCase {
  const char* name;
  std::vector<Message> messages;
  std::vector<int> states;           // after each message
  std::vector<std::uint32_t> shown;  // the button's pixel after each message
  int clicks;
};

class ButtonStates : public Children, public ::testing::WithParamInterface<ButtonCase> {};

const Message kMove{WM_MOUSEMOVE};
const Message kLeave{WM_MOUSELEAVE};
const Message kDown{WM_LBUTTONDOWN};
const Message kDouble{WM_LBUTTONDBLCLK};
const Message kUp{WM_LBUTTONUP};
const Message kUpOutside{WM_LBUTTONUP, 0, MakePoint(-5, 40)};
const Message kDisable{WM_ENABLE, 0, 0};
const Message kEnable{WM_ENABLE, 1, 0};
// Not a message: the program disables (w 0) or enables (w 1) the button
// through the framework.
constexpr unsigned kThroughTheFramework = 0x10000;
const Message kFrameworkDisable{kThroughTheFramework, 0, 0};
const Message kFrameworkEnable{kThroughTheFramework, 1, 0};

TEST_P(ButtonStates, FollowTheTable) {
  const ButtonCase& c = GetParam();
  std::vector<int> states;
  std::vector<std::uint32_t> shown;
  for (const Message& m : c.messages) {
    // Enabling goes through the system call, which sends WM_ENABLE, or
    // through the framework.
    if (m.message == WM_ENABLE) {
      EnableWindow(button, m.w != 0);
    } else if (m.message == kThroughTheFramework) {
      host().Find("按钮")->SetDisabled(m.w == 0);
    } else {
      SendMessage(button, m.message, m.w, m.l);
    }
    states.push_back(GetDrawState(button));
    shown.push_back(At(20, 15));
  }
  EXPECT_EQ(states, c.states);
  EXPECT_EQ(shown, c.shown);
  EXPECT_EQ(g_clicks, c.clicks);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ButtonStates,
    ::testing::Values(
        ButtonCase{"Hover", {kMove, kMove}, {1, 1}, {kGreen, kGreen}, 0},
        ButtonCase{"HoverAndLeave", {kMove, kLeave}, {1, 0}, {kGreen, kRed}, 0},
        ButtonCase{"PressAndRelease",
                   {kMove, kDown, kMove, kUp},
                   {1, 2, 2, 1},
                   {kGreen, kBlue, kBlue, kGreen},
                   1},
        ButtonCase{
            "PressLeaveRelease", {kDown, kLeave, kUpOutside}, {2, 0, 0}, {kBlue, kRed, kRed}, 0},
        ButtonCase{"ReleaseWithoutPress", {kUp}, {0}, {kRed}, 0},
        // A quick second click is a press too, and counts as a click.
        ButtonCase{"DoubleClick",
                   {kDown, kUp, kDouble, kUp},
                   {2, 1, 2, 1},
                   {kBlue, kGreen, kBlue, kGreen},
                   2},
        // Disabled stays disabled whatever the mouse does, until enabled.
        ButtonCase{"Disabled",
                   {kDisable, kMove, kDown, kDouble, kUp, kLeave, kEnable, kMove},
                   {3, 3, 3, 3, 3, 3, 0, 1},
                   {kGrey, kGrey, kGrey, kGrey, kGrey, kGrey, kRed, kGreen},
                   0},
        ButtonCase{"DisabledThroughTheFramework",
                   {kFrameworkDisable, kMove, kDown, kDouble, kUp, kLeave, kFrameworkEnable, kMove},
                   {3, 3, 3, 3, 3, 3, 0, 1},
                   {kGrey, kGrey, kGrey, kGrey, kGrey, kGrey, kRed, kGreen},
                   0},
        // Under the pointer, on either road.
        ButtonCase{"DisabledWhileHovered",
                   {kMove, kDisable, kMove, kEnable},
                   {1, 3, 3, 0},
                   {kGreen, kGrey, kGrey, kRed},
                   0},
        ButtonCase{"DisabledThroughTheFrameworkWhileHovered",
                   {kMove, kFrameworkDisable, kMove, kFrameworkEnable},
                   {1, 3, 3, 0},
                   {kGreen, kGrey, kGrey, kRed},
                   0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(Children, AStateWithoutItsImageShowsTheNormalImage) {
  RemoveProp(button, "PngControl_OverlImage");
  SendMessage(button, WM_MOUSEMOVE, 0, MakePoint(1, 1));
  EXPECT_EQ(GetDrawState(button), kStateHot);
  EXPECT_EQ(At(20, 15), kRed);
}

// ---- What is subclassed and drawn --------------------------------------------------

TEST_F(Children, OnlyButtonsAndEditsAreSubclassedAndOnlyOnce) {
  EXPECT_EQ(GetWindowProc(button), &SkinButtonWndProc);
  EXPECT_EQ(GetWindowProc(edit), &SkinEditWndProc);
  for (const char* unit : {"类型一", "类型五", "图"}) {
    EXPECT_EQ(GetWindowProc(HandleOf(*host().Find(unit))), &DefWindowProc) << unit;
  }
  skin.SubclassChildren();  // the saved procedure is still the first one
  EXPECT_EQ(*GetPropAs<WndProc>(button, kChildWndProcProperty), &DefWindowProc);
  // Types 1 and 5 draw nothing.
  EXPECT_EQ(At(125, 25) >> 24, 0u);
  EXPECT_EQ(At(145, 25) >> 24, 0u);
}

TEST_F(Children, AProcedureItsUserPutAsideIsPutBackFirst) {
  const Hwnd other = HandleOf(*host().Find("类型一"));
  SetProp(other, kTypeProperty, kSkinButton);
  SetWindowProc(other, &SkinEditWndProc);  // something the user replaced
  SetProp(other, "PngControl_WndProc", WndProc{&DefWindowProc});
  skin.SubclassChildren();
  EXPECT_EQ(GetPropValue(other, "PngControl_WndProc"), nullptr);
  EXPECT_EQ(*GetPropAs<WndProc>(other, kChildWndProcProperty), &DefWindowProc);
  EXPECT_EQ(GetWindowProc(other), &SkinButtonWndProc);
}

// An image of 200 x 100 fitted into a child of 100 x 100 is drawn at
// 100 x 50, 25 pixels below the child's top; stretched it fills the child.
TEST_F(Children, PicturesAreFittedOrStretched) {
  SetProp(picture, kTypeProperty, kSkinPicture);
  SetProp(picture, "PngControl_BackImage", Solid(200, 100, kYellow));
  SetProp(picture, "PngControl_BackType", 2);
  RedrawSkinnedWindow(HandleOf(host()), nullptr, false);
  EXPECT_EQ(At(60, 44) >> 24, 0u);
  EXPECT_EQ(At(60, 45), kYellow);
  EXPECT_EQ(At(10, 94), kYellow);
  EXPECT_EQ(At(109, 94), kYellow);
  EXPECT_EQ(At(60, 95) >> 24, 0u);
  SetProp(picture, "PngControl_BackType", 1);
  RedrawSkinnedWindow(HandleOf(host()), nullptr, false);
  EXPECT_EQ(At(10, 20), kYellow);
  EXPECT_EQ(At(109, 119), kYellow);
}

// An edit whose image is larger than the edit shows the image cut to the
// edit, and still its border and its text.
TEST_F(Children, AnEditOverALargerImageStillShowsBorderAndText) {
  SetProp(edit, "PngControl_BackImage", Solid(60, 30, kBlue));
  SetProp(edit, "PngControl_OrderColor", 0x00000000);
  SetProp(edit, "PngControl_OrderAlpha", 255);
  host().Find("编辑")->SetText("ab");
  RedrawSkinnedWindow(HandleOf(host()), nullptr, false);
  EXPECT_EQ(At(41, 20), kBlue);        // the image, inside the edit
  EXPECT_EQ(At(71, 20) >> 24, 0u);     // but not beyond it
  EXPECT_EQ(At(40, 10), 0xFF000000u);  // the border
  EXPECT_EQ(At(70, 22), 0xFF000000u);
  ASSERT_FALSE(text.runs.empty());
  EXPECT_EQ(text.runs.back().text, u"ab");
  EXPECT_EQ(text.runs.back().x, 42);
  EXPECT_EQ(text.runs.back().width, 26);
  EXPECT_EQ(text.runs.back().lineAlign, 1);
  EXPECT_TRUE(text.runs.back().noWrap);
  EXPECT_EQ(At(43, 16), 0xFFFF0000u);  // the text, in red
}

// Typing shows at once: the frame is composed again after the character
// is in the edit.
TEST_F(Children, TypingIntoASkinnedEditShowsAtOnce) {
  SetFocus(edit);
  SendMessage(edit, WM_CHAR, 'x', 0);
  SendMessage(edit, WM_IME_CHAR, 0xCBCE, 0);  // 宋
  EXPECT_EQ(host().Find("编辑")->Text(), "x\xCB\xCE");
  ASSERT_FALSE(text.runs.empty());
  EXPECT_EQ(text.runs.back().text, u"x宋");
  SendMessage(edit, WM_CHAR, 0x08, 0);  // backspace takes the whole character
  EXPECT_EQ(host().Find("编辑")->Text(), "x");
  EXPECT_EQ(text.runs.back().text, u"x");
  // 0xFF is a character of one byte: backspace after it takes only what follows.
  SendMessage(edit, WM_CHAR, 0xFF, 0);
  SendMessage(edit, WM_CHAR, 'y', 0);
  SendMessage(edit, WM_CHAR, 0x08, 0);
  EXPECT_EQ(host().Find("编辑")->Text(), "x\xFF");
}

// ---- The window's mouse and keyboard ---------------------------------------------

fw::RawInput Pointer(fw::RawInput::Kind kind, int x, int y) {
  fw::RawInput in;
  in.kind = kind;
  in.x = x;
  in.y = y;
  return in;
}
fw::RawInput Typed(std::string gbk) {
  fw::RawInput in;
  in.kind = fw::RawInput::Kind::Character;
  in.text = std::move(gbk);
  return in;
}

// What the user does over the skinned window reaches its children as their
// messages: the button lights up under the pointer and is clicked by a
// press and a release over it; a press on the edit gives it the focus and
// typing goes there.
TEST_F(Children, TheWindowsMouseAndKeyboardReachItsChildren) {
  using Kind = fw::RawInput::Kind;
  ASSERT_TRUE(host().HasRawInputHook());
  ASSERT_TRUE(h.Raw("Host", Pointer(Kind::PointerMove, 20, 15)));
  EXPECT_EQ(GetDrawState(button), kStateHot);
  EXPECT_EQ(At(20, 15), kGreen);
  h.Raw("Host", Pointer(Kind::PointerMove, 200, 100));  // off the button
  EXPECT_EQ(GetDrawState(button), kStateNormal);
  h.Raw("Host", Pointer(Kind::PointerMove, 21, 14));
  h.Raw("Host", Pointer(Kind::LeftDown, 21, 14));
  EXPECT_EQ(At(20, 15), kBlue);
  h.Raw("Host", Pointer(Kind::LeftUp, 21, 14));
  EXPECT_EQ(g_clicks, 1);
  EXPECT_EQ(GetDrawState(button), kStateHot);
  // Pressed, dragged away and released elsewhere: no click.
  h.Raw("Host", Pointer(Kind::LeftDown, 21, 14));
  h.Raw("Host", Pointer(Kind::PointerMove, 200, 100));
  h.Raw("Host", Pointer(Kind::LeftUp, 200, 100));
  EXPECT_EQ(g_clicks, 1);
  EXPECT_EQ(GetDrawState(button), kStateNormal);
  h.Raw("Host", Pointer(Kind::PointerLeave, 0, 0));

  h.Raw("Host", Pointer(Kind::LeftDown, 45, 15));
  h.Raw("Host", Pointer(Kind::LeftUp, 45, 15));
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(g_skinCaretWindow, HandleOf(host()));
  h.Raw("Host", Typed("a"));
  h.Raw("Host", Typed("\xCB\xCE"));  // 宋
  h.Raw("Host", Typed("b"));
  h.Raw("Host", Typed("\b"));
  EXPECT_EQ(host().Find("编辑")->Text(), "a\xCB\xCE");
  EXPECT_EQ(text.runs.back().text, u"a宋");
  // A press on the window's ground takes the focus away.
  h.Raw("Host", Pointer(Kind::LeftDown, 200, 100));
  EXPECT_EQ(GetFocus(), 0);
  EXPECT_EQ(g_skinCaretWindow, 0);
}

// A button that its form disables shows its disabled image once skinned,
// and the pointer over it changes nothing until it is enabled.
TEST_F(Children, AButtonDisabledBeforeItIsSkinnedShowsItsDisabledImage) {
  using Kind = fw::RawInput::Kind;
  fw::RegisterForm(fw::WindowDef("Later", "", 60, 40)
                       .At(300, 50)
                       .Units({fw::ButtonUnit("按钮", {10, 10, 20, 10}, "").Disabled()})
                       .Bind({{"按钮", fw::Event::Clicked, &OnClicked}}));
  fw::Window& later = fw::GetWindow("Later");
  ASSERT_TRUE(later.Load());
  const Hwnd b = HandleOf(*later.Find("按钮"));
  SetProp(b, kTypeProperty, kSkinButton);
  SetProp(b, "PngControl_NormalImage", Solid(20, 10, kRed));
  SetProp(b, "PngControl_OverlImage", Solid(20, 10, kGreen));
  SetProp(b, "PngControl_DownImage", Solid(20, 10, kBlue));
  SetProp(b, "PngControl_DisableImage", Solid(20, 10, kGrey));
  PngSkin other;
  ASSERT_TRUE(other.Attach(HandleOf(later)));
  other.SubclassChildren();
  EXPECT_EQ(GetDrawState(b), kStateDisabled);
  EXPECT_EQ(later.LayeredFrame().At(20, 15), kGrey);
  for (Kind k : {Kind::PointerMove, Kind::LeftDown, Kind::LeftUp})
    h.Raw("Later", Pointer(k, 20, 15));
  EXPECT_EQ(later.LayeredFrame().At(20, 15), kGrey);
  EXPECT_EQ(g_clicks, 0);
  later.Find("按钮")->Enable();
  EXPECT_EQ(later.LayeredFrame().At(20, 15), kRed);
  for (Kind k : {Kind::PointerMove, Kind::LeftDown, Kind::LeftUp})
    h.Raw("Later", Pointer(k, 20, 15));
  EXPECT_EQ(g_clicks, 1);
}

// ---- The caret -------------------------------------------------------------------

bool CaretAt(const fw::Frame& f, int x, int top) {
  for (int y = top; y < top + 12; ++y) {
    if (f.At(x, y) != 0xFF000000u) return false;
  }
  return f.At(x, top + 12) != 0xFF000000u;
}

TEST_F(Children, TheFocusedEditsCaretBlinksEvery500Ms) {
  host().Find("编辑")->SetText("ab");  // 2 characters of 8 pixels
  SetFocus(edit);
  EXPECT_EQ(g_skinCaretWindow, HandleOf(host()));
  EXPECT_EQ(g_skinFocusedEdit, edit);
  ASSERT_NE(g_skinFrameImage, nullptr);
  // Caret at x = 40 + (1 + 16) + 5, centred: top = 10 + (12 - 12) / 2.
  EXPECT_FALSE(CaretAt(host().LayeredFrame(), 62, 10));
  h.Advance(500);
  EXPECT_TRUE(g_skinCaretVisible);
  EXPECT_TRUE(CaretAt(host().LayeredFrame(), 62, 10));
  h.Advance(500);
  EXPECT_FALSE(CaretAt(host().LayeredFrame(), 62, 10));
  // A recomposition shows the frame without the caret until the next tick.
  h.Advance(500);
  SendMessage(edit, WM_CHAR, 'c', 0);
  EXPECT_FALSE(CaretAt(host().LayeredFrame(), 70, 10));
  h.Advance(1000);
  EXPECT_TRUE(CaretAt(host().LayeredFrame(), 70, 10));

  SetFocus(0);
  EXPECT_EQ(g_skinCaretWindow, 0);
  EXPECT_EQ(g_skinFocusedEdit, 0);
  EXPECT_FALSE(CaretAt(host().LayeredFrame(), 70, 10));
}

// With two skinned windows only the one that holds the focused edit
// blinks; the other's timer does nothing.
TEST_F(Children, OnlyTheCaretWindowsTimerBlinks) {
  fw::RegisterForm(HostForm("Other", 300));
  fw::Window& other = fw::GetWindow("Other");
  ASSERT_TRUE(other.Load());
  PngSkin second;
  ASSERT_TRUE(second.Attach(HandleOf(other)));
  second.SubclassChildren();
  SetFocus(edit);
  h.ClearLog();
  h.Advance(1000);
  EXPECT_THAT(h.Log(), ::testing::Each(::testing::Eq("present Host 240x140")));
  EXPECT_EQ(h.Log().size(), 2u);
}

}  // namespace
}  // namespace skin_test
