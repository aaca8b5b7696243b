// The owning wrappers: each object is released exactly once, whatever is
// done with the wrapper; fonts made from GDI font descriptions.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "skin/module.h"
#include "skin/wrappers.h"
#include "skin_fixture.h"

namespace skin_test {
namespace {

using skin::gdip::LiveObjects;
using skin::gdip::Status;

// Names of fonts are in the ANSI code page: GBK.
const std::string kSong = "\xCB\xCE\xCC\xE5";  // 宋体

class Wrappers : public SkinTest {
 protected:
  int Made() const { return LiveObjects() - liveAtStart; }
};

// The same ownership rules for the three handle wrappers: Make fills a
// wrapper, Raw makes an object that nothing owns yet.
template <class W>
struct Kind;
template <>
struct Kind<skin::GpFontFamily> {
  static void Make(skin::GpFontFamily& w) { ASSERT_EQ(w.Create(kSong), Status::Ok); }
  static skin::gdip::FontFamily* Raw() {
    skin::gdip::FontFamily* f = nullptr;
    skin::gdip::CreateFontFamilyFromName(u"宋体", nullptr, &f);
    return f;
  }
};
template <>
struct Kind<skin::GpFont> {
  static void Make(skin::GpFont& w) {
    ASSERT_EQ(w.Create(kSong, 12, 0, skin::gdip::Unit::Pixel), Status::Ok);
  }
  static skin::gdip::Font* Raw() {
    skin::gdip::FontFamily* family = Kind<skin::GpFontFamily>::Raw();
    skin::gdip::Font* f = nullptr;
    skin::gdip::CreateFont(family, 12, 0, skin::gdip::Unit::Pixel, &f);
    skin::gdip::DeleteFontFamily(family);
    return f;
  }
};
template <>
struct Kind<skin::GpStringFormat> {
  static void Make(skin::GpStringFormat& w) { w.Create(0x1004, 0); }
  static skin::gdip::StringFormat* Raw() {
    skin::gdip::StringFormat* f = nullptr;
    skin::gdip::CreateStringFormat(0, 0, &f);
    return f;
  }
};

template <class W>
class HandleWrappers : public Wrappers {};
using WrapperKinds = ::testing::Types<skin::GpFontFamily, skin::GpFont, skin::GpStringFormat>;
TYPED_TEST_SUITE(HandleWrappers, WrapperKinds);

TYPED_TEST(HandleWrappers, ReleaseWhatTheyHoldExactlyOnce) {
  {
    TypeParam a;
    Kind<TypeParam>::Make(a);
    ASSERT_NE(a.GetHandle(), nullptr);
    EXPECT_EQ(this->Made(), 1);
    a.Delete();
    a.Delete();  // a second delete releases nothing
    EXPECT_EQ(a.GetHandle(), nullptr);
    EXPECT_EQ(this->Made(), 0);

    // Resetting to the object held already keeps it; to another releases
    // the old one.
    Kind<TypeParam>::Make(a);
    auto* held = a.GetHandle();
    a.Reset(held);
    EXPECT_EQ(a.GetHandle(), held);
    EXPECT_EQ(this->Made(), 1);
    a.Reset(Kind<TypeParam>::Raw());
    EXPECT_NE(a.GetHandle(), held);
    EXPECT_EQ(this->Made(), 1);

    // Moving hands the object over; the moved-from wrapper is empty.
    TypeParam c(std::move(a));
    EXPECT_EQ(a.GetHandle(), nullptr);  // NOLINT(bugprone-use-after-move)
    EXPECT_NE(c.GetHandle(), nullptr);
    TypeParam d;
    Kind<TypeParam>::Make(d);
    EXPECT_EQ(this->Made(), 2);
    d = std::move(c);  // d's own object goes
    EXPECT_EQ(this->Made(), 1);
    d = std::move(d);  // NOLINT: self-move keeps it
    EXPECT_EQ(this->Made(), 1);
  }
  EXPECT_EQ(this->Made(), 0);
}

static_assert(!std::is_copy_constructible_v<skin::GpFont>);
static_assert(!std::is_copy_assignable_v<skin::GpStringFormat>);
static_assert(!std::is_copy_constructible_v<skin::GlobalMemoryStream>);
static_assert(std::is_nothrow_move_constructible_v<skin::GpFontFamily>);

TEST_F(Wrappers, MemoryStreamsOwnTheirBlockAndStreamInBothModes) {
  const std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5};
  {
    skin::GlobalMemoryStream copy;
    ASSERT_NE(copy.Create(bytes, true), nullptr);
    EXPECT_EQ(copy.GetSize(), 5u);
    EXPECT_EQ(copy.GetBytes(), bytes);
    EXPECT_EQ(Made(), 2);  // block and stream

    skin::GlobalMemoryStream empty;
    ASSERT_NE(empty.Create({}, true), nullptr);  // a zero-sized block
    EXPECT_EQ(empty.GetSize(), 0u);

    skin::GlobalMemoryStream growing;
    ASSERT_NE(growing.Create(bytes, false), nullptr);  // the bytes are not used
    EXPECT_EQ(growing.GetSize(), 0u);
    ASSERT_EQ(skin::gdip::WriteStream(growing.GetStream(), bytes), Status::Ok);
    EXPECT_EQ(growing.GetBytes(), bytes);
    // The growing stream frees its own block; freeing twice frees nothing.
    growing.Free();
    growing.Free();
    EXPECT_EQ(growing.GetStream(), nullptr);
    EXPECT_EQ(Made(), 4);

    skin::GlobalMemoryStream moved(std::move(copy));
    EXPECT_EQ(copy.GetStream(), nullptr);  // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(moved.GetBytes(), bytes);
    moved = std::move(empty);
    EXPECT_EQ(Made(), 2);
    ASSERT_NE(moved.Create(bytes, true), nullptr);  // a new one replaces the old
    EXPECT_EQ(Made(), 2);
  }
  EXPECT_EQ(Made(), 0);
}

// ---- Fonts from GDI fonts ----------------------------------------------------------

struct FontCase {
  const char* name;
  int height;
  int weight;
  std::uint8_t italic;
  std::uint8_t underline;
  std::uint8_t strikeOut;
  std::string face;
  bool made;
  float size;
  int style;
};

class FontsFromGdi : public Wrappers, public ::testing::WithParamInterface<FontCase> {};

TEST_P(FontsFromGdi, TakeStyleSizeAndFace) {
  const FontCase& c = GetParam();
  skin::LogFont log;
  log.height = c.height;
  log.weight = c.weight;
  log.italic = c.italic;
  log.underline = c.underline;
  log.strikeOut = c.strikeOut;
  std::memcpy(log.faceName, c.face.data(), std::min(c.face.size(), sizeof log.faceName));
  skin::GpFont font;
  ASSERT_EQ(font.Create(kSong, 9, 0, skin::gdip::Unit::Point), Status::Ok);
  skin::gdip::Font* made = font.CreateFromHFont(&log);
  if (!c.made) {
    // A face that cannot be found: no font, and the old one is gone too.
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(font.GetHandle(), nullptr);
    EXPECT_EQ(Made(), 0);
    return;
  }
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made, font.GetHandle());
  EXPECT_EQ(Made(), 1);  // the old font went, the temporary family too
  float size = 0;
  int style = -1;
  skin::gdip::Unit unit = skin::gdip::Unit::World;
  font.GetSize(&size);
  font.GetStyle(&style);
  font.GetUnit(&unit);
  EXPECT_EQ(size, c.size);
  EXPECT_EQ(style, c.style);
  EXPECT_EQ(unit, skin::gdip::Unit::Pixel);
}

