// The interface below the models. A backend mirrors loaded windows and
// their units in views and turns what the user does into calls of the
// input entry points (input.h). The runtime owns the loop logic, the event
// rules and the timers; a backend only shows, waits and reports.
//
// Contract, model -> view: the runtime calls CreateView when a window is
// loaded (after its units hold the form's values), Changed after a model
// property changed, and DestroyView when the window is destroyed. The
// backend reads the model for the new values; it never writes the model
// except through input.h. A view must not raise framework events for
// changes the program made (Qt signals that fire on program writes are
// ignored or blocked by the backend).
//
// Contract, view -> model: user input is reported by calling the input.h
// entry point for it on the GUI thread, from inside PumpInput or Wait. The
// entry point updates the model, applies the event rules and runs the
// handler synchronously; the handler may nest loops, which call PumpInput
// and Wait again (the backend must allow this re-entry).
//
// Every member is called on the GUI thread, except Wake.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/types.h"
#include "framework/unit.h"

namespace fw {

class Grid;

class Backend {
 public:
  virtual ~Backend() = default;

  // ---- Views ----
  // Builds the view of a window being loaded; false makes the load fail.
  virtual bool CreateView(Window& window) = 0;
  virtual void DestroyView(Window& window) = 0;
  virtual void Changed(Control& unit, Prop what) = 0;
  // A grid write, in detail (what Changed(grid, Prop::Cells) says in
  // general). A backend that shows grids cell by cell overrides it; the
  // default reports it as Changed.
  virtual void GridChanged(Grid& grid, const GridChange& change);
  virtual void WindowChanged(Window& window, Prop what) = 0;
  // A handler starts, and has returned (they nest). A backend may hold what
  // changed while a handler runs and show it once the outermost one has
  // returned, or earlier when a loop waits inside it: the user never sees
  // the intermediate states, and a unit written many times by one handler
  // is shown once.
  virtual void HandlerStarts() {}
  virtual void HandlerEnds() {}
  // A modal window with an owner started (blocked = true) or ended; the
  // view may grey out or disable input to the owner and its embedded
  // windows. The runtime refuses such input anyway.
  virtual void OwnerBlocked(Window& owner, bool blocked) = 0;
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;

  // ---- Time and waiting ----
  // Monotonic milliseconds: the real steady clock, or the headless
  // virtual clock. Timers and delays compare against it, so they are
  // never early whatever the view's timer precision.
  virtual std::int64_t NowMs() = 0;
  // Delivers the user input that is already pending (through input.h) and
  // returns without waiting.
  virtual void PumpInput() = 0;
  // Waits until user input, a Wake, or `deadline` (NowMs value; none:
  // no deadline), delivering the input that arrives. Returns early on
  // Wake. The headless backend performs its scripted steps here and moves
  // its virtual clock.
  virtual void Wait(std::optional<std::int64_t> deadline) = 0;
  // Thread-safe: work was posted; makes a Wait in progress return soon.
  virtual void Wake() = 0;

  // ---- Services ----
  virtual void SetClipboardText(std::string_view gbk) = 0;
  virtual std::string ClipboardText() = 0;
  virtual bool PlaySound(std::span<const std::uint8_t> wave) = 0;
  virtual std::string ProgramFolder() = 0;  // as the system names it, no trailing separator
  // Shows the fatal-error report (GBK). Returns; the runtime then ends.
  virtual void ShowFatal(std::string_view gbk) = 0;
  // The last step of the exit road, after the exit routine ran and every
  // view is gone. The Qt backend flushes output and ends the process with
  // `code` (no unwinding through Qt's frames); the headless backend throws
  // fw::ProgramEnded, which its Run catches.
  [[noreturn]] virtual void EndProcess(const ProgramEnded& how) = 0;
};

}  // namespace fw
