// The conversions of the Qt backend: edit-box text mirroring, colours,
// fonts and the choice of the platform plugin.
#include "framework/qt/convert.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "framework/qt/qt_backend.h"
#include "gui_fixture.h"
#include "tests/test_names.h"

namespace {

using fw::qt::TextMirror;
using gui_test::Gbk;

QString Q(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// ---- What a box shows for a model text --------------------------------

struct ShownCase {
  const char* name;
  std::string model;  // GBK
  bool multiline;
  QString shown;
};

class MirrorShows : public ::testing::TestWithParam<ShownCase> {};

TEST_P(MirrorShows, OneLineBreakPerModelLineBreak) {
  const ShownCase& c = GetParam();
  TextMirror m(c.multiline);
  EXPECT_EQ(m.Reset(c.model), c.shown);
  EXPECT_EQ(m.model(), c.model);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MirrorShows,
    ::testing::Values(ShownCase{"CrLf", "a\r\nb", true, Q("a\nb")},
                      ShownCase{"EveryKind", "a\nb\rc\r\nd", true, Q("a\nb\nc\nd")},
                      ShownCase{"CrBeforeCrLf", "\r\r\n", true, Q("\n\n")},
                      ShownCase{"Gbk", Gbk("中文\t数据"), true, Q("中文\t数据")},
                      ShownCase{"SingleLineKeepsCrLf", "a\r\nb", false, Q("a\r\nb")},
                      ShownCase{"Empty", "", true, QString()}),
    [](const auto& p) { return std::string(p.param.name); });

// ---- What a user edit makes of the model text ---------------------------

struct EditCase {
  const char* name;
  std::string before;  // GBK model text
  QString after;       // what the box shows after the user's edit
  std::string model;   // GBK model text expected
};

class MirrorEdits : public ::testing::TestWithParam<EditCase> {};

TEST_P(MirrorEdits, OnlyTheChangedPartIsConverted) {
  const EditCase& c = GetParam();
  TextMirror m(true);
  m.Reset(c.before);
  EXPECT_EQ(m.Update(c.after), c.model);
  EXPECT_EQ(m.model(), c.model);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MirrorEdits,
    ::testing::Values(EditCase{"TypedAtEnd", "a\r\nb", Q("a\nbc"), "a\r\nbc"},
                      EditCase{"OtherBreaksKeepTheirKind", "a\nb\rc\r\nd", Q("a\nbX\nc\nd"),
                               "a\nbX\rc\r\nd"},
                      EditCase{"EnterGivesCrLf", "a\r\nb", Q("a\n\nb"), "a\r\n\r\nb"},
                      EditCase{"EnterAfterLoneLf", "x\ny", Q("x\ny\n"), "x\ny\r\n"},
                      EditCase{"LoneCrDeleted", "a\rb", Q("ab"), "ab"},
                      EditCase{"PasteOverAll", "old\r\n", Q("new\nline"), "new\r\nline"},
                      EditCase{"ParagraphSeparator", "a\r\nb", Q("a\u2029bc"), "a\r\nbc"},
                      EditCase{"LineSeparator", "ab", Q("a\u2028b"), "a\r\nb"},
                      EditCase{"GbkTyped", "", Q("技能"), Gbk("技能")},
                      EditCase{"NotInGbk", "ab", Q("a\u2603b"), "a?b"},
                      EditCase{"DeleteInsideGbk", Gbk("中文字"), Q("中字"), Gbk("中字")}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(Mirror, UnchangedTextRoundTripsByteForByte) {
  const std::string model =
      "[level info]\r\n\t1\t2\r\nlone lf\nlone cr\r" + Gbk("技能名称") + "\r\n\xFF\x81\r\n\r\n";
  TextMirror m(true);
  const QString shown = m.Reset(model);
  EXPECT_EQ(m.Update(shown), model);
  // A Qt document hands blocks back separated by U+2029.
  QString raw = shown;
  raw.replace(QLatin1Char('\n'), QChar::ParagraphSeparator);
  EXPECT_EQ(m.Update(raw), model);
}

TEST(Mirror, InvalidBytesOutsideTheEditAreKept) {
  TextMirror m(true);
  const QString shown = m.Reset("ab\x81\r\n\xFF");
  EXPECT_EQ(m.Update(QStringLiteral("X") + shown), "Xab\x81\r\n\xFF");
}

TEST(Mirror, MergedLineBreaksShowWhatTheModelHolds) {
  // Deleting the X between a lone CR and a lone LF makes one CR LF.
  TextMirror m(true);
  m.Reset("a\rX\nb");
  EXPECT_EQ(m.Update(Q("a\n\nb")), "a\r\nb");
  EXPECT_EQ(m.shown(), Q("a\nb"));
}

// A box whose model starts empty shows its first text without a reset.
TEST(Mirror, TheFirstTypingIntoABoxThatStartedEmpty) {
  for (bool multiline : {false, true}) {
    TextMirror m(multiline);
    EXPECT_EQ(m.Update(Q("斩")), Gbk("斩"));
    EXPECT_EQ(m.Update(Q("斩a")), Gbk("斩") + "a");
  }
}

TEST(Mirror, SingleLineEditsMapOneToOne) {
  TextMirror m(false);
  m.Reset("a\rb");
  EXPECT_EQ(m.Update(Q("a\rbc")), "a\rbc");
}

TEST(SplitGbk, CountsCharactersAsTheBoxesDo) {
  const auto chars = fw::qt::SplitGbk(Gbk("中") + "a\r\nb\rc\n\xFF");
  struct Want {
    int offset, length;
    bool lineBreak;
  };
  const Want want[] = {{0, 2, false}, {2, 1, false}, {3, 2, true}, {5, 1, false},
                       {6, 1, true},  {7, 1, false}, {8, 1, true}, {9, 1, false}};
  ASSERT_EQ(chars.size(), std::size(want));
  for (std::size_t i = 0; i < chars.size(); ++i) {
    EXPECT_EQ(chars[i].offset, want[i].offset) << i;
    EXPECT_EQ(chars[i].length, want[i].length) << i;
    EXPECT_EQ(chars[i].lineBreak, want[i].lineBreak) << i;
  }
}

// ---- Colours ---------------------------------------------------------------

struct ColourCase {
  fw::Colour model;
  int r, g, b;
};

class Colours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(Colours, BgrBytesBecomeRgb) {
  const ColourCase& c = GetParam();
  const QColor q = fw::qt::ToQColor(c.model);
  ASSERT_TRUE(q.isValid());
  EXPECT_EQ(q.red(), c.r);
  EXPECT_EQ(q.green(), c.g);
  EXPECT_EQ(q.blue(), c.b);
}

INSTANTIATE_TEST_SUITE_P(Cases, Colours,
                         ::testing::Values(ColourCase{0x000000FF, 255, 0, 0},
                                           ColourCase{0x00FF0000, 0, 0, 255},
                                           ColourCase{0x00008000, 0, 128, 0},
                                           ColourCase{0x00800080, 128, 0, 128},
                                           ColourCase{0x00ECECEC, 236, 236, 236}),
                         [](const auto& test) {
                           char name[16];
                           std::snprintf(name, sizeof name, "Bgr%06X", test.param.model);
                           return std::string(name);
                         });

TEST(ColoursUnset, NotAColourLeavesTheDefault) {
  EXPECT_FALSE(fw::qt::ToQColor(fw::kDefaultColour).isValid());
  EXPECT_FALSE(fw::qt::ToQColor(0x01000000u).isValid());
}

// ---- Fonts -----------------------------------------------------------------

class Fonts : public ::testing::Test {
 protected:
  void SetUp() override { gui_test::App(); }
};

TEST_F(Fonts, SongTiIsTheInstalledCjkFont) {
  ASSERT_FALSE(fw::qt::CjkFamily().isEmpty()) << "no CJK font installed";
  fw::Font f;
  f.face = Gbk("宋体");
  f.size = 14;
  f.unit = fw::FontUnit::Pixels;
  f.bold = true;
  const QFont q = fw::qt::ToQFont(f, QApplication::font());
  EXPECT_EQ(q.family(), fw::qt::CjkFamily());
  EXPECT_EQ(q.pixelSize(), 14);
  EXPECT_TRUE(q.bold());
  EXPECT_TRUE(QFontInfo(q).family().contains(QStringLiteral("WenQuanYi")) ||
              QFontInfo(q).family() == fw::qt::CjkFamily());
}

TEST_F(Fonts, SizesStylesAndFallbacks) {
  fw::Font f;
  f.size = 11;
  f.italic = true;
  f.underline = true;
  QFont q = fw::qt::ToQFont(f, QApplication::font());
  EXPECT_EQ(q.family(), QApplication::font().family());  // no face: the default
  EXPECT_DOUBLE_EQ(q.pointSizeF(), 11);
  EXPECT_TRUE(q.italic());
  EXPECT_TRUE(q.underline());
  f.face = "NoSuchFaceAnywhere";
  q = fw::qt::ToQFont(f, QApplication::font());
  EXPECT_EQ(q.family(), fw::qt::CjkFamily());
}

TEST_F(Fonts, TheApplicationFontShowsChinese) {
  EXPECT_EQ(QApplication::font().family(), fw::qt::CjkFamily());
  EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
}

// ---- Platform choice -------------------------------------------------------

struct PlatformCase {
  const char* qpa;
  const char* session;
  const char* wayland;
  const char* choice;
};

class Platform : public ::testing::TestWithParam<PlatformCase> {};

TEST_P(Platform, WaylandSessionsStartOnXWayland) {
  const PlatformCase& c = GetParam();
  EXPECT_EQ(fw::qt::ChoosePlatform(c.qpa, c.session, c.wayland), c.choice);
}

INSTANTIATE_TEST_SUITE_P(Cases, Platform,
                         ::testing::Values(PlatformCase{"", "wayland", "", "xcb;wayland"},
                                           PlatformCase{"", "", "wayland-0", "xcb;wayland"},
                                           PlatformCase{"wayland", "wayland", "wayland-0", ""},
                                           PlatformCase{"offscreen", "", "", ""},
                                           PlatformCase{"", "x11", "", ""},
                                           PlatformCase{"", "", "", ""}),
                         [](const auto& test) {
                           const PlatformCase& c = test.param;
                           return "Qpa" + test_names::Escaped(c.qpa) + "Session" +
                                  test_names::Escaped(c.session) + "Wayland" +
                                  test_names::Escaped(c.wayland);
                         });

}  // namespace