const std::string kFace32(32, 'F');  // "FFFF...": no zero byte in the field

INSTANTIATE_TEST_SUITE_P(
    Table, FontsFromGdi,
    ::testing::Values(FontCase{"NegativeHeight", -12, 400, 0, 0, 0, kSong, true, 12, 0},
                      FontCase{"PositiveHeight", 16, 400, 0, 0, 0, kSong, true, 16, 0},
                      FontCase{"HeightZeroIsTheDefaultSize", 0, 400, 0, 0, 0, kSong, true, 12, 0},
                      FontCase{"Weight599", -12, 599, 0, 0, 0, kSong, true, 12, 0},
                      FontCase{"Weight600", -12, 600, 0, 0, 0, kSong, true, 12, 1},
                      FontCase{"Weight800", -12, 800, 0, 0, 0, kSong, true, 12, 1},
                      FontCase{"Weight900", -12, 900, 0, 0, 0, kSong, true, 12, 1},
                      FontCase{"AnyNonZeroByteCounts", -12, 400, 2, 255, 1, kSong, true, 12, 14},
                      FontCase{"AFaceFillingItsField", -12, 700, 1, 0, 0, "Face" + kFace32, true,
                               12, 3},
                      FontCase{"UnknownFace", -12, 400, 0, 0, 0, "NoSuchFont", false, 0, 0}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(Wrappers, NoGdiFontOrTheDefaultFontMakesNothingAndKeepsTheOldFont) {
  fw::RegisterForm(fw::WindowDef("W", "", 100, 50)
                       .Units({
                           fw::EditBox("默认", {0, 0, 50, 20}),
                           fw::EditBox("宋体框", {0, 20, 50, 20})
                               .WithFont(fw::Font{"宋体", 14, fw::FontUnit::Pixels, true}),
                       }));
  fw::Window& w = fw::GetWindow("W");
  w.Load();
  skin::GpFont font;
  font.Create(kSong, 9, 0, skin::gdip::Unit::Point);
  skin::gdip::Font* old = font.GetHandle();
  EXPECT_EQ(font.CreateFromHFont(nullptr), nullptr);
  EXPECT_EQ(font.CreateFromWindow(skin::HandleOf(*w.Find("默认"))), nullptr);
  EXPECT_EQ(font.GetHandle(), old);
  skin::gdip::Font* made = font.CreateFromWindow(skin::HandleOf(*w.Find("宋体框")));
  ASSERT_NE(made, nullptr);
  float size = 0;
  int style = 0;
  font.GetSize(&size);
  font.GetStyle(&style);
  EXPECT_EQ(size, 14);
  EXPECT_EQ(style, 1);
  EXPECT_EQ(Made(), 1);
}

TEST_F(Wrappers, FamiliesAndFontsOfUnknownNamesAreNotMade) {
  skin::GpFontFamily family;
  EXPECT_EQ(family.Create("Nowhere"), Status::FontFamilyNotFound);
  EXPECT_EQ(family.GetHandle(), nullptr);
  skin::SetTextRasteriser(nullptr);  // no font engine at all
  EXPECT_EQ(family.Create(kSong), Status::FontFamilyNotFound);
  EXPECT_EQ(Made(), 0);
}

TEST_F(Wrappers, AnsiToWideEndsWithAZero) {
  EXPECT_EQ(skin::AnsiToWide(""), std::u16string(1, u'\0'));
  EXPECT_EQ(skin::AnsiToWide(kSong), std::u16string(u"宋体\0", 3));
}

}  // namespace
}  // namespace skin_test
