// The traps of Qt that the framework's rules forbid, each on a small form:
// line breaks of plain-text edits, events raised for program writes, radio
// exclusivity, user-only signals, drops on disabled edits, quitting on the
// last window, coarse timers, input-transparent windows, nested loops.
#include <QComboBox>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "forms.h"
#include "framework/input.h"
#include "framework/qt/convert.h"
#include "framework/units.h"

namespace {

using namespace gui_test;
using fw::Event;

void OnTrapCreated() {
  fw::Get<fw::DropTarget>("Trap", "拖放").Register(fw::GetControl("Trap", "多行"));
}

fw::WindowDef TrapForm() {
  return fw::WindowDef("Trap", "陷阱", 420, 320)
      .At(40, 40)
      .InTaskbar()
      .Draggable()
      .Units({
          fw::EditBox("多行", {10, 10, 200, 100}, "a\r\nb").Multiline(),
          fw::EditBox("单行", {10, 120, 200, 24}, "x"),
          fw::GroupBoxUnit("组", {220, 10, 180, 60}, "组"),
          fw::RadioBox("甲", {10, 20, 60, 20}, "甲").In("组"),
          fw::RadioBox("乙", {80, 20, 60, 20}, "乙").In("组"),
          fw::ComboBox("列表", {220, 80, 180, 24}),
          fw::GridUnit("表格", {220, 110, 180, 120}),
          fw::ButtonUnit("按钮", {10, 150, 80, 28}, "按钮"),
          fw::DropTargetUnit("拖放"),
          fw::LabelUnit("标题", {0, 290, 420, 24}, "标题"),
      })
      .Bind({
          {"", Event::Created, &OnTrapCreated},
          {"", Event::CloseRequested, &OnAnyEvent},
          {"多行", Event::TextChanged, &OnAnyEvent},
          {"单行", Event::TextChanged, &OnAnyEvent},
          {"甲", Event::Clicked, &OnAnyEvent},
          {"乙", Event::Clicked, &OnAnyEvent},
          {"列表", Event::SelectionChanged, &OnAnyEvent},
          {"表格", Event::CellEvent, &OnCellEvent},
          {"按钮", Event::Clicked, &OnAnyEvent},
          {"拖放", Event::FilesDropped, &OnFilesDropped},
      });
}

class Traps : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    fw::RegisterForm(TrapForm());
    ASSERT_TRUE(fw::GetWindow("Trap").Load());
    Log().clear();
  }
  fw::Edit& Multi() { return fw::Get<fw::Edit>("Trap", "多行"); }
};

// Typing Chinese as an input method commits it.
void Commit(QWidget* w, const QString& text) {
  QInputMethodEvent e;
  e.setCommitString(text);
  QCoreApplication::sendEvent(w, &e);
}

TEST_F(Traps, PlainTextEditKeepsEveryLineBreakByteForByte) {
  Multi().SetText("l1\r\nl2\nl3\rl4");
  auto* w = Widget<QPlainTextEdit>("Trap", "多行");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->toPlainText(), QStringLiteral("l1\nl2\nl3\nl4"));

  w->moveCursor(QTextCursor::End);
  QTest::keyClicks(w, "X");
  EXPECT_EQ(Multi().Text(), "l1\r\nl2\nl3\rl4X");
  QTest::keyClick(w, Qt::Key_Return);
  Commit(w, QStringLiteral(u"技能"));
  EXPECT_EQ(Multi().Text(), "l1\r\nl2\nl3\rl4X\r\n" + Gbk("技能"));

  // Deleting the first character of line 2 leaves the other breaks alone.
  w->moveCursor(QTextCursor::Start);
  w->moveCursor(QTextCursor::Down);
  QTest::keyClick(w, Qt::Key_Delete);
  EXPECT_EQ(Multi().Text(), "l1\r\n2\nl3\rl4X\r\n" + Gbk("技能"));
  // Joining two lines removes exactly the lone LF between them.
  w->moveCursor(QTextCursor::EndOfLine);
  QTest::keyClick(w, Qt::Key_Delete);
  EXPECT_EQ(Multi().Text(), "l1\r\n2l3\rl4X\r\n" + Gbk("技能"));
}

