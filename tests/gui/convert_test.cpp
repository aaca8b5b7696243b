// The conversions of the Qt backend: edit-box text mirroring and the index
// of a long box's text, colours, fonts and the choice of the platform
// plugin.
#include "framework/qt/convert.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <string>

#include "framework/qt/qt_backend.h"
#include "framework/qt/text_index.h"
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

// ---- The index of a long box's text --------------------------------------

using fw::qt::TextIndex;

// What the index holds after a splice, against the mirror's reading of the
// whole new text: as many characters, and the part it read anew where the
// whole text has it.
void ExpectIndexShows(const TextIndex& index, const std::optional<TextIndex::ShownPart>& part,
                      const std::string& gbk) {
  const QString whole = TextMirror(true).Reset(gbk);
  ASSERT_EQ(index.ShownLength(), whole.size());
  ASSERT_TRUE(part.has_value());
  EXPECT_EQ(whole.mid(part->at, part->text.size()), part->text);
}

// A piece of the index ends after a byte below 0x40, here the 512th: a
// splice next to such an edge that joins what lies on either side of it
// (a CR and an LF, a lead byte and a trail byte), or parts a CR LF, reads
// the pieces on both sides anew.
TEST(TextIndexEdges, CharactersJoinAndPartWherePiecesMeet) {
  const std::string head(511, 'a');
  const std::string shorter(510, 'a');
  struct Splice {
    const char* name;
    std::string before;
    std::size_t offset, removed;
    std::string inserted;
  };
  const Splice splices[] = {
      {"DeletedBetweenCrAndLf", head + "\rX\nb", 512, 1, ""},
      {"LfTypedAfterCr", head + "\rXb", 512, 0, "\n"},
      {"CrLfParted", head + "\r\nb", 512, 0, "X"},
      {"DeletedBeforeTheEdgeBetweenCrAndLf", shorter + "\r1\nb", 511, 1, ""},
      {"DeletedBeforeTheEdgeBetweenLeadAndTrail",
       shorter + "\x81"
                 "1@b",
       511, 1, ""},
  };
  for (const Splice& s : splices) {
    TextIndex index;
    index.Reset(s.before);
    std::string after = s.before;
    after.replace(s.offset, s.removed, s.inserted);
    SCOPED_TRACE(s.name);
    ExpectIndexShows(index, index.Splice(after, s.offset, s.removed, s.inserted.size()), after);
  }
}

class TextIndexChanges : public ::testing::Test {
 protected:
  void SetUp() override { gui_test::App(); }
  int Next(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(rng_); }
  template <class T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Next(static_cast<int>(N))];
  }
  std::mt19937 rng_{7};
};

// Random model splices over texts of many pieces, each followed by random
// user edits of what the box shows, reported exactly and over a wider
// window as Qt may report them: the index gives the model change that the
// mirror's reading of the whole document gives. The index reads the text
// in two parts, split at a random place, as an edit holds it around the
// gap where the user last typed.
TEST_F(TextIndexChanges, AgreeWithTheMirrorOverTheWholeText) {
  const std::string bytes[] = {"a", "\t", "\r", "\n", "\r\n", Gbk("中"), "\xFF", "\x81", "@", "12"};
  const QString typed[] = {Q("a"), Q("\n"), Q("中"), Q("\u2603"), Q("\u2028"), Q("1\n2")};
  auto randomText = [&](int most) {
    std::string t;
    for (int n = Next(most + 1); n > 0; --n) t += Pick(bytes);
    return t;
  };
  auto parts = [&](const std::string& text) {
    const auto cut = static_cast<std::size_t>(Next(static_cast<int>(text.size()) + 1));
    return fw::qt::TwoParts(
        {std::string_view(text).substr(0, cut), std::string_view(text).substr(cut)});
  };
  for (int round = 0; round < 40; ++round) {
    std::string text = randomText(1500);
    TextIndex index;
    index.Reset(parts(text));
    for (int step = 0; step < 20; ++step) {
      SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step));
      // The program's splice.
      const auto offset = static_cast<std::size_t>(Next(static_cast<int>(text.size()) + 1));
      const auto removed = static_cast<std::size_t>(
          Next(static_cast<int>(std::min<std::size_t>(text.size() - offset, 40)) + 1));
      const std::string inserted = randomText(6);
      text.replace(offset, removed, inserted);
      ExpectIndexShows(index, index.Splice(parts(text), offset, removed, inserted.size()), text);
      if (HasFatalFailure()) return;

      // The user's edit, as the mirror of the whole text reads it.
      TextMirror mirror(true);
      const QString shown = mirror.Reset(text);
      const int n = static_cast<int>(shown.size());
      const int at = Next(n + 1);
      const int cut = Next(std::min(n - at, 8) + 1);
      QString added;
      for (int k = Next(4); k > 0; --k) added += Pick(typed);
      const QString now = shown.left(at) + added + shown.mid(at + cut);
      QTextDocument doc;
      doc.setPlainText(now);
      const std::string expected = mirror.Update(now);
      const int a = static_cast<int>(added.size());
      // Exactly; from the start of the text to its end; taking in the
      // closing paragraph separator.
      const int before = Next(at + 1);
      const int after = Next(n - at - cut + 1);
      const TextIndex::BoxChange reports[] = {
          {at, cut, a},
          {at - before, cut + before + after, a + before + after},
          {0, n + 1, static_cast<int>(now.size()) + 1},
      };
      for (const TextIndex::BoxChange& report : reports) {
        const std::optional<TextIndex::ModelChange> change =
            index.UserChange(parts(text), report, doc);
        ASSERT_TRUE(change.has_value())
            << report.at << " " << report.removed << " " << report.added;
        std::string result = text;
        result.replace(change->offset, change->removed, change->inserted);
        EXPECT_EQ(result, expected) << report.at << " " << report.removed << " " << report.added;
      }
    }
  }
}

// A report that does not fit the text or the document gives no change.
TEST_F(TextIndexChanges, ReportsThatDoNotFitGiveNothing) {
  const std::string text = "ab\r\ncd";
  TextIndex index;
  index.Reset(text);
  QTextDocument doc;
  doc.setPlainText(Q("ab\ncxd"));
  EXPECT_TRUE(index.UserChange(text, {4, 0, 1}, doc).has_value());
  EXPECT_FALSE(index.UserChange(text, {4, 0, 2}, doc).has_value());  // lengths disagree
  EXPECT_FALSE(index.UserChange(text, {6, 0, 1}, doc).has_value());  // past the end
  EXPECT_FALSE(index.UserChange(text.substr(0, 5), {4, 0, 1}, doc).has_value());  // another text
  EXPECT_FALSE(index.Splice(text.substr(0, 2), 3, 0, 0).has_value());
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
