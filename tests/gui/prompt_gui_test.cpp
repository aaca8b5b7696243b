// The prompt box and its decoration through the real widgets: a picture of
// an open prompt with the figure beside it, the keys, following MainWindow
// where the window system puts it, and the text of the skinned-window
// module drawn by Qt.
#include <QDir>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "app/prompt.h"
#include "child_program.h"
#include "forms.h"
#include "gui_fixture.h"
#include "skin/children.h"
#include "skin/module.h"
#include "skin/png_skin.h"
#include "skin/text.h"

namespace {

using namespace gui_test;

class PromptGui : public ChildProgramTest {};

TEST_F(PromptGui, AnOpenPromptWithItsDecorationIsAnsweredWithEnter) {
  const QString path = QStringLiteral(SE_SCREENSHOT_DIR "/prompt_box.png");
  EXPECT_EXIT(RunEditor([path] {
                const auto open = WhenThePromptStandsOpen([path] {
                  QWidget* prompt = Win("PromptWindow");
                  QWidget* figure = Win("PromptBackdropWindow");
                  CHILD_CHECK(prompt != nullptr && figure != nullptr);
                  if (prompt == nullptr || figure == nullptr) return;
                  CHILD_CHECK(prompt->size() == QSize(320, 121));
                  CHILD_CHECK(figure->pos() == prompt->pos() - QPoint(198, 124));
                  CHILD_CHECK(figure->testAttribute(Qt::WA_TranslucentBackground));
                  CHILD_CHECK(figure->windowFlags() & Qt::WindowStaysOnTopHint);
                  CHILD_CHECK(figure->windowFlags() & Qt::WindowTransparentForInput);
                  CHILD_CHECK(figure->windowFlags() & Qt::WindowDoesNotAcceptFocus);
                  CHILD_CHECK(figure->isVisible());
                  QDir().mkpath(QStringLiteral(SE_SCREENSHOT_DIR));
                  const QImage shot = Composed();
                  CHILD_CHECK(shot.save(path));
                  QTest::keyClick(prompt, Qt::Key_Return);
                });
                const int result =
                    app::ShowPromptBox(Gbk("第一行"), Gbk("技能数据已复制！"), Gbk("第三行"), true);
                CHILD_CHECK(result == 1);
                // The figure goes at most 50 ms after the box.
                fw::DelayWithMessages(60);
                CHILD_CHECK(!fw::GetWindow("PromptBackdropWindow").IsLoaded());
              }),
              ::testing::ExitedWithCode(0), "");
  const QImage shot(path);
  ASSERT_FALSE(shot.isNull()) << path.toStdString();
  // The box centred on the editor: its green title bar and white body; the
  // figure's head left of and above the box.
  const QPoint box(961 / 2 - 160, 597 / 2 - 60);
  EXPECT_EQ(shot.pixelColor(box + QPoint(200, 10)), QColor(0, 128, 0));
  EXPECT_EQ(shot.pixelColor(box + QPoint(300, 100)), QColor(255, 255, 255));
  const QPoint figure = box - QPoint(198, 124);
  const QColor face = shot.pixelColor(figure + QPoint(106, 82));
  EXPECT_GT(face.red(), 200);
  EXPECT_GT(face.red(), face.green());
  EXPECT_GT(face.green(), face.blue());
}

TEST_F(PromptGui, EscapeCancelsAndTheNextPromptCentresWhereTheWindowSystemPutMainWindow) {
  EXPECT_EXIT(RunEditor([] {
                QWidget* main = Win("MainWindow");
                // Only the program sizes the editor.
                CHILD_CHECK(main->minimumSize() == QSize(961, 597));
                CHILD_CHECK(main->maximumSize() == QSize(961, 597));
                main->windowHandle()->setPosition(123, 45);
                const fw::Window& model = fw::GetWindow("MainWindow");
                for (int i = 0; i < 100 && model.Left() != 123; ++i) fw::DelayWithMessages(10);
                CHILD_CHECK(model.Left() == 123 && model.Top() == 45);

                QRect shown;
                const auto open = WhenThePromptStandsOpen([&] {
                  shown = Win("PromptWindow")->geometry();
                  QTest::keyClick(Win("PromptWindow"), Qt::Key_Escape);
                });
                const int result = app::ShowPromptBox({}, Gbk("确认修改？"), {}, true);
                CHILD_CHECK(result == 0);
                // 123 + 480.5 - 160 and 45 + 298.5 - 60, truncated.
                CHILD_CHECK(shown == QRect(443, 283, 320, 121));
              }),
              ::testing::ExitedWithCode(0), "");
}

// Where a text of `colour` on `ground` shows inside `area` of `image`: the
// bounding box of the pixels that lie between the two colours, at least a
// third of the way (the glyphs and their stronger antialiased edges; the
// faintest edges of a text of another colour would pass for any colour),
// or an empty box.
QRect Ink(const QImage& image, const QRect& area, QColor colour, QColor ground) {
  const int dr = colour.red() - ground.red();
  const int dg = colour.green() - ground.green();
  const int db = colour.blue() - ground.blue();
  const int span = std::max({std::abs(dr), std::abs(dg), std::abs(db)});
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor p = image.pixelColor(x, y);
      if (p.rgb() == ground.rgb()) continue;
      // How far from the ground toward the colour, by the channel that
      // differs most; every channel must agree.
      const double a = std::abs(dr) == span   ? (p.red() - ground.red()) / double(dr)
                       : std::abs(dg) == span ? (p.green() - ground.green()) / double(dg)
                                              : (p.blue() - ground.blue()) / double(db);
      if (a < 0.1 || a > 1.05) continue;
      auto near = [a](int got, int from, int delta) {
        return std::abs(got - (from + a * delta)) <= 8;
      };
      if (!near(p.red(), ground.red(), dr) || !near(p.green(), ground.green(), dg) ||
          !near(p.blue(), ground.blue(), db))
        continue;
      box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// The size of `text` drawn with `font` where nothing cuts it.
QSize UncutInk(const QString& text, const QFont& font, QColor colour, QColor ground) {
  QImage canvas(900, 120, QImage::Format_RGB32);
  canvas.fill(ground);
  {
    QPainter p(&canvas);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QPoint(40, 70), text);
  }
  return Ink(canvas, canvas.rect(), colour, ground).size();
}

// Every text of the prompt box shows whole: the title, whose label begins 3
// pixels left of the window, and the three lines, whose labels are lower
// than the font's line, with the descenders of g, j, p, q and y.
TEST_F(PromptGui, NoTextOfThePromptIsCut) {
  EXPECT_EXIT(RunEditor([] {
                const auto open = WhenThePromptStandsOpen([] {
                  QWidget* prompt = Win("PromptWindow");
                  const QImage shot = prompt->grab().toImage();
                  struct Text {
                    const char* unit;
                    QRect area;  // where its glyphs may show, inside the borders
                    QColor colour;
                    QColor ground;
                  };
                  const QColor green(0, 128, 0);
                  const QColor white(255, 255, 255);
                  for (const Text& t : {Text{"标签1", {0, 0, 320, 24}, white, green},
                                        Text{"第一行", {3, 25, 314, 24}, QColor(255, 0, 0), white},
                                        Text{"第二行", {3, 44, 314, 24}, green, white},
                                        Text{"第三行", {3, 63, 314, 24}, QColor(0, 0, 0), white}}) {
                    auto* label = W<QLabel>("PromptWindow", t.unit);
                    const QSize whole = UncutInk(label->text(), label->font(), t.colour, t.ground);
                    const QSize shown = Ink(shot, t.area, t.colour, t.ground).size();
                    if (shown != whole) {
                      Failures().push_back(std::string(t.unit) + " shows " +
                                           std::to_string(shown.width()) + " x " +
                                           std::to_string(shown.height()) + " of its text's " +
                                           std::to_string(whole.width()) + " x " +
                                           std::to_string(whole.height()) + " pixels");
                    }
                  }
                  LeavePicture(shot, QStringLiteral("prompt_texts"), __LINE__);
                  QTest::keyClick(prompt, Qt::Key_Return);
                });
                app::ShowPromptBox(Gbk("jgpqy 第一行"), Gbk("Qgjpqy技能数据已复制！"),
                                   Gbk("gyp|技能"), false);
              }),
              ::testing::ExitedWithCode(0), "");
}

class SkinText : public GuiTest {};

// The module's text comes from Qt while the backend lives: 宋体 is the
// installed CJK font, and glyphs land inside the layout rectangle only.
TEST_F(SkinText, TheQtBackendDrawsTheModulesText) {
  skin::TextRasteriser* text = skin::CurrentTextRasteriser();
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->HasFamily("宋体"));
  EXPECT_FALSE(text->HasFamily("No Such Family At All"));
  std::vector<std::uint32_t> pixels(60 * 20, 0u);
  skin::TextRun run;
  run.text = u"提示信息";
  run.style.family = "宋体";
  run.style.pixels = 12;
  run.x = 2;
  run.y = 2;
  run.width = 30;  // the text is wider: it is cut here
  run.height = 16;
  run.lineAlign = 1;
  run.noWrap = true;
  run.colour = 0xFFFF0000u;
  text->Draw(pixels, 60, 20, run);
  int inside = 0;
  int outside = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 60; ++x) {
      if ((pixels[static_cast<std::size_t>(y * 60 + x)] >> 24) == 0) continue;
      (x >= 2 && x < 32 && y >= 2 && y < 18 ? inside : outside) += 1;
    }
  }
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
  EXPECT_GT(text->Advance(u"提示", run.style), 20.0f);
  EXPECT_GT(text->LineHeight(run.style), 10.0f);
}

