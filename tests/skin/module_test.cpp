// Module start-up and the loading-dialog class and procedure.
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <thread>

#include "platform/thread.h"
#include "skin/module.h"
#include "skin/png_skin.h"
#include "skin/wrappers.h"
#include "skin_fixture.h"

namespace skin_test {
namespace {

using namespace skin;

TEST_F(SkinTest, StartUpFillsTheTokenTheFrameDimensionAndTheClass) {
  EXPECT_NE(g_gdiplusToken, 0);
  EXPECT_TRUE(gdip::Started());
  EXPECT_EQ(g_frameDimensionTime,
            std::string("\x6D\xBD\xED\x6A\xB5\x3F\x8A\x41\x83\xA6\x7F\x45\x22\x9D\xC8\x72", 16));
  const WndClassEx* cls = FindClass(kLoadDialogClass);
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(cls->size, 48u);
  EXPECT_EQ(cls->style, CS_VREDRAW | CS_HREDRAW);
  EXPECT_EQ(cls->windowProc, &HalyxLoadDialogWndProc);
  EXPECT_EQ(cls->instance, GetModuleHandle());
  EXPECT_EQ(cls->cursor, IDC_ARROW);
  EXPECT_EQ(cls->background, 16);
  // A second start finds the class registered and goes on.
  EXPECT_EQ(InitSkinModule(), 0);
  EXPECT_EQ(FindClass(kLoadDialogClass)->windowProc, &HalyxLoadDialogWndProc);
}

TEST(ClsidFromString, ReadsTheFieldsInTheirByteOrder) {
  gdip::Guid guid;
  ASSERT_TRUE(ClsidFromString(u"{00112233-4455-6677-8899-AABBCCDDEEFF}", &guid));
  const std::uint8_t expected[16] = {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66,
                                     0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF};
  EXPECT_EQ(std::memcmp(guid.bytes, expected, 16), 0);
  for (const char16_t* bad :
       {u"", u"{00112233-4455-6677-8899-AABBCCDDEEF}", u"{0011223G-4455-6677-8899-AABBCCDDEEFF}",
        u"(00112233-4455-6677-8899-AABBCCDDEEFF)"}) {
    EXPECT_FALSE(ClsidFromString(bad, &guid));
  }
}

class LoadDialog : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    fw::RegisterForm(fw::WindowDef("Loading", "", 100, 80).At(5, 5));
    ASSERT_TRUE(fw::GetWindow("Loading").Load());
    hwnd = HandleOf(fw::GetWindow("Loading"));
    SetWindowProc(hwnd, FindClass(kLoadDialogClass)->windowProc);
  }
  Hwnd hwnd = 0;
};

// At its end the window asks its worker to stop and waits for it before
// the picture and its memory go, in that order; the worker is never killed.
TEST_F(LoadDialog, DestroyStopsAndJoinsTheWorkerThenReleasesPictureAndMemory) {
  auto worker = std::make_shared<platform::Thread>();
  std::atomic<bool> pictureGoneWhileRunning{false};
  auto memory = std::make_shared<GlobalMemoryStream>();
  const std::vector<std::uint8_t> png = Png(2, 2, 0xFF00FF00u);
  memory->Create(png, true);
  gdip::Image* raw = nullptr;
  ASSERT_EQ(gdip::LoadImageFromStream(memory->GetStream(), &raw), gdip::Status::Ok);
  std::weak_ptr<gdip::Image> picture;
  {
    ImageRef image(raw, [](gdip::Image* i) { gdip::DisposeImage(i); });
    picture = image;
    SetProp(hwnd, "Halyx_Image", image);
  }
  std::weak_ptr<GlobalMemoryStream> stream = memory;
  SetProp(hwnd, "Halyx_Stream", std::move(memory));
  ASSERT_TRUE(worker->Start([&, picture](std::stop_token stop) {
    while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    // Still there when the worker is told to stop.
    if (picture.expired()) pictureGoneWhileRunning = true;
  }));
  SetProp(hwnd, "Halyx_Thread", worker);

  SendMessage(hwnd, WM_DESTROY, 0, 0);
  EXPECT_FALSE(worker->Running());
  EXPECT_FALSE(pictureGoneWhileRunning);
  EXPECT_TRUE(picture.expired());
  EXPECT_TRUE(stream.expired());
  EXPECT_EQ(gdip::LiveObjects(), liveAtStart);
}

TEST_F(LoadDialog, DestroyWithoutPropertiesReleasesNothing) {
  EXPECT_EQ(SendMessage(hwnd, WM_DESTROY, 0, 0), 0);
  EXPECT_EQ(gdip::LiveObjects(), liveAtStart);
}

// Only "HalyxHitMove" of exactly 1 lets the user drag the window.
TEST_F(LoadDialog, APressDragsTheWindowOnlyWithHitMoveOne) {
  for (int value : {0, 2, -1}) {
    SetProp(hwnd, "HalyxHitMove", value);
    h.ClearLog();
    SendMessage(hwnd, WM_LBUTTONDOWN, 1, MakePoint(3, 3));
    EXPECT_TRUE(h.Log().empty()) << value;
  }
  SetProp(hwnd, "HalyxHitMove", 1);
  SendMessage(hwnd, WM_LBUTTONDOWN, 1, MakePoint(3, 3));
  EXPECT_EQ(h.Log(), (std::vector<std::string>{"system move Loading"}));
}

}  // namespace
}  // namespace skin_test
