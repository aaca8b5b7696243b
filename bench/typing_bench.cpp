// One keystroke in the script box, on the Qt backend (offscreen), through
// the user's keys: a letter typed in the middle of a script of 50 KB, 1 MB
// and 1.6 MB, then taken back with Backspace, each a keystroke of its own;
// and, with "ime", the keystroke of an input method: composing text shown in
// the box ("ji"), then the composition given up, each a report of its own.
// Next to it the same keys in a bare QPlainTextEdit holding the same text,
// the floor: what the toolkit itself spends on a keystroke.
//
// The painting that follows a keystroke is not counted, in neither box: the
// window is painted between two runs, outside the timing. The repetitions
// of the two boxes run interleaved in a random order (unless the command
// line says otherwise), so that a machine busy with other work weighs on
// both alike.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

#include <memory>
#include <string>
#include <vector>

#include "app/globals.h"
#include "app/program.h"
#include "app/units.h"
#include "bench_scripts.h"
#include "framework/qt/qt_backend.h"
#include "framework/runtime.h"
#include "platform/codepage.h"
#include "qt_app.h"
#include "ratio_reporter.h"

namespace {

std::string Script(const benchmark::State& state) {
  bench::Shape shape;
  shape.sp = state.range(0) != 0;
  return bench::MakeScriptOfSize(shape, static_cast<std::size_t>(state.range(1)) * 1024);
}

void Settle() {
  QCoreApplication::processEvents();
}

// Puts the caret of `box` in the middle of its text and gives it the focus.
void CaretToMiddle(QPlainTextEdit* box) {
  box->activateWindow();
  box->setFocus();
  QTextCursor c = box->textCursor();
  c.setPosition(box->document()->characterCount() / 2);
  box->setTextCursor(c);
  Settle();
}

// An input method's report: `preedit` composed at the caret, or with none
// the composition given up, nothing committed.
void Compose(QPlainTextEdit* box, const QString& preedit) {
  QInputMethodEvent e(preedit, {});
  QCoreApplication::sendEvent(box, &e);
}

// Types a letter and takes it back (or composes and gives up), one
// keystroke per run.
void Type(benchmark::State& state, QPlainTextEdit* box) {
  const bool ime = state.range(2) != 0;
  bool typed = false;
  for (auto _ : state) {
    if (ime) {
      Compose(box, typed ? QString() : QStringLiteral("ji"));
    } else if (typed) {
      QTest::keyClick(box, Qt::Key_Backspace);
    } else {
      QTest::keyClick(box, Qt::Key_X);
    }
    typed = !typed;
    state.PauseTiming();
    Settle();
    state.ResumeTiming();
  }
  if (typed && ime) Compose(box, QString());
  if (typed && !ime) QTest::keyClick(box, Qt::Key_Backspace);
}

void BM_ScriptBoxKeystroke(benchmark::State& state) {
  bench::QtApp();
  auto backend = std::make_unique<fw::qt::QtBackend>();
  auto runtime = std::make_unique<fw::Runtime>(*backend);
  app::RegisterForms();
  app::InitProgramGlobals();
  app::main_window::window->Load();
  auto& model = *app::main_window::编辑框1;
  const std::string script = Script(state);
  model.SetText(script);
  auto* box = qobject_cast<QPlainTextEdit*>(backend->UnitWidget(model));
  if (box == nullptr) {
    state.SkipWithError("the script box is no QPlainTextEdit");
  } else {
    CaretToMiddle(box);
    Type(state, box);
    if (model.Text() != script) state.SkipWithError("the model does not hold the script again");
  }
  app::main_window::window->Destroy();
  app::FreeProgramGlobals();
}

void BM_BareBoxKeystroke(benchmark::State& state) {
  bench::QtApp();
  QString text = QString::fromStdU16String(platform::GbkToUtf16(Script(state)));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  // The script box's size and tab stops (eight spaces), the application's
  // font.
  QPlainTextEdit box;
  box.resize(324, 398);
  box.setTabStopDistance(box.fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
  box.setPlainText(text);
  box.show();
  CaretToMiddle(&box);
  Type(state, &box);
  if (box.toPlainText() != text) state.SkipWithError("the box does not hold the script again");
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"sp", "kb", "ime"});
  for (int sp : {1, 0}) {
    for (int kb : {50, 1024, 1638}) b->Args({sp, kb, 0});
  }
  for (int kb : {50, 1024, 1638}) b->Args({1, kb, 1});
  b->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_ScriptBoxKeystroke)->Apply(Sizes);
BENCHMARK(BM_BareBoxKeystroke)->Apply(Sizes);

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  static char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  return bench::RunWithRatios(
      count, args.data(),
      "Script box against a bare QPlainTextEdit (medians):", [](const std::string& name) {
        return bench::Swap(name, "BM_ScriptBoxKeystroke", "BM_BareBoxKeystroke");
      });
}