TEST_F(Traps, TextChangedIsRaisedByTheFrameworkNotByQt) {
  auto* w = Widget<QPlainTextEdit>("Trap", "多行");
  auto* line = Widget<QLineEdit>("Trap", "单行");
  ASSERT_NE(line, nullptr);
  // Each program write raises once, an identical one too, and the view
  // adds nothing of its own.
  Multi().SetText("same");
  Multi().SetText("same");
  EXPECT_EQ(Count("多行 TextChanged"), 2);
  EXPECT_EQ(w->toPlainText(), QStringLiteral("same"));
  // Each keystroke raises once.
  w->moveCursor(QTextCursor::End);
  QTest::keyClicks(w, "ab");
  EXPECT_EQ(Count("多行 TextChanged"), 4);

  auto& single = fw::Get<fw::Edit>("Trap", "单行");
  single.SetText("x");  // the text it already holds
  EXPECT_EQ(Count("单行 TextChanged"), 1);
  line->end(false);
  QTest::keyClicks(line, "q");
  EXPECT_EQ(Count("单行 TextChanged"), 2);
  EXPECT_EQ(single.Text(), "xq");
}

TEST_F(Traps, ExclusivityOfRadiosLivesInTheModel) {
  auto& a = fw::Get<fw::Radio>("Trap", "甲");
  auto& b = fw::Get<fw::Radio>("Trap", "乙");
  auto* wa = Widget<QRadioButton>("Trap", "甲");
  auto* wb = Widget<QRadioButton>("Trap", "乙");
  ASSERT_NE(wa, nullptr);

  QTest::mouseClick(wa, Qt::LeftButton);
  EXPECT_TRUE(a.Checked());
  EXPECT_TRUE(wa->isChecked());
  // A second click on a checked radio keeps it checked and still reports.
  QTest::mouseClick(wa, Qt::LeftButton);
  EXPECT_TRUE(a.Checked());
  EXPECT_TRUE(wa->isChecked());
  EXPECT_EQ(Count("甲 Clicked"), 2);

  // Program writes touch one radio: two checked, then none, no events.
  b.SetChecked(true);
  EXPECT_TRUE(wa->isChecked());
  EXPECT_TRUE(wb->isChecked());
  a.SetChecked(false);
  b.SetChecked(false);
  EXPECT_FALSE(wa->isChecked());
  EXPECT_FALSE(wb->isChecked());
  EXPECT_EQ(Count("乙 Clicked"), 0);

  // A user click unchecks the rest of the group.
  a.SetChecked(true);
  QTest::mouseClick(wb, Qt::LeftButton);
  EXPECT_FALSE(a.Checked());
  EXPECT_FALSE(wa->isChecked());
  EXPECT_TRUE(wb->isChecked());
}

TEST_F(Traps, ComboSelectionChangedComesFromTheUserOnly) {
  auto& combo = fw::Get<fw::Combo>("Trap", "列表");
  auto* w = Widget<QComboBox>("Trap", "列表");
  ASSERT_NE(w, nullptr);
  for (const char* t : {"一", "二", "三"}) combo.AddItem(Gbk(t));
  EXPECT_EQ(w->count(), 3);
  EXPECT_EQ(w->currentIndex(), -1);
  combo.SetCurrent(1);
  EXPECT_EQ(w->currentIndex(), 1);
  EXPECT_EQ(w->itemText(1), QStringLiteral(u"二"));
  EXPECT_EQ(Count("列表 SelectionChanged"), 0);

  QTest::keyClick(w, Qt::Key_Down);
  EXPECT_EQ(combo.Current(), 2);
  EXPECT_EQ(Count("列表 SelectionChanged"), 1);

  combo.SetCurrent(0);
  combo.RemoveAll();
  EXPECT_EQ(w->count(), 0);
  EXPECT_EQ(Count("列表 SelectionChanged"), 1);
}

