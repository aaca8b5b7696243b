// The views of windows and units: placement and flags of windows,
// dragging, embedding, colours and fonts, edits that let the program act on
// a press first, rich edit formats and selection, tab pages, and windows
// destroyed from their own handlers.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include <functional>
#include <string>
#include <vector>

#include "forms.h"
#include "framework/units.h"

namespace {

using namespace gui_test;
using fw::Event;

constexpr fw::Colour kWhite = 0x00FFFFFFu;
constexpr fw::Colour kPurple = 0x00800080u;
constexpr fw::Colour kRed = 0x000000FFu;
constexpr fw::Colour kBlue = 0x00FF0000u;

void OnHintPress() {
  Note("press " + std::to_string(fw::CurrentEventArgs().x) + "," +
       std::to_string(fw::CurrentEventArgs().y));
  auto& edit = fw::Get<fw::Edit>("Main", "脚本");
  if (edit.Text().find("hint") != std::string::npos) edit.SetText("");
}

void OnCloseSelf() {
  fw::GetWindow("Tool").Destroy();
}

fw::Font SongTi(bool bold, double pixels) {
  fw::Font f;
  f.face = "宋体";
  f.size = pixels;
  f.unit = fw::FontUnit::Pixels;
  f.bold = bold;
  return f;
}

fw::WindowDef MainForm() {
  return fw::WindowDef("Main", "主窗口", 500, 300)
      .At(30, 40)
      .InTaskbar()
      .Draggable()
      .Minimisable()
      .Units({
          fw::LabelUnit("标题", {0, 0, 500, 24}, " 标题")
              .WithFont(SongTi(true, 14))
              .Colours(kWhite, kPurple),
          fw::PictureButtonUnit("关闭", {470, 0, 24, 24}, {}),
          fw::EditBox("脚本", {10, 30, 200, 100}, "the hint\r\nline 2").Multiline().CrLfLines(),
          fw::RichEditBox("说明", {220, 30, 200, 60}, "红色-动态，蓝色-静态\r\n第二行"),
          fw::TabsUnit("页", {10, 140, 200, 100}, {"一", "二"}),
          fw::ButtonUnit("页二按钮", {10, 40, 80, 24}, "二").OnPage("页", 1),
          fw::GroupBoxUnit("组", {220, 140, 150, 80}, "组").Colours(kRed),
          fw::RadioBox("选", {10, 20, 100, 20}, "选").In("组"),
      })
      .Bind({
          {"", Event::Moved, &OnAnyEvent},
          {"脚本", Event::LeftButtonDown, &OnHintPress},
          {"脚本", Event::RightButtonDown, &OnHintPress},
          {"说明", Event::LeftButtonUp, &OnAnyEvent},
          {"页", Event::TabChanged, &OnAnyEvent},
          {"关闭", Event::Clicked, &OnAnyEvent},
      });
}

fw::WindowDef ToolForm() {
  return fw::WindowDef("Tool", "工具", 120, 90)
      .At(600, 40)
      .OnTop()
      .Draggable()
      .Units({fw::ButtonUnit("关", {10, 10, 60, 24}, "关")})
      .Bind({{"关", Event::Clicked, &OnCloseSelf}});
}

class Views : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    fw::RegisterForm(MainForm());
    fw::RegisterForm(ToolForm());
    ASSERT_TRUE(fw::GetWindow("Main").Load());
    Log().clear();
  }
  fw::Window& Main() { return fw::GetWindow("Main"); }
};

