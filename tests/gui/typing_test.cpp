// Typing into a multi-line box through the real widget: keys, pastes,
// input-method text, undo and redo at random places of a long text that
// the program wrote, each reaching the model with exactly the bytes of the
// whole-document road: the mirror's reading of the document's whole text
// against the model's text before the edit (TextMirror::Update), its line
// breaks made CR LF where the box stores the user's line breaks so.
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "forms.h"
#include "framework/qt/convert.h"
#include "framework/units.h"
#include "platform/codepage.h"

namespace {

using namespace gui_test;
using fw::Event;

fw::WindowDef TypingForm() {
  return fw::WindowDef("Typing", "打字", 640, 440)
      .At(20, 20)
      .InTaskbar()
      .Units({
          fw::EditBox("脚本", {10, 10, 300, 400}, "").Multiline().CrLfLines(),
          fw::EditBox("多行", {320, 10, 300, 400}, "").Multiline(),
      })
      .Bind({
          {"脚本", Event::TextChanged, &OnAnyEvent},
          {"多行", Event::TextChanged, &OnAnyEvent},
      });
}

QString Q(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// What the box shows, its line breaks as "\n".
QString ShownLines(const QPlainTextEdit* w) {
  QString shown = w->document()->toRawText();
  shown.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  shown.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return shown;
}

// The whole-document road: the model's text after a user's edit that left
// the document holding `document`, the model having held `before`.
std::string WholeDocumentText(const std::string& before, const QString& document, bool crlf) {
  fw::qt::TextMirror mirror(true);
  mirror.Reset(before);
  const std::string after = mirror.Update(document);
  return crlf ? platform::WithCrLfLineBreaks(after) : after;
}

// Whether two long texts are equal; else where they first differ, and
// what follows there in each, so that a failure does not print them whole.
::testing::AssertionResult SameText(const std::string& got, const std::string& want) {
  if (got == want) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  return ::testing::AssertionFailure()
         << "sizes " << got.size() << " and " << want.size() << ", first difference at byte " << at
         << ": " << ::testing::PrintToString(got.substr(at, 24)) << " instead of "
         << ::testing::PrintToString(want.substr(at, 24));
}

// Whether the box shows the model's text.
::testing::AssertionResult ShowsModel(const QPlainTextEdit* w, const fw::Edit& model) {
  return SameText(ShownLines(w).toStdString(),
                  fw::qt::TextMirror(true).Reset(model.Text()).toStdString());
}

// Commits `text` as an input method does; with `preedit`, composes it
// first.
void InputMethod(QWidget* w, const QString& text, const QString& preedit = {}) {
  QInputMethodEvent e(preedit, {});
  e.setCommitString(text);
  QCoreApplication::sendEvent(w, &e);
}

class Typing : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    fw::RegisterForm(TypingForm());
    ASSERT_TRUE(fw::GetWindow("Typing").Load());
    Log().clear();
  }

  // A text as the program writes one: CR LF lines with some lone LFs and
  // CRs, TABs, Chinese, the euro sign, bytes that are no GBK (0xFF, a lead
  // byte before a line break).
  std::string ProgramText(int lines) {
    static const char* const words[] = {"[level info]", "1200",  "\t", "技能", "x",   "\x80",
                                        "\xFF",         "[@02]", " ",  "数据", "\x81"};
    static const char* const breaks[] = {"\r\n", "\r\n", "\r\n", "\r\n", "\n", "\r"};
    std::string text;
    for (int i = 0; i < lines; ++i) {
      for (int n = Next(6); n > 0; --n) {
        const char* word = words[Next(std::size(words))];
        text += static_cast<unsigned char>(word[0]) >= 0x80 && word[1] == '\0' ? word : Gbk(word);
      }
      text += breaks[Next(std::size(breaks))];
    }
    return text;
  }

  int Next(std::size_t bound) {
    return static_cast<int>(std::uniform_int_distribution<std::size_t>(0, bound - 1)(rng_));
  }

  // Puts the caret at a random place, half the time on either side of a
  // line break, and selects up to 20 characters after it a quarter of the
  // time.
  void PlaceCaret(QPlainTextEdit* w) {
    QTextDocument* doc = w->document();
    const int length = doc->characterCount() - 1;
    int at = Next(static_cast<std::size_t>(length) + 1);
    if (Next(2) == 0) {
      const QTextBlock block =
          doc->findBlockByNumber(Next(static_cast<std::size_t>(doc->blockCount())));
      at = Next(2) == 0 ? block.position() : block.position() + block.length() - 1;
    }
    QTextCursor c(doc);
    c.setPosition(at);
    if (Next(4) == 0) c.setPosition(std::min(length, at + 1 + Next(20)), QTextCursor::KeepAnchor);
    w->setTextCursor(c);
  }