TEST_F(Traps, GridCellEventsComeFromUserClicksAndEditsOnly) {
  auto& grid = fw::Get<fw::Grid>("Trap", "表格");
  auto* w = Widget<QTableView>("Trap", "表格");
  ASSERT_NE(w, nullptr);
  QAbstractItemModel* m = w->model();
  grid.SetCellText(0, 0, Gbk("原值"));
  grid.SetCellText(0, 1, Gbk("新值"));
  grid.AppendRow("10");
  grid.SetCellText(1, 1, "20");
  grid.SetBackColour(fw::CellRange::Cell(1, 0), 0x000000FFu);
  grid.SetReadOnly(fw::CellRange::Cell(1, 0), true);
  ASSERT_EQ(m->rowCount(), 1);
  EXPECT_EQ(m->headerData(0, Qt::Horizontal).toString(), QStringLiteral(u"原值"));
  EXPECT_EQ(m->index(0, 0).data().toString(), QStringLiteral("10"));
  EXPECT_EQ(m->index(0, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 0, 0));
  EXPECT_FALSE(m->flags(m->index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_TRUE(m->flags(m->index(0, 1)) & Qt::ItemIsEditable);
  EXPECT_TRUE(Log().empty());

  QTest::mouseClick(w->viewport(), Qt::LeftButton, {}, w->visualRect(m->index(0, 1)).center());
  EXPECT_EQ(Count("表格 CellEvent 1 1 clicked"), 1);

  w->edit(m->index(0, 1));
  auto* editor = w->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText(QStringLiteral("25"));
  QTest::keyClick(editor, Qt::Key_Return);  // the commit is queued
  EXPECT_TRUE(ServeUntil([] { return Count("表格 CellEvent 1 1 edited") == 1; }));
  EXPECT_EQ(grid.CellText(1, 1), "25");
  EXPECT_EQ(m->index(0, 1).data().toString(), QStringLiteral("25"));

  // Rows deleted by the program leave the table as the model says.
  grid.SetBackColour(fw::CellRange::Cell(1, 1), 0x00ECECECu);
  grid.DeleteDataRows();
  EXPECT_EQ(m->rowCount(), 0);
  EXPECT_EQ(Log().size(), 2u);
}

// The table learns the grid's writes in batches; whoever looks at it (a
// query, a paint) sees the grid as it is, whatever order the writes came in.
TEST_F(Traps, TheTableAlwaysShowsItsGrid) {
  auto& grid = fw::Get<fw::Grid>("Trap", "表格");
  auto* w = Widget<QTableView>("Trap", "表格");
  ASSERT_NE(w, nullptr);
  auto agree = [&] {
    QAbstractItemModel* m = w->model();
    bool same = m->rowCount() == grid.RowCount() - 1 && m->columnCount() == grid.ColCount();
    for (int c = 0; same && c < grid.ColCount(); ++c) {
      same = m->headerData(c, Qt::Horizontal).toString() == fw::qt::FromGbk(grid.CellText(0, c));
      for (int r = 1; same && r < grid.RowCount(); ++r) {
        same = m->index(r - 1, c).data().toString() == fw::qt::FromGbk(grid.CellText(r, c));
      }
    }
    return same;
  };
  const std::vector<std::function<void()>> writes = {
      [&] { grid.AppendRow("1"); },         [&] { grid.AppendRow("2"); },
      [&] { grid.SetCellText(2, 1, "x"); }, [&] { grid.AppendRow("3"); },
      [&] { grid.DeleteRow(1); },           [&] { grid.SetCellText(0, 0, Gbk("头")); },
      [&] { grid.AppendRow("4"); },         [&] { grid.SetCellText(3, 0, "y"); },
      [&] { grid.DeleteRow(3); },           [&] { grid.DeleteDataRows(); },
      [&] { grid.AppendRow("5"); },
  };
  for (std::size_t i = 0; i < writes.size(); ++i) {
    writes[i]();
    EXPECT_TRUE(agree()) << "after write " << i;
  }
  // The same writes without a look in between, then one look.
  grid.DeleteDataRows();
  for (const auto& write : writes) write();
  QCoreApplication::processEvents();
  EXPECT_TRUE(agree());
}

class Drops : public Traps {
 protected:
  // Drops `files` on `unit` of the test window; whether the drop was taken.
  bool DropOn(std::string_view unit, const QStringList& files) {
    return DropFiles(WindowWidget("Trap"), Widget("Trap", unit), files);
  }
};

TEST_F(Drops, ReachTheDisabledEditAndAreNeverPasted) {
  Multi().Disable();
  EXPECT_TRUE(DropOn("多行", {QStringLiteral(u"/tmp/技能.skl")}));
  EXPECT_EQ(Count("files /tmp/技能.skl"), 1);
  EXPECT_EQ(Multi().Text(), "a\r\nb");

  Multi().Enable();
  EXPECT_TRUE(DropOn("多行", {QStringLiteral("/tmp/a"), QStringLiteral("/tmp/b")}));
  EXPECT_EQ(Count("files /tmp/a\r\n/tmp/b\r\n"), 1);
  EXPECT_EQ(Multi().Text(), "a\r\nb");
  EXPECT_EQ(Widget<QPlainTextEdit>("Trap", "多行")->toPlainText(), QStringLiteral("a\nb"));
}

TEST_F(Drops, APathOutsideGbkNamesNoFile) {
  // Its GBK form would be "/tmp/?.skl", which may name another file.
  EXPECT_TRUE(DropOn("多行", {QStringLiteral(u"/tmp/\U0001F642.skl")}));
  EXPECT_EQ(Count("files " + std::string(fw::kPathOutsideGbk)), 1);
  EXPECT_TRUE(DropOn("多行", {QStringLiteral(u"/tmp/\U0001F642.skl"), QStringLiteral("/tmp/a")}));
  EXPECT_EQ(Count("files " + std::string(fw::kPathOutsideGbk) + "\r\n/tmp/a\r\n"), 1);
}

TEST_F(Drops, ElsewhereDoNothing) {
  EXPECT_FALSE(DropOn("按钮", {QStringLiteral("/tmp/a")}));
  EXPECT_FALSE(DropOn("单行", {QStringLiteral("/tmp/a")}));
  EXPECT_EQ(fw::Get<fw::Edit>("Trap", "单行").Text(), "x");
  EXPECT_TRUE(Log().empty());
}

// A drag as the window system delivers it: it enters the window at the
// first point (in window coordinates), moves through the others and is
// released at the last one. What the window answered at each point (the
// action the drag source shows, IgnoreAction for "no") and whether the
// drop was taken.
struct DragAnswers {
  std::vector<Qt::DropAction> answers;
  bool taken = false;
};
DragAnswers DragAcross(QWidget* window, const std::vector<QPoint>& points, Qt::DropActions possible,
                       Qt::KeyboardModifiers keys) {
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a"))});
  QWindow* native = window->windowHandle();
  DragAnswers out;
  auto answer = [&](QDragMoveEvent& e) {
    out.answers.push_back(e.isAccepted() ? e.dropAction() : Qt::IgnoreAction);
  };
  QDragEnterEvent enter(points.front(), possible, &mime, Qt::LeftButton, keys);
  QCoreApplication::sendEvent(native, &enter);
  answer(enter);
  for (std::size_t i = 1; i < points.size(); ++i) {
    QDragMoveEvent move(points[i], possible, &mime, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(native, &move);
    answer(move);
  }
  QDropEvent drop(points.back(), possible, &mime, Qt::LeftButton, keys);
  QCoreApplication::sendEvent(native, &drop);
  out.taken = drop.isAccepted();
  return out;
}

struct DragCase {
  const char* name;
  std::vector<QPoint> points;
  Qt::DropActions possible;
  Qt::KeyboardModifiers keys;  // Shift: the source proposes to move
  std::vector<Qt::DropAction> answers;
  bool taken;
};

void PrintTo(const DragCase& c, std::ostream* os) {
  *os << c.name;
}

class Drags : public Drops, public ::testing::WithParamInterface<DragCase> {};

// Points of the test window: its title at the bottom, the button, the
// multi-line box that takes the files.
const QPoint kOverTitle(20, 300);
const QPoint kOverButton(50, 160);
const QPoint kOverBox(100, 60);

TEST_P(Drags, AreAnsweredAtEveryPointAndTakenOverTheTargetOnly) {
  const DragCase& c = GetParam();
  const DragAnswers got = DragAcross(WindowWidget("Trap"), c.points, c.possible, c.keys);
  EXPECT_EQ(got.answers, c.answers);
  EXPECT_EQ(got.taken, c.taken);
  EXPECT_EQ(Count("files /tmp/a"), c.taken ? 1 : 0);
  EXPECT_EQ(Multi().Text(), "a\r\nb");
}

constexpr Qt::DropActions kFileManager = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
constexpr Qt::DropAction kNo = Qt::IgnoreAction;
constexpr Qt::DropAction kCopy = Qt::CopyAction;

INSTANTIATE_TEST_SUITE_P(
    Cases, Drags,
    ::testing::Values(
        DragCase{"EnteringOverTheTitleAcrossTheButtonToTheBox",
                 {kOverTitle, kOverButton, kOverBox},
                 kFileManager,
                 {},
                 {kNo, kNo, kCopy},
                 true},
        DragCase{"EnteringOverTheBoxAndReleasedOverTheButton",
                 {kOverBox, kOverButton},
                 kFileManager,
                 {},
                 {kCopy, kNo},
                 false},
        DragCase{"LeavingTheBoxAndComingBack",
                 {kOverBox, kOverTitle, kOverBox},
                 kFileManager,
                 {},
                 {kCopy, kNo, kCopy},
                 true},
        // A moved file would be deleted by its file manager: the window
        // takes a copy, whatever the source proposes.
        DragCase{"ProposedAsAMoveIsTakenAsACopy",
                 {kOverBox},
                 kFileManager,
                 Qt::ShiftModifier,
                 {kCopy},
                 true},
        DragCase{"OfferedOnlyAsAMoveIsRefused", {kOverBox}, Qt::MoveAction, {}, {kNo}, false}),
    [](const ::testing::TestParamInfo<DragCase>& p) { return std::string(p.param.name); });

TEST_F(Drops, AreRefusedWhileInputIsHeld) {
  DragAnswers got;
  QTimer::singleShot(0,
                     [&] { got = DragAcross(WindowWidget("Trap"), {kOverBox}, kFileManager, {}); });
  fw::DelayHoldingInput(50);
  EXPECT_EQ(got.answers, std::vector<Qt::DropAction>{kNo});
  EXPECT_FALSE(got.taken);
  EXPECT_TRUE(Log().empty());
}

// File managers offer a dragged file's path as text too; an open cell
// editor is an edit box like the others and takes none of it.
TEST_F(Drops, AnOpenCellEditorTakesNoPathAsText) {
  auto& grid = fw::Get<fw::Grid>("Trap", "表格");
  auto* w = Widget<QTableView>("Trap", "表格");
  grid.AppendRow("10");
  grid.SetCellText(1, 1, "20");
  QAbstractItemModel* m = w->model();
  w->edit(m->index(0, 1));
  auto* editor = w->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->setText(QStringLiteral("25"));

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a"))});
  mime.setText(QStringLiteral("/tmp/a"));
  QWidget* window = WindowWidget("Trap");
  const QPoint at = editor->mapTo(window, editor->rect().center());
  QWindow* native = window->windowHandle();
  QDragEnterEvent enter(at, kFileManager, &mime, Qt::LeftButton, {});
  QCoreApplication::sendEvent(native, &enter);
  QDragMoveEvent move(at, kFileManager, &mime, Qt::LeftButton, {});
  QCoreApplication::sendEvent(native, &move);
  QDropEvent drop(at, kFileManager, &mime, Qt::LeftButton, {});
  QCoreApplication::sendEvent(native, &drop);
  EXPECT_FALSE(drop.isAccepted());
  EXPECT_EQ(editor->text(), QStringLiteral("25"));
  EXPECT_TRUE(Log().empty());
}

// ---- Closing windows -----------------------------------------------------

class QuitWatch : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Quit) ++quits;
    return false;
  }
  int quits = 0;
};