TEST_F(Views, WindowsAreFramelessAtTheirModelPlaces) {
  QWidget* main = WindowWidget("Main");
  EXPECT_TRUE(main->isWindow());
  EXPECT_TRUE(main->isVisible());
  EXPECT_EQ(main->geometry(), QRect(30, 40, 500, 300));
  EXPECT_TRUE(main->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_NE(main->windowType(), Qt::Tool);  // a taskbar button
  EXPECT_EQ(main->windowTitle(), QStringLiteral(u"主窗口"));
  EXPECT_FALSE(main->windowFlags() & Qt::WindowStaysOnTopHint);

  ASSERT_TRUE(fw::GetWindow("Tool").Load());
  QWidget* tool = WindowWidget("Tool");
  EXPECT_EQ(tool->windowType(), Qt::Tool);  // no taskbar button
  EXPECT_TRUE(tool->windowFlags() & Qt::WindowStaysOnTopHint);

  Main().SetGeometry({-179, 5, 320, 121});
  EXPECT_EQ(main->geometry(), QRect(-179, 5, 320, 121));
  Main().SetWidth(1);
  EXPECT_EQ(main->width(), 1);
  Main().SetVisible(false);
  EXPECT_FALSE(main->isVisible());
}

TEST_F(Views, DraggedByTheBackgroundAndByLabelsThatTakeNoClicks) {
  QWindow* native = WindowWidget("Main")->windowHandle();
  // The caption label takes no clicks: the press reaches the window.
  QTest::mousePress(native, Qt::LeftButton, {}, QPoint(100, 10));
  QTest::mouseMove(native, QPoint(130, 30));
  // The pointer stays where it is on the screen while the window moves
  // under it.
  QTest::mouseRelease(native, Qt::LeftButton, {}, QPoint(100, 10));
  EXPECT_EQ(Main().Left(), 60);
  EXPECT_EQ(Main().Top(), 60);
  EXPECT_EQ(WindowWidget("Main")->pos(), QPoint(60, 60));
  EXPECT_GE(Count("Main Moved"), 1);
  // A press on a button does not drag.
  Log().clear();
  QTest::mousePress(native, Qt::LeftButton, {}, QPoint(480, 10));
  QTest::mouseMove(native, QPoint(400, 100));
  QTest::mouseRelease(native, Qt::LeftButton, {}, QPoint(400, 100));
  EXPECT_EQ(Main().Left(), 60);
  EXPECT_EQ(Count("Main Moved"), 0);
}

TEST_F(Views, EmbeddedWindowsAreChildWidgets) {
  ASSERT_TRUE(fw::GetWindow("Tool").Load());
  ASSERT_TRUE(fw::GetWindow("Tool").EmbedIn(Main(), 300, 150));
  QWidget* tool = WindowWidget("Tool");
  EXPECT_EQ(tool->parentWidget(), WindowWidget("Main"));
  EXPECT_FALSE(tool->isWindow());
  EXPECT_EQ(tool->geometry(), QRect(300, 150, 120, 90));
  EXPECT_TRUE(tool->isVisible());
  fw::GetWindow("Tool").SetWidth(3);
  EXPECT_EQ(tool->width(), 3);
  // Destroying the host removes both.
  Main().Destroy();
  EXPECT_FALSE(fw::GetWindow("Tool").IsLoaded());
  EXPECT_EQ(backend().WindowWidget(fw::GetWindow("Tool")), nullptr);
}

TEST_F(Views, ColoursAndFontsFollowTheModel) {
  auto* title = Widget<QLabel>("Main", "标题");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), QStringLiteral(u" 标题"));
  EXPECT_EQ(title->palette().color(QPalette::WindowText), QColor(255, 255, 255));
  EXPECT_EQ(title->palette().color(QPalette::Window), QColor(128, 0, 128));
  EXPECT_TRUE(title->autoFillBackground());
  EXPECT_EQ(title->font().family(), fw::qt::CjkFamily());
  EXPECT_TRUE(title->font().bold());
  EXPECT_EQ(title->font().pixelSize(), 14);

  // A group box's colour stays its own.
  auto* group = Widget<QGroupBox>("Main", "组");
  EXPECT_EQ(group->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  auto* radio = Widget("Main", "选");
  EXPECT_NE(radio->palette().color(QPalette::WindowText), QColor(255, 0, 0));

  fw::Get<fw::Label>("Main", "标题").SetBackColour(kBlue);
  EXPECT_EQ(title->palette().color(QPalette::Window), QColor(0, 0, 255));
  fw::Get<fw::Label>("Main", "标题").SetBackColour(fw::kDefaultColour);
  EXPECT_FALSE(title->autoFillBackground());
}

