// PngSkin: attaching, back images composed into the window's frame with
// per-pixel alpha, moving, and what the window keeps.
#include <cstdint>
#include <vector>

#include "framework/units.h"
#include "skin/png_skin.h"
#include "skin_fixture.h"

namespace skin_test {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kClear = 0x00000000u;

class Skin : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    fw::RegisterForm(fw::WindowDef("Skinned", "", 4, 2).At(10, 20).OnTop().InputTransparent());
    ASSERT_TRUE(window().Load());
  }
  fw::Window& window() { return fw::GetWindow("Skinned"); }
  skin::Hwnd hwnd() { return skin::HandleOf(window()); }
  std::vector<std::uint32_t> Pixels() {
    const fw::Frame& f = window().LayeredFrame();
    return f.Empty() ? std::vector<std::uint32_t>{} : *f.pixels;
  }
};

TEST_F(Skin, AttachesOnlyToAWindowAndStartsOneCaretTimer) {
  skin::PngSkin skin;
  EXPECT_FALSE(skin.Attach(0));
  EXPECT_FALSE(skin.Attach(12345));
  EXPECT_EQ(skin.GetHandle(), 0);
  EXPECT_FALSE(skin.IsValid());

  ASSERT_TRUE(skin.Attach(hwnd()));
  EXPECT_EQ(skin.GetHandle(), hwnd());
  EXPECT_TRUE(skin.IsValid());
  EXPECT_TRUE(window().TimerRunning(skin::kCaretTimerId));
  EXPECT_EQ(skin::GetProp(hwnd(), skin::kTimeProperty), skin::kCaretTimerId);
  ASSERT_TRUE(skin.Attach(hwnd()));  // a second attach starts no second timer
  EXPECT_EQ(skin::GetProp(hwnd(), skin::kTimeProperty), skin::kCaretTimerId);
  // The window keeps its flags; it is layered once a frame is presented.
  EXPECT_FALSE(window().Layered());

  window().Destroy();
  EXPECT_FALSE(skin.IsValid());
  EXPECT_EQ(skin.GetHandle() != 0, true);  // the handle stays, naming no window
}

// The back image is stretched to the window's outer size whatever its own
// size; transparent pixels stay transparent; a picture of the window's own
// size is drawn 1:1.
TEST_F(Skin, TheBackImageIsStretchedOverTheWholeFrame) {
  skin::PngSkin skin;
  ASSERT_TRUE(skin.Attach(hwnd()));
  ASSERT_TRUE(skin.LoadBackImage(Png(2, 1, {kRed, kClear})));
  EXPECT_TRUE(window().Layered());
  EXPECT_EQ(Pixels(), (std::vector<std::uint32_t>{kRed, kRed, kClear, kClear,  //
                                                  kRed, kRed, kClear, kClear}));
  const std::vector<std::uint32_t> exact = {kRed,  kBlue, kClear,      0x80102030u,
                                            kBlue, kRed,  0x40FFFFFFu, kClear};
  ASSERT_TRUE(skin.LoadBackImage(Png(4, 2, exact)));
  EXPECT_EQ(Pixels(), exact);
  EXPECT_EQ(window().Geometry(), (fw::Rect{10, 20, 4, 2}));
}

TEST_F(Skin, ABadImageOrAGoneWindowChangesNothing) {
  skin::PngSkin skin;
  ASSERT_TRUE(skin.Attach(hwnd()));
  ASSERT_TRUE(skin.LoadBackImage(Png(4, 2, kBlue)));
  const std::vector<std::uint8_t> garbage = {1, 2, 3, 4};
  EXPECT_FALSE(skin.LoadBackImage(garbage));
  EXPECT_FALSE(skin.SetBackImage(nullptr));
  EXPECT_EQ(Pixels(), std::vector<std::uint32_t>(8, kBlue));
  window().Destroy();
  EXPECT_FALSE(skin.LoadBackImage(Png(4, 2, kRed)));
  EXPECT_FALSE(window().Layered());
}

// A frame once shown is never drawn on: composing the window again makes
// the next one, and whoever holds the first still sees it as it was.
TEST_F(Skin, AFrameShownKeepsItsPixelsWhenTheWindowIsComposedAgain) {
  skin::PngSkin skin;
  ASSERT_TRUE(skin.Attach(hwnd()));
  ASSERT_TRUE(skin.LoadBackImage(Png(4, 2, kRed)));
  const fw::Frame first = window().LayeredFrame();
  const std::vector<std::uint32_t> next = {kClear, kBlue,  kClear, kBlue,
                                           kBlue,  kClear, kBlue,  kClear};
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(skin.LoadBackImage(Png(4, 2, next)));
  EXPECT_EQ(Pixels(), next);
  ASSERT_FALSE(first.Empty());
  EXPECT_EQ(*first.pixels, std::vector<std::uint32_t>(8, kRed));
}

// Moving never composes again, and the skin moves or sizes the window
// without touching what the call leaves out.
TEST_F(Skin, MovingKeepsTheFrameAndWhatTheCallLeavesOut) {
  skin::PngSkin skin;
  ASSERT_TRUE(skin.Attach(hwnd()));
  ASSERT_TRUE(skin.LoadBackImage(Png(4, 2, kRed)));
  const auto presented = window().LayeredFrame().pixels;
  h.ClearLog();
  skin.MoveWindow(100, 200);
  EXPECT_EQ(window().Geometry(), (fw::Rect{100, 200, 4, 2}));
  skin.MoveWindow({}, {}, 8, 6);
  EXPECT_EQ(window().Geometry(), (fw::Rect{100, 200, 8, 6}));
  skin.MoveWindow(5, {}, {}, {}, true);  // y from the window
  EXPECT_EQ(window().Geometry(), (fw::Rect{5, 200, 8, 6}));
  EXPECT_EQ(window().LayeredFrame().pixels, presented);
  EXPECT_TRUE(h.Log().empty());  // nothing presented
}

// What the skin keeps on the window (its back image, the memory it was
// read from, the caret timer) goes when the window goes.
TEST_F(Skin, TheWindowsImageGoesWithTheWindow) {
  {
    skin::PngSkin skin;
    ASSERT_TRUE(skin.Attach(hwnd()));
    ASSERT_TRUE(skin.LoadBackImage(Png(4, 2, kRed)));
    ASSERT_TRUE(skin.LoadBackImage(Png(4, 2, kBlue)));      // the first one goes now
    EXPECT_EQ(skin::gdip::LiveObjects() - liveAtStart, 3);  // image, block, stream
  }
  // The skin object leaves the window as it is.
  EXPECT_TRUE(window().Layered());
  window().Destroy();
  EXPECT_FALSE(window().TimerRunning(skin::kCaretTimerId));
  EXPECT_EQ(skin::gdip::LiveObjects(), liveAtStart);
}

struct ArgbCase {
  std::uint32_t colour;
  int alpha;
  std::uint32_t argb;
};

TEST(ArgbFromColorAlpha, SwapsRedAndBlueAndIgnoresTheTopByte) {
  const std::vector<ArgbCase> cases = {
      {0x000000FFu, 128, 0x80FF0000u}, {0x00000000u, 255, 0xFF000000u},
      {0x00FF0000u, 0, 0x000000FFu},   {0x00123456u, 255, 0xFF563412u},
      {0xAB00FF00u, 1, 0x0100FF00u},
  };
  for (const ArgbCase& c : cases) EXPECT_EQ(skin::ArgbFromColorAlpha(c.colour, c.alpha), c.argb);
}

}  // namespace
}  // namespace skin_test
