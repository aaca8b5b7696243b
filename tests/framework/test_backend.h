// A minimal backend for tests that need to see what the runtime tells a
// backend (Changed notifications) or to control how waiting behaves.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/backend.h"
#include "framework/runtime.h"
#include "framework/units.h"

namespace fwtest {

class RecordingBackend : public fw::Backend {
 public:
  // Each Wait moves the clock forward by at most `waitStepMs`, so a wait
  // for a deadline further away returns early, as a coarse view timer or a
  // spurious wake-up would.
  explicit RecordingBackend(std::int64_t waitStepMs = 1000000) : waitStep_(waitStepMs) {}

  std::vector<std::string> changes;  // "unit prop" per Changed / WindowChanged
  std::int64_t now = 0;
  int waits = 0;

  bool CreateView(fw::Window&) override { return true; }
  void DestroyView(fw::Window&) override {}
  void Changed(fw::Control& unit, fw::Prop what) override {
    changes.push_back(unit.name() + " " + std::to_string(static_cast<int>(what)));
  }
  // "grid cells r0-r1 c0-c1", "grid appended r0-r1", "grid removed r0-r1"
  void GridChanged(fw::Grid& grid, const fw::GridChange& c) override {
    const char* kinds[] = {" cells ", " appended ", " removed "};
    std::string line = grid.name() + kinds[static_cast<int>(c.kind)] + std::to_string(c.firstRow) +
                       "-" + std::to_string(c.lastRow);
    if (c.kind == fw::GridChange::Kind::Cells) {
      line += " " + std::to_string(c.firstCol) + "-" + std::to_string(c.lastCol);
    }
    changes.push_back(line);
  }
  void WindowChanged(fw::Window& window, fw::Prop what) override {
    changes.push_back(window.name() + " " + std::to_string(static_cast<int>(what)));
  }
  void OwnerBlocked(fw::Window&, bool) override {}
  int ScreenWidth() override { return 1000; }
  int ScreenHeight() override { return 800; }
  std::int64_t NowMs() override { return now; }
  void PumpInput() override {}
  void Wait(std::optional<std::int64_t> deadline) override {
    ++waits;
    if (!deadline) throw fw::ProgramEnded{99, true, "waited without a deadline"};
    now += std::min(waitStep_, *deadline - now);
  }
  void Wake() override {}
  void SetClipboardText(std::string_view) override {}
  std::string ClipboardText() override { return {}; }
  bool PlaySound(std::span<const std::uint8_t>) override { return false; }
  std::string ProgramFolder() override { return "."; }
  void ShowFatal(std::string_view) override {}
  [[noreturn]] void EndProcess(const fw::ProgramEnded& how) override { throw how; }

 private:
  std::int64_t waitStep_;
};

}  // namespace fwtest