// A label lower than its font's line shows the whole line, descenders
// too, over what lies above and below it, but paints its ground over its
// own rectangle only.
TEST_F(Views, ALowLabelShowsItsWholeLineOnItsOwnGround) {
  fw::RegisterForm(fw::WindowDef("Low", "", 200, 80)
                       .At(30, 40)
                       .Background(kWhite)
                       .Units({fw::LabelUnit("标", {10, 30, 150, 10}, "gjpq 技能")
                                   .WithFont(SongTi(false, 14))
                                   .Colours(kRed, kBlue)}));
  ASSERT_TRUE(fw::GetWindow("Low").Load());
  const QImage shot = WindowWidget("Low")->grab().toImage();
  // The rows of [top, bottom) that hold a pixel for which `is` holds.
  auto rows = [&](int top, int bottom, const std::function<bool(QColor)>& is) {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = 0; x < shot.width(); ++x) {
        if (is(shot.pixelColor(x, y))) {
          ++n;
          break;
        }
      }
    }
    return n;
  };
  auto ground = [](QColor c) { return c == QColor(0, 0, 255); };
  // Red text antialiased on the white window.
  auto ink = [](QColor c) { return c.red() > 200 && c.green() < 200 && c.green() == c.blue(); };
  EXPECT_EQ(rows(30, 40, ground), 10);
  EXPECT_EQ(rows(0, 30, ground) + rows(40, 80, ground), 0);
  // The text reaches beyond the label's rectangle: it is not cut there.
  EXPECT_GT(rows(0, 30, ink), 0);
  EXPECT_GT(rows(40, 80, ink), 0);
}

TEST_F(Views, UnitsOfTheWorkLieAboveDecorations) {
  // The close button is defined after the caption label and lies above
  // it; the group box lies below the units beside it either way.
  QWidget* main = WindowWidget("Main");
  EXPECT_EQ(main->childAt(480, 10), Widget("Main", "关闭"));
}

TEST_F(Views, AnEditPressReachesTheProgramBeforeTheEdit) {
  auto* w = Widget<QPlainTextEdit>("Main", "脚本");
  QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].rfind("press ", 0), 0u);
  EXPECT_EQ(fw::Get<fw::Edit>("Main", "脚本").Text(), "");
  EXPECT_TRUE(w->toPlainText().isEmpty());
  // The right button too.
  fw::Get<fw::Edit>("Main", "脚本").SetText("hint again");
  QTest::mouseClick(w->viewport(), Qt::RightButton, {}, QPoint(20, 10));
  EXPECT_TRUE(w->toPlainText().isEmpty());
}

// A locked script box can still be read to its end: the wheel and the
// scroll bar move it, while typing, pasting and presses change nothing.
TEST_F(Views, ADisabledMultiLineBoxScrollsButTakesNoInput) {
  auto& model = fw::Get<fw::Edit>("Main", "脚本");
  std::string text;
  for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + "\r\n";
  model.SetText(text);
  model.Disable();
  auto* w = Widget<QPlainTextEdit>("Main", "脚本");
  QScrollBar* bar = w->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(w->palette().color(QPalette::Active, QPalette::Text),
            w->palette().color(QPalette::Disabled, QPalette::Text));

  QWheelEvent wheel(QPointF(50, 50), w->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(w->viewport(), &wheel);
  const int wheeled = bar->value();
  EXPECT_GT(wheeled, 0);
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 20));
  EXPECT_GT(bar->value(), wheeled);

  Log().clear();
  QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
  w->setFocus();
  QTest::keyClicks(w, "typed");
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(model.Text(), text);
  EXPECT_TRUE(Log().empty());  // the press reached no handler
  EXPECT_FALSE(w->textCursor().hasSelection());

  // Enabled again, it takes typing as before.
  model.Enable();
  w->setFocus();
  w->moveCursor(QTextCursor::End);
  QTest::keyClicks(w, "x");
  EXPECT_EQ(model.Text(), text + "x");
  EXPECT_NE(w->palette().color(QPalette::Active, QPalette::Text),
            w->palette().color(QPalette::Disabled, QPalette::Text));
}

// A box that stores the user's line breaks as CR LF: what the user types
// turns the program's lone line breaks into CR LF too, and the caret stays
// where the user typed.
TEST_F(Views, TypingIntoACrLfBoxStoresCrLfAndKeepsTheCaret) {
  auto& model = fw::Get<fw::Edit>("Main", "脚本");
  model.SetText("a\nb\rc");
  auto* w = Widget<QPlainTextEdit>("Main", "脚本");
  w->setFocus();
  QTextCursor c = w->textCursor();
  c.setPosition(3);  // after "b"
  w->setTextCursor(c);
  QTest::keyClicks(w, "x");
  EXPECT_EQ(model.Text(), "a\r\nbx\r\nc");
  EXPECT_EQ(w->toPlainText(), QStringLiteral("a\nbx\nc"));
  EXPECT_EQ(w->textCursor().position(), 4);
  QTest::keyClick(w, Qt::Key_Return);
  EXPECT_EQ(model.Text(), "a\r\nbx\r\n\r\nc");
}

