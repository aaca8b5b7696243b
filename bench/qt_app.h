// The Qt application of a benchmark process, made on first use: the
// editor's own application class on the offscreen platform, without sound
// (unless the environment says otherwise).
#pragma once

#include <cstdlib>

#include "framework/qt/qt_backend.h"

namespace bench {

inline fw::qt::Application& QtApp() {
  static fw::qt::Application* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    return new fw::qt::Application(argc, argv);
  }();
  return *app;
}

}  // namespace bench