fw::WindowDef PlainForm() {
  return fw::WindowDef("Plain", "平", 100, 80).At(500, 40);
}

TEST_F(Traps, ClosingTheLastWindowNeverEndsTheLoop) {
  QuitWatch watch;
  qApp->installEventFilter(&watch);
  EXPECT_FALSE(QApplication::quitOnLastWindowClosed());
  fw::RegisterForm(PlainForm());

  // A bound close request goes to the program, which keeps the window.
  WindowWidget("Trap")->windowHandle()->close();
  EXPECT_EQ(Count("Trap CloseRequested"), 1);
  EXPECT_TRUE(fw::GetWindow("Trap").IsLoaded());
  EXPECT_TRUE(WindowWidget("Trap")->isVisible());

  // Without a binding the request is refused and the window stays; once
  // the program destroys the last window, the loop goes on.
  fw::GetWindow("Trap").Destroy();
  ASSERT_TRUE(fw::GetWindow("Plain").Load());
  WindowWidget("Plain")->windowHandle()->close();
  EXPECT_TRUE(fw::GetWindow("Plain").IsLoaded());
  EXPECT_TRUE(WindowWidget("Plain")->isVisible());
  fw::GetWindow("Plain").Destroy();
  fw::PostToGui([] { Note("posted"); });
  EXPECT_TRUE(ServeUntil([] { return Count("posted") == 1; }));
  Serve(20);
  EXPECT_EQ(watch.quits, 0);
  qApp->removeEventFilter(&watch);
}