// The edit boxes' context menus speak the editor's language.
TEST_F(Views, TheToolkitsOwnTextsAreChinese) {
  auto actions = [](QMenu* menu) {
    QStringList texts;
    for (QAction* a : menu->actions()) {
      if (!a->isSeparator()) texts << a->text();
    }
    delete menu;
    return texts;
  };
  QLineEdit single;
  const QStringList line = actions(single.createStandardContextMenu());
  const QStringList multi =
      actions(Widget<QPlainTextEdit>("Main", "脚本")->createStandardContextMenu());
  for (const QStringList& texts : {line, multi}) {
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_TRUE(texts.filter(QStringLiteral("Paste")).isEmpty()) << texts.join(' ').toStdString();
    EXPECT_FALSE(texts.filter(QStringLiteral(u"粘贴")).isEmpty()) << texts.join(' ').toStdString();
  }
}

// A handler that writes a unit many times before it returns: the widget
// shows the last value once the handler has returned, and takes the change
// once, not once per write.
void OnBusyClick() {
  auto& target = fw::GetControl("Busy", "目标");
  auto& label = fw::GetControl("Busy", "标签");
  for (int i = 0; i < 50; ++i) {
    target.Disable();
    target.Enable();
    label.SetText(std::to_string(i));
  }
  target.Disable();
}

class ChangeCounter final : public QObject {
 public:
  int enabledChanges = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::EnabledChange) ++enabledChanges;
    return false;
  }
};

TEST_F(Views, WritesOfOneHandlerReachTheWidgetsOnceItReturns) {
  fw::RegisterForm(fw::WindowDef("Busy", "忙", 200, 100)
                       .At(300, 300)
                       .Units({fw::ButtonUnit("按钮", {10, 10, 60, 24}, "按"),
                               fw::ButtonUnit("目标", {80, 10, 60, 24}, "目标"),
                               fw::LabelUnit("标签", {10, 50, 100, 20}, "")})
                       .Bind({{"按钮", Event::Clicked, &OnBusyClick}}));
  ASSERT_TRUE(fw::GetWindow("Busy").Load());
  auto* target = Widget("Busy", "目标");
  ChangeCounter counter;
  target->installEventFilter(&counter);
  QTest::mouseClick(Widget("Busy", "按钮"), Qt::LeftButton);
  EXPECT_FALSE(target->isEnabled());
  EXPECT_EQ(Widget<QLabel>("Busy", "标签")->text(), QStringLiteral("49"));
  EXPECT_EQ(counter.enabledChanges, 1);
  target->removeEventFilter(&counter);
  // A write outside any handler reaches its widget at once.
  fw::GetControl("Busy", "目标").Enable();
  EXPECT_TRUE(target->isEnabled());
}

void OnLinePress() {
  Note("line press " + std::to_string(fw::CurrentEventArgs().x) + "," +
       std::to_string(fw::CurrentEventArgs().y));
  fw::Get<fw::Edit>("Clicks", "行").SetText("");
}

fw::WindowDef ClicksForm() {
  return fw::WindowDef("Clicks", "点", 200, 100)
      .At(320, 320)
      .Units({
          fw::LabelUnit("标", {10, 10, 80, 20}, "标"),
          fw::EditBox("行", {10, 40, 120, 24}, "the hint"),
      })
      .Bind({{"标", Event::Clicked, &OnAnyEvent}, {"行", Event::LeftButtonDown, &OnLinePress}});
}

TEST_F(Views, ALabelWithAClickHandlerTakesPressAndReleaseInsideAsAClick) {
  fw::RegisterForm(ClicksForm());
  ASSERT_TRUE(fw::GetWindow("Clicks").Load());
  auto* label = Widget<QLabel>("Clicks", "标");
  ASSERT_NE(label, nullptr);
  EXPECT_FALSE(label->testAttribute(Qt::WA_TransparentForMouseEvents));
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(Count("标 Clicked"), 1);
  // Released outside the label: no click.
  QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(150, 5));
  EXPECT_EQ(Count("标 Clicked"), 1);
}

