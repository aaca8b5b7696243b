// The figure beside the prompt box, headless: its window opened as every
// prompt opens it (attached to the skin, composed and presented empty, then
// composed and presented with the picture), and closed again. Each prompt
// that does not follow another at once pays this; the whole-program fuzz
// target pays it for most of the prompts it answers.
#include <benchmark/benchmark.h>

#include "app/globals.h"
#include "app/program.h"
#include "app/prompt.h"
#include "app/units.h"
#include "framework/headless.h"
#include "skin/module.h"

namespace {

void BM_PromptFigureOpenComposeClose(benchmark::State& state) {
  fw::Headless headless;
  app::RegisterForms();
  app::InitProgramGlobals();
  skin::InitSkinModule();
  app::PromptDecorationPicture();
  fw::Window& figure = *app::prompt_backdrop_window::window;
  for (auto _ : state) {
    figure.Load();
    if (!figure.Layered() || figure.LayeredFrame().Empty()) {
      state.SkipWithError("the figure was not presented");
      break;
    }
    figure.Destroy();
  }
  app::FreeProgramGlobals();
}
BENCHMARK(BM_PromptFigureOpenComposeClose)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