// ---- Time ----------------------------------------------------------------

TEST_F(Traps, WaitsEndNeverBeforeTheirDeadline) {
  fw::GetWindow("Trap").Destroy();
  Serve(10);
  int early = 0;
  int measured = 0;
  for (int ms = 1; ms <= 30; ++ms) {
    const std::int64_t deadline = backend().NowMs() + ms;
    const std::uint64_t before = App().Deliveries();
    backend().Wait(deadline);
    // Only waits that nothing else woke tell about the timer.
    if (App().Deliveries() - before != 1) continue;
    ++measured;
    if (backend().NowMs() < deadline) ++early;
  }
  EXPECT_GT(measured, 20);
  EXPECT_EQ(early, 0);
}

TEST_F(Traps, WakeEndsAWaitWithoutDeadline) {
  Serve(10);
  const std::int64_t start = backend().NowMs();
  std::thread worker([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    backend().Wake();
  });
  backend().Wait(std::nullopt);
  worker.join();
  EXPECT_LT(backend().NowMs() - start, 2000);
}

// ---- Input-transparent windows and pictures ------------------------------

fw::WindowDef DecorationForm() {
  return fw::WindowDef("Deco", "饰", 120, 120)
      .At(40, 40)
      .OnTop()
      .Translucent(DiscPicture(120, QColor(200, 40, 40)))
      .Units({fw::TimerUnit("钟", 50)});
}