TEST_F(Views, ALineEditPressReachesTheProgramBeforeTheEdit) {
  fw::RegisterForm(ClicksForm());
  ASSERT_TRUE(fw::GetWindow("Clicks").Load());
  auto* w = Widget<QLineEdit>("Clicks", "行");
  ASSERT_NE(w, nullptr);
  QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(20, 10));
  EXPECT_EQ(Count("line press 20,10"), 1);
  EXPECT_EQ(fw::Get<fw::Edit>("Clicks", "行").Text(), "");
  EXPECT_TRUE(w->text().isEmpty());
}

TEST_F(Views, RichEditShowsFormatsAndSelections) {
  auto& box = fw::Get<fw::RichEdit>("Main", "说明");
  auto* w = Widget<QTextEdit>("Main", "说明");
  ASSERT_NE(w, nullptr);
  const int red = box.Find(Gbk("红色-动态"));
  ASSERT_EQ(red, 0);
  fw::CharFormat f = box.DefaultFormat();
  f.colour = kRed;
  f.bold = true;
  box.SetSelection(red, 5);
  box.SetSelectionFormat(f);
  QTextCursor c(w->document());
  c.setPosition(2);
  EXPECT_EQ(c.charFormat().foreground().color(), QColor(255, 0, 0));
  EXPECT_TRUE(c.charFormat().font().bold());
  c.setPosition(8);
  EXPECT_NE(c.charFormat().foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(w->document()->blockCount(), 2);

  box.SetSelection(box.LineStart(1), 3);
  EXPECT_EQ(w->textCursor().selectionStart(), box.LineStart(1));
  EXPECT_EQ(w->textCursor().selectedText(), QStringLiteral(u"第二行"));

  // A click puts the caret where it landed, then LeftButtonUp.
  const QRect first = w->cursorRect(QTextCursor(w->document()->findBlockByNumber(0)));
  QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, first.center() + QPoint(1, 0));
  EXPECT_EQ(Count("说明 LeftButtonUp"), 1);
  EXPECT_EQ(box.SelLength(), 0);
  EXPECT_EQ(box.SelStart(), w->textCursor().position());
}

// The widget rewrites only what changed between two texts: after each step
// of a series of writes, its document holds the model's lines, and each
// character the model's colour and weight.
TEST_F(Views, RichEditShowsEveryWriteOfASeriesExactly) {
  auto& box = fw::Get<fw::RichEdit>("Main", "说明");
  auto* w = Widget<QTextEdit>("Main", "说明");
  ASSERT_NE(w, nullptr);
  auto paint = [&](int start, int length, fw::Colour colour, bool bold) {
    fw::CharFormat f = box.DefaultFormat();
    f.colour = colour;
    f.bold = bold;
    box.SetSelection(start, length);
    box.SetSelectionFormat(f);
  };
  struct Step {
    const char* what;
    std::function<void()> write;
  };
  const std::vector<Step> steps = {
      {"a text with two lines", [&] { box.SetText(Gbk("攻击力：120\r\n范围：300")); }},
      {"one number changes", [&] { box.SetText(Gbk("攻击力：125\r\n范围：300")); }},
      {"a line painted", [&] { paint(0, 7, kRed, true); }},
      {"the same text again", [&] { box.SetText(Gbk("攻击力：125\r\n范围：300")); }},
      {"a line added in the middle",
       [&] { box.SetText(Gbk("攻击力：125\r\n冷却：3.5\r\n范围：300")); }},
      {"the middle painted", [&] { paint(box.LineStart(1), 6, kBlue, false); }},
      {"a shorter number in a painted run",
       [&] {
         box.SetSelection(box.LineStart(1) + 3, 3);
         box.ReplaceSelection("7");
       }},
      {"the end cut", [&] { box.SetText(Gbk("攻击力：125\r\n")); }},
      {"empty", [&] { box.SetText(""); }},
      {"the same prefix, other colours",
       [&] {
         box.SetText(Gbk("攻击力：125\r\n范围：300"));
         paint(4, 3, kBlue, false);
       }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.write();
    QStringList lines;
    for (int line = 0; line < box.LineCount(); ++line) {
      std::string text = box.LineText(line);
      if (text.ends_with('\r')) text.pop_back();  // a line ends in CR
      lines << QString::fromStdString(Utf8(text));
    }
    EXPECT_EQ(w->toPlainText(), lines.join('\n'));
    ASSERT_EQ(w->document()->characterCount() - 1, box.Length());
    for (int i = 0; i < box.Length(); ++i) {
      if (w->document()->characterAt(i) == QChar::ParagraphSeparator) continue;
      QTextCursor c(w->document());
      c.setPosition(i + 1);  // the format of the character before the cursor
      const fw::CharFormat want = box.FormatAt(i);
      const QColor colour = want.colour == fw::kDefaultColour
                                ? w->palette().color(QPalette::Text)
                                : QColor(static_cast<int>(want.colour & 0xFF),
                                         static_cast<int>((want.colour >> 8) & 0xFF),
                                         static_cast<int>((want.colour >> 16) & 0xFF));
      const QTextCharFormat got = c.charFormat();
      const QColor shown =
          got.hasProperty(QTextFormat::ForegroundBrush) ? got.foreground().color() : colour;
      EXPECT_EQ(shown, colour) << "at " << i;
      EXPECT_EQ(got.font().bold(), want.bold) << "at " << i;
    }
  }
}

TEST_F(Views, TabPagesShowTheUnitsOfTheCurrentTabOnly) {
  auto& tabs = fw::Get<fw::Tabs>("Main", "页");
  QWidget* button = Widget("Main", "页二按钮");
  auto* bar = Widget("Main", "页")->findChild<QTabBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->tabText(1), QStringLiteral(u"二"));
  EXPECT_FALSE(button->isVisible());
  // Placed relative to the tab control, strip included.
  EXPECT_EQ(button->mapTo(Widget("Main", "页"), QPoint(0, 0)), QPoint(10, 40));

  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  EXPECT_EQ(tabs.Current(), 1);
  EXPECT_EQ(Count("页 TabChanged"), 1);
  EXPECT_TRUE(button->isVisible());

  tabs.SetCurrent(0);
  EXPECT_EQ(bar->currentIndex(), 0);
  EXPECT_FALSE(button->isVisible());
  EXPECT_EQ(Count("页 TabChanged"), 1);
}