// The pictures of a skinned button: discs, transparent around them.
constexpr QRgb kNormal = 0xFFC80000u;
constexpr QRgb kHover = 0xFF00C800u;
constexpr QRgb kPressed = 0xFF0000C8u;
constexpr QRgb kDisabled = 0xFF808080u;

// A window "Skinned" of one skinned button, 40 x 20 at (10, 10), with its
// four pictures, attached to `skin`; the button's handle.
skin::Hwnd SkinnedButtonWindow(skin::PngSkin& skin) {
  fw::RegisterForm(fw::WindowDef("Skinned", "皮", 120, 60)
                       .At(100, 100)
                       .Units({fw::ButtonUnit("按钮", {10, 10, 40, 20}, "")})
                       .Bind({{"按钮", fw::Event::Clicked, &OnAnyEvent}}));
  fw::Window& window = fw::GetWindow("Skinned");
  if (!window.Load()) return 0;
  skin::ResetSkinState();
  skin::InitSkinModule();
  const skin::Hwnd button = skin::HandleOf(*window.Find("按钮"));
  auto picture = [](QRgb colour) {
    const fw::Image image = DiscPicture(40, QColor::fromRgba(colour));
    return skin::LoadImageFromBytes(image.bytes);
  };
  skin::SetProp(button, skin::kTypeProperty, skin::kSkinButton);
  skin::SetProp(button, "PngControl_BackType", 1);
  skin::SetProp(button, "PngControl_NormalImage", picture(kNormal));
  skin::SetProp(button, "PngControl_OverlImage", picture(kHover));
  skin::SetProp(button, "PngControl_DownImage", picture(kPressed));
  skin::SetProp(button, "PngControl_DisableImage", picture(kDisabled));
  if (!skin.Attach(skin::HandleOf(window))) return 0;
  skin.SubclassChildren();
  return button;
}