fw::WindowDef LayeredForm() {
  return fw::WindowDef("Layered", "层", 200, 120)
      .At(300, 300)
      .Draggable()
      .Units({
          fw::ButtonUnit("下", {10, 10, 100, 30}, "下"),
          fw::PictureUnit("上", {0, 0, 120, 60}, DiscPicture(60, QColor(20, 20, 200))),
          fw::LabelUnit("盖", {20, 15, 60, 20}, "盖"),
          fw::PictureUnit("可点", {10, 70, 40, 40}, DiscPicture(40, QColor(20, 200, 20))),
      })
      .Bind({{"下", Event::Clicked, &OnAnyEvent}, {"可点", Event::Clicked, &OnAnyEvent}});
}

TEST_F(Traps, WindowsThatOnlyShowPicturesLetInputThrough) {
  fw::RegisterForm(DecorationForm());
  fw::RegisterForm(fw::WindowDef("Flagged", "旗", 50, 50).InputTransparent());
  ASSERT_TRUE(fw::GetWindow("Deco").Load());
  ASSERT_TRUE(fw::GetWindow("Flagged").Load());
  for (const char* name : {"Deco", "Flagged"}) {
    QWidget* w = WindowWidget(name);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowTransparentForInput) << name;
    EXPECT_TRUE(w->testAttribute(Qt::WA_TransparentForMouseEvents)) << name;
  }
  QWidget* deco = WindowWidget("Deco");
  EXPECT_TRUE(deco->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(deco->testAttribute(Qt::WA_TranslucentBackground));
  // A window the user works with takes input.
  QWidget* trap = WindowWidget("Trap");
  EXPECT_FALSE(trap->windowFlags() & Qt::WindowTransparentForInput);
  EXPECT_FALSE(trap->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST_F(Traps, PicturesAndLabelsAboveAButtonLetTheClickReachIt) {
  fw::RegisterForm(LayeredForm());
  ASSERT_TRUE(fw::GetWindow("Layered").Load());
  QWindow* native = WindowWidget("Layered")->windowHandle();
  ASSERT_NE(native, nullptr);
  // Under the label and the picture, inside the button.
  QTest::mouseClick(native, Qt::LeftButton, {}, QPoint(30, 25));
  QTest::mouseClick(native, Qt::LeftButton, {}, QPoint(100, 20));
  EXPECT_EQ(Count("下 Clicked"), 2);
  // A picture with a Clicked handler takes its clicks.
  QTest::mouseClick(native, Qt::LeftButton, {}, QPoint(30, 90));
  EXPECT_EQ(Count("可点 Clicked"), 1);
}

// ---- Nested loops --------------------------------------------------------

std::thread g_worker;

void OnWaitClicked() {
  Note("wait start");
  g_worker = std::thread([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    fw::PostToGui([] { Note("posted"); });
  });
  fw::DelayWithMessages(300);
  g_worker.join();
  Note("wait end");
}

void OnNestTick() {
  Note("tick");
}

void OnModalClicked() {
  fw::LoadOptions o;
  o.modal = true;
  o.owner = &fw::GetWindow("Nest");
  fw::GetWindow("Modal").Load(o);
  Note("modal returned");
}

void OnModalClose() {
  fw::GetWindow("Modal").Destroy();
}

void RegisterNestForms() {
  fw::RegisterForm(fw::WindowDef("Nest", "巢", 300, 200)
                       .At(20, 20)
                       .Units({
                           fw::ButtonUnit("等待", {10, 10, 80, 28}, "等待"),
                           fw::ButtonUnit("模态", {100, 10, 80, 28}, "模态"),
                           fw::EditBox("行", {10, 50, 200, 24}, "x"),
                           fw::TimerUnit("钟", 20),
                       })
                       .Bind({{"等待", Event::Clicked, &OnWaitClicked},
                              {"模态", Event::Clicked, &OnModalClicked},
                              {"行", Event::TextChanged, &OnAnyEvent},
                              {"钟", Event::Tick, &OnNestTick}}));
  fw::RegisterForm(fw::WindowDef("Other", "他", 200, 100)
                       .At(400, 20)
                       .Units({fw::ButtonUnit("别的", {10, 10, 80, 28}, "别的")})
                       .Bind({{"别的", Event::Clicked, &OnAnyEvent}}));
  fw::RegisterForm(fw::WindowDef("Modal", "模", 200, 100)
                       .At(60, 60)
                       .Units({fw::ButtonUnit("关", {10, 10, 80, 28}, "关")})
                       .Bind({{"关", Event::Clicked, &OnModalClose}}));
}

int TicksBetween(int from, int to) {
  int n = 0;
  for (int i = from + 1; i < to; ++i) n += Log()[static_cast<std::size_t>(i)] == "tick" ? 1 : 0;
  return n;
}

// Runs each step once, in order, as soon as its condition holds and the
// step before it has started: the steps
// follow what the program did, not the clock, so a machine that starves
// the test for a while changes nothing but the time it takes.
class Steps {
 public:
  Steps(std::vector<std::pair<std::function<bool()>, std::function<void()>>> steps)
      : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      // The step runs from a timer of its own, so that a loop it waits in
      // (a delay, a modal window) does not hold this timer up.
      if (next_ < steps_.size() && steps_[next_].first())
        QTimer::singleShot(0, steps_[next_++].second);
    });
    timer_.start(5);
  }

 private:
  std::vector<std::pair<std::function<bool()>, std::function<void()>>> steps_;
  std::size_t next_ = 0;
  QTimer timer_;
};