  // Runs the user's action `act` on `w` and checks, at each change of the
  // document that the box reports to the model (a user's action may make
  // more than one), that the model took what the whole-document road
  // gives for it and raised TextChanged once; at the end, that the box
  // shows the model's text. The view's own rewrites of the box are no
  // user's edits: the widget makes them with its undo turned off.
  void Check(const std::string& what, fw::Edit& model, QPlainTextEdit* w, bool crlf,
             const std::function<void()>& act) {
    QTextDocument* doc = w->document();
    const int raised = Count(model.name() + " TextChanged");
    int reported = 0;
    std::string settled = model.Text();  // before the change being reported
    std::optional<QString> document;     // what the document holds for it
    const QMetaObject::Connection changed =
        QObject::connect(doc, &QTextDocument::contentsChange, [&] {
          if (doc->isUndoRedoEnabled()) document = doc->toRawText();
        });
    // Runs after the view has taken the change to the model.
    const QMetaObject::Connection taken =
        QObject::connect(doc, &QTextDocument::contentsChanged, [&] {
          if (!doc->isUndoRedoEnabled()) return;
          ++reported;
          const std::string expected =
              WholeDocumentText(settled, document.value_or(doc->toRawText()), crlf);
          EXPECT_TRUE(SameText(model.Text(), expected)) << what << " (change " << reported << ")";
          settled = model.Text();
          document.reset();
        });
    act();
    QObject::disconnect(changed);
    QObject::disconnect(taken);
    ASSERT_FALSE(HasFailure());
    ASSERT_EQ(Count(model.name() + " TextChanged"), raised + reported) << what;
    ASSERT_TRUE(ShowsModel(w, model)) << what;
  }

  std::mt19937 rng_{20240611};
};

TEST_F(Typing, RandomEditsGiveTheBytesOfTheWholeDocument) {
  const QString pastes[] = {
      Q("P\r\nQ"),     Q("x\ny"),         Q("a\rb"),    Q("\r\n"), Q("\r"),
      Q("\n"),         Q("技能\r\n数据"), Q("☃ 雪"),    Q("😀x"),   Q("中\u2028文"),
      Q("\t1\t2\r\n"), Q("\r\r\n\n"),     Q("€\uFFFD"),
  };
  const QString committed[] = {Q("技能"), Q("數"), Q("𠀀"), Q("，")};
  const char typed[] = "ab1 \t;[]";
  for (bool crlf : {true, false}) {
    auto& model = fw::Get<fw::Edit>("Typing", crlf ? "脚本" : "多行");
    auto* w = Widget<QPlainTextEdit>("Typing", crlf ? "脚本" : "多行");
    ASSERT_NE(w, nullptr);
    model.SetText(ProgramText(600));
    w->setFocus();
    QString big;
    for (int i = 0; i < 4000; ++i) big += Q("[@02]12\t中\r\n");
    for (int step = 0; step < 500; ++step) {
      PlaceCaret(w);
      const std::string where = "step " + std::to_string(step) + " at " +
                                std::to_string(w->textCursor().position()) + ": ";
      switch (Next(11)) {
        case 0:
        case 1: {
          const char c = typed[Next(sizeof typed - 1)];
          Check(where + "type " + std::string(1, c), model, w, crlf,
                [&] { QTest::keyClick(w, c); });
          break;
        }
        case 2:
          Check(where + "Return", model, w, crlf, [&] { QTest::keyClick(w, Qt::Key_Return); });
          break;
        case 3:
          Check(where + "Backspace", model, w, crlf,
                [&] { QTest::keyClick(w, Qt::Key_Backspace); });
          break;
        case 4:
          Check(where + "Delete", model, w, crlf, [&] { QTest::keyClick(w, Qt::Key_Delete); });
          break;
        case 5: {
          const QString& text = step == 250 ? big : pastes[Next(std::size(pastes))];
          Check(where + "paste " + text.left(20).toStdString(), model, w, crlf, [&] {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
          });
          break;
        }
        case 6: {
          const QString& text = committed[Next(std::size(committed))];
          Check(where + "commit " + text.toStdString(), model, w, crlf,
                [&] { InputMethod(w, text); });
          break;
        }
        case 7:
          Check(where + "compose", model, w, crlf, [&] { InputMethod(w, {}, Q("ji")); });
          Check(where + "commit composed", model, w, crlf, [&] { InputMethod(w, Q("技")); });
          break;
        case 8:
          Check(where + "undo", model, w, crlf,
                [&] { QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier); });
          break;
        case 9:
          Check(where + "redo", model, w, crlf,
                [&] { QTest::keyClick(w, Qt::Key_Y, Qt::ControlModifier); });
          break;
        default:
          if (Next(8) == 0) {
            // The program writes a new text, lone line breaks and all.
            model.SetText(ProgramText(50 + Next(200)));
            ASSERT_TRUE(ShowsModel(w, model)) << where;
          }
          break;
      }
      if (HasFatalFailure()) return;
    }
  }
}