// A skinned window shows only its frame; the real mouse reaches the skinned
// button drawn in it, which lights up and is clicked.
TEST_F(SkinText, TheMouseReachesASkinnedButtonInTheFrame) {
  skin::PngSkin skin;
  ASSERT_NE(SkinnedButtonWindow(skin), 0);
  fw::Window& window = fw::GetWindow("Skinned");
  Serve(20);
  QWidget* view = WindowWidget("Skinned");
  EXPECT_TRUE(view->testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_EQ(window.LayeredFrame().At(30, 20), kNormal);
  QTest::mouseMove(view->windowHandle(), QPoint(30, 20));
  Serve(20);
  EXPECT_EQ(window.LayeredFrame().At(30, 20), kHover);
  EXPECT_EQ(view->grab().toImage().pixel(30, 20), kHover);
  QTest::mouseClick(view->windowHandle(), Qt::LeftButton, {}, QPoint(30, 20));
  EXPECT_EQ(Count("按钮 Clicked"), 1);
  window.Destroy();
  skin::ResetSkinState();
}

// The two roads by which the program enables or disables a skinned button.
struct EnableRoad {
  const char* name;
  void (*enable)(skin::Hwnd button, bool enabled);
};

class SkinnedButtonDisabled : public GuiTest, public ::testing::WithParamInterface<EnableRoad> {};

// Disabled on either road, a skinned button shows its disabled picture and
// takes neither the hover nor a press until it is enabled again.
TEST_P(SkinnedButtonDisabled, ShowsItsDisabledPictureAndIgnoresThePointerUntilEnabled) {
  skin::PngSkin skin;
  const skin::Hwnd button = SkinnedButtonWindow(skin);
  ASSERT_NE(button, 0);
  fw::Window& window = fw::GetWindow("Skinned");
  QWidget* view = WindowWidget("Skinned");
  QWindow* native = view->windowHandle();
  const QPoint over(30, 20);
  const QPoint beside(100, 50);
  // The pointer comes over the button from beside it (Qt drops a move to
  // where the pointer is already).
  auto pointAtIt = [&] {
    QTest::mouseMove(native, beside);
    QTest::mouseMove(native, over);
  };
  // What the button shows there, in the frame and on the screen alike.
  auto shown = [&] {
    Serve(20);
    const QRgb frame = window.LayeredFrame().At(over.x(), over.y());
    EXPECT_EQ(view->grab().toImage().pixel(over), frame);
    return frame;
  };
  // A press and a release over the button; what it showed while pressed.
  auto pressed = [&] {
    QTest::mousePress(native, Qt::LeftButton, {}, over);
    const QRgb whilePressed = shown();
    QTest::mouseRelease(native, Qt::LeftButton, {}, over);
    return whilePressed;
  };
  Serve(20);
  pointAtIt();
  EXPECT_EQ(shown(), kHover);

  GetParam().enable(button, false);
  EXPECT_EQ(shown(), kDisabled);
  pointAtIt();
  EXPECT_EQ(shown(), kDisabled);
  EXPECT_EQ(pressed(), kDisabled);
  EXPECT_EQ(shown(), kDisabled);
  EXPECT_EQ(Count("按钮 Clicked"), 0);

  GetParam().enable(button, true);
  EXPECT_EQ(shown(), kNormal);
  pointAtIt();
  EXPECT_EQ(shown(), kHover);
  EXPECT_EQ(pressed(), kPressed);
  EXPECT_EQ(Count("按钮 Clicked"), 1);
  window.Destroy();
  skin::ResetSkinState();
}

INSTANTIATE_TEST_SUITE_P(Roads, SkinnedButtonDisabled,
                         ::testing::Values(EnableRoad{"ThroughTheFramework",
                                                      [](skin::Hwnd b, bool enabled) {
                                                        skin::ControlOf(b)->SetDisabled(!enabled);
                                                      }},
                                           EnableRoad{"ThroughTheModule",
                                                      [](skin::Hwnd b, bool enabled) {
                                                        skin::EnableWindow(b, enabled);
                                                      }}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