TEST_F(Traps, ADelayKeepsTimersPostsAndOtherWindowsAlive) {
  RegisterNestForms();
  ASSERT_TRUE(fw::GetWindow("Nest").Load());
  ASSERT_TRUE(fw::GetWindow("Other").Load());
  // The other window is clicked while the delay runs: once it has started
  // and a tick came inside it.
  Steps steps(
      {{[] { return true; }, [this] { QTest::mouseClick(Widget("Nest", "等待"), Qt::LeftButton); }},
       {[] {
          return Count("wait start") == 1 &&
                 TicksBetween(IndexOf("wait start"), int(Log().size())) >= 1;
        },
        [this] { QTest::mouseClick(Widget("Other", "别的"), Qt::LeftButton); }}});
  ASSERT_TRUE(ServeUntil([] { return Count("wait end") == 1; }));
  const int start = IndexOf("wait start");
  const int end = IndexOf("wait end");
  EXPECT_LT(start, IndexOf("posted"));
  EXPECT_LT(IndexOf("posted"), end);
  EXPECT_LT(start, IndexOf("别的 Clicked"));
  EXPECT_LT(IndexOf("别的 Clicked"), end);
  // The timer goes on ticking through the wait (a starved machine may
  // merge some of its 20 ms ticks, never all).
  EXPECT_GE(TicksBetween(start, end), 2);
}