// Typing into a long script changes the box only where the user typed: it
// is never rewritten, the caret stays after the typed text, the undo
// history stays, and undoing it all gives the model the script again.
TEST_F(Typing, TypingIntoALongScriptLeavesTheRestOfTheBoxAlone) {
  auto& model = fw::Get<fw::Edit>("Typing", "脚本");
  auto* w = Widget<QPlainTextEdit>("Typing", "脚本");
  std::string script;
  std::size_t line10000 = 0;
  for (int i = 0; i < 20000; ++i) {
    if (i == 10000) line10000 = script.size();
    script += "[@02]" + std::to_string(1000 + i) + "\r\n";
  }
  model.SetText(script);
  QTextDocument* doc = w->document();
  int rewrites = 0;
  QObject::connect(doc, &QTextDocument::contentsChange, w, [&] {
    if (!doc->isUndoRedoEnabled()) ++rewrites;
  });
  w->setFocus();
  QTextCursor c(doc);
  c.setPosition(doc->findBlockByNumber(10000).position() + 5);  // after the 10,001st "[@02]"
  w->setTextCursor(c);
  const int at = c.position();
  QTest::keyClick(w, '7');
  QTest::keyClick(w, Qt::Key_Return);
  InputMethod(w, Q("技"));
  QTest::keyClick(w, Qt::Key_Backspace);
  QTest::keyClick(w, Qt::Key_Backspace);  // the line break: CR and LF go together

  std::string typed = script;
  typed.insert(line10000 + 5, "7");
  EXPECT_TRUE(SameText(model.Text(), typed));
  EXPECT_EQ(rewrites, 0);
  EXPECT_EQ(w->textCursor().position(), at + 1);
  for (int undo = 0; undo < 10 && doc->isUndoAvailable(); ++undo)
    QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(SameText(model.Text(), script));
  EXPECT_EQ(rewrites, 0);
}

// A change of the document that the model refuses (one that reached a
// locked box past its lock) is taken back: the box shows the model's text,
// and no TextChanged is raised.
TEST_F(Typing, AChangeTheModelRefusesIsTakenBackFromTheBox) {
  auto& model = fw::Get<fw::Edit>("Typing", "脚本");
  auto* w = Widget<QPlainTextEdit>("Typing", "脚本");
  model.SetText("locked\r\ntext");
  model.Disable();
  Log().clear();
  QTextCursor(w->document()).insertText(Q("x"));
  EXPECT_EQ(model.Text(), "locked\r\ntext");
  EXPECT_EQ(ShownLines(w), Q("locked\ntext"));
  EXPECT_EQ(Count("脚本 TextChanged"), 0);
}

// What the user brings into a box that GBK cannot hold (Hangul, an emoji)
// becomes "?", and the box's TextChanged says so; only what the user
// brought is looked at, not the text around it, which may show
// replacement characters of its own (bytes that are no GBK).
void OnTextBrought() {
  const fw::EventArgs& a = fw::CurrentEventArgs();
  Note(a.unit->name() + (a.textReplaced ? " replaced" : " kept"));
}

fw::WindowDef BroughtForm() {
  return fw::WindowDef("Brought", "带入", 640, 440)
      .At(20, 20)
      .InTaskbar()
      .Units({
          fw::EditBox("脚本", {10, 10, 300, 400}, "").Multiline().CrLfLines(),
          fw::EditBox("一行", {320, 10, 300, 24}, ""),
      })
      .Bind({
          {"脚本", Event::TextChanged, &OnTextBrought},
          {"一行", Event::TextChanged, &OnTextBrought},
      });
}

class TextBrought : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    fw::RegisterForm(BroughtForm());
    ASSERT_TRUE(fw::GetWindow("Brought").Load());
  }
};

TEST_F(TextBrought, CharactersGbkCannotHoldAreToldOnlyOfWhatTheUserBrought) {
  auto& model = fw::Get<fw::Edit>("Brought", "脚本");
  auto* w = Widget<QPlainTextEdit>("Brought", "脚本");
  model.SetText("\xFF[name]\r\n");  // a byte that is no GBK, shown as U+FFFD
  w->setFocus();
  w->moveCursor(QTextCursor::End);
  auto paste = [](QWidget* box, const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  };
  Log().clear();
  QTest::keyClick(w, 'a');
  paste(w, Q("스킬"));
  InputMethod(w, Q("😀"));
  InputMethod(w, {}, Q("ji"));
  InputMethod(w, Q("技"));
  paste(w, Q("\n技能"));
  // Each after the one before: a box shown anew, with "?" for what the
  // user brought, keeps the caret where the user's edit left it.
  EXPECT_EQ(model.Text(), "\xFF[name]\r\na???" + Gbk("技") + "\r\n" + Gbk("技能"));
  EXPECT_TRUE(ShowsModel(w, model));
  EXPECT_EQ(Log(), (std::vector<std::string>{"脚本 kept", "脚本 replaced", "脚本 replaced",
                                             "脚本 kept", "脚本 kept", "脚本 kept"}));

  auto* line = Widget<QLineEdit>("Brought", "一行");
  line->setFocus();
  Log().clear();
  QTest::keyClicks(line, "bc");
  QTest::keyClick(line, Qt::Key_Left);
  paste(line, Q("스"));
  QTest::keyClick(line, 'd');
  EXPECT_EQ(fw::Get<fw::Edit>("Brought", "一行").Text(), "b?dc");
  EXPECT_EQ(Log(),
            (std::vector<std::string>{"一行 kept", "一行 kept", "一行 replaced", "一行 kept"}));
}

}  // namespace