TEST_F(Views, PictureButtonsWithoutPicturesStillShowAndClick) {
  QWidget* close = Widget("Main", "关闭");
  const QImage shot = close->grab().toImage();
  EXPECT_NE(shot.pixelColor(12, 12), QColor(0xF0, 0xF0, 0xF0));
  QTest::mouseClick(close, Qt::LeftButton);
  EXPECT_EQ(Count("关闭 Clicked"), 1);
}

TEST_F(Views, AWindowDestroyedByItsOwnButtonIsFreedLater) {
  ASSERT_TRUE(fw::GetWindow("Tool").Load());
  QPointer<QWidget> tool = WindowWidget("Tool");
  QPointer<QWidget> button = Widget("Tool", "关");
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_FALSE(fw::GetWindow("Tool").IsLoaded());
  ASSERT_FALSE(tool.isNull());  // still inside its own click
  EXPECT_FALSE(tool->isVisible());
  Serve(10);
  EXPECT_TRUE(tool.isNull());
  // Loaded again: a new view from the form.
  ASSERT_TRUE(fw::GetWindow("Tool").Load());
  EXPECT_NE(WindowWidget("Tool"), nullptr);
  EXPECT_TRUE(WindowWidget("Tool")->isVisible());
}

TEST_F(Views, MinimisingFollowsTheModel) {
  ASSERT_TRUE(Main().Minimise());
  EXPECT_TRUE(WindowWidget("Main")->isMinimized());
  // Restored from outside the program (taskbar).
  WindowWidget("Main")->showNormal();
  EXPECT_FALSE(Main().Minimised());
}

// A window manager that does not iconify (or none at all) leaves the window
// on the screen: the user's click in it counts, and the window is no longer
// minimised for the program either.
TEST_F(Views, AMinimisedWindowThatStaysOnTheScreenTakesTheClick) {
  ASSERT_TRUE(Main().Minimise());
  QTest::mouseClick(Widget("Main", "关闭"), Qt::LeftButton);
  EXPECT_FALSE(Main().Minimised());
  EXPECT_FALSE(WindowWidget("Main")->isMinimized());
  EXPECT_EQ(Count("关闭 Clicked"), 1);
}

}  // namespace