TEST_F(Traps, AModalLoadBlocksItsOwnerButNotTheLoop) {
  RegisterNestForms();
  ASSERT_TRUE(fw::GetWindow("Nest").Load());
  auto ticksSince = [](const char* note) {
    return Count(note) == 1 ? TicksBetween(IndexOf(note), int(Log().size())) : 0;
  };
  Steps steps(
      {{[] { return true; }, [this] { QTest::mouseClick(Widget("Nest", "模态"), Qt::LeftButton); }},
       {[] { return fw::GetWindow("Modal").IsLoaded(); },
        [this] {
          Note("blocked try");
          // The owner takes no input while the modal window is open:
          // neither its widgets nor the model change.
          QTest::mouseClick(Widget("Nest", "等待"), Qt::LeftButton);
          auto* line = Widget<QLineEdit>("Nest", "行");
          QTest::keyClicks(line, "zz");
          if (line->text() != QStringLiteral("x")) Note("typed into a blocked window");
          fw::PostToGui([] { Note("posted"); });
        }},
       // The owner's timer ticks on inside the modal loop; the modal
       // window is closed only after it did, and the posted item ran.
       {[&] { return ticksSince("blocked try") >= 3 && Count("posted") == 1; },
        [this] { QTest::mouseClick(Widget("Modal", "关"), Qt::LeftButton); }}});
  ASSERT_TRUE(ServeUntil([] { return Count("modal returned") == 1; }));
  EXPECT_EQ(Count("wait start"), 0);
  EXPECT_EQ(Count("typed into a blocked window"), 0);
  EXPECT_EQ(Count("行 TextChanged"), 0);
  EXPECT_EQ(fw::Get<fw::Edit>("Nest", "行").Text(), "x");
  EXPECT_LT(IndexOf("posted"), IndexOf("modal returned"));
  // Unblocked again.
  QTest::keyClicks(Widget<QLineEdit>("Nest", "行"), "y");
  EXPECT_EQ(fw::Get<fw::Edit>("Nest", "行").Text(), "xy");
}

}  // namespace
