// The widgets that mirror units. Each view reads its model to show it
// (Refresh) and reports what the user does through fw::input; it never
// writes a model itself and never raises an event for a change the
// program made. Views outlive their models' loaded state only as dead
// widgets waiting to be freed: once killed, a view ignores everything.
#pragma once

#include <QPalette>
#include <QWidget>

#include <cstdint>
#include <utility>

#include "framework/qt/view_host.h"
#include "framework/runtime.h"
#include "framework/unit.h"
#include "framework/units.h"

namespace fw::qt {

// Whether the form binds a handler to this unit's event.
bool HasBinding(const Control& unit, Event event);
// Units that only decorate (labels and pictures that take no clicks, group
// boxes) lie below the units the user works with when they overlap.
bool IsDecoration(const Control& unit);

// The part every unit view shares. The widget is the view object itself
// (each view derives from a Qt widget and from UnitView).
class UnitView {
 public:
  UnitView(ViewHost& backend, Control& unit, QWidget* widget);
  virtual ~UnitView();
  UnitView(const UnitView&) = delete;
  UnitView& operator=(const UnitView&) = delete;

  Control& unit() const { return *unit_; }
  QWidget* widget() const { return widget_; }
  // Where the units whose parent is this unit live (group box, tab page).
  virtual QWidget* Container(int page);

  // Reads the model's property into the widget.
  void Refresh(Prop what);
  void RefreshAll();
  // A grid write, in detail (grids only).
  void RefreshGrid(const GridChange& change) {
    if (!dead_) ShowGridChange(change);
  }
  // The window was destroyed: the view ignores its model from now on.
  void Kill() {
    dead_ = true;
    Killed();
  }
  bool Live() const { return !dead_; }
  // Changes held while handlers run (one bit per Prop), for the backend
  // to show later: Hold tells whether the view had none held before.
  bool Hold(Prop what) {
    const std::uint32_t before = held_;
    held_ |= 1u << static_cast<unsigned>(what);
    return before == 0;
  }
  std::uint32_t TakeHeld() { return std::exchange(held_, 0u); }

 protected:
  virtual void RefreshGeometry();
  virtual void RefreshText() {}
  virtual void RefreshDisabled();
  virtual void RefreshFont();
  virtual void RefreshColours() {}
  virtual void RefreshKind(Prop) {}
  virtual void ShowGridChange(const GridChange&) {}
  // The view was killed: a view that reads its model while painting stops.
  virtual void Killed() {}

  // Text colour and back colour of the model into these palette roles;
  // unset colours keep the style's. `fill` paints the back colour.
  void ApplyColours(QPalette::ColorRole text, QPalette::ColorRole back, bool fill);
  // The palette ApplyColours sets, and setting a palette only when it
  // differs from the widget's own.
  QPalette ColoursPalette(QPalette::ColorRole text, QPalette::ColorRole back) const;
  void SetPalette(const QPalette& pal);

  ViewHost& backend_;

 private:
  Control* unit_;
  QWidget* widget_;
  bool dead_ = false;
  std::uint32_t held_ = 0;
};

// Tells every table the grid writes it has not been told yet. The backend
// calls it before Qt delivers an event and before the loop waits, so no
// paint, input or timer ever meets a table behind its grid.
void ShowHeldGridWrites();

// Creates the view of a unit inside `parent`; nullptr for the kinds
// without a view (timers, drop targets).
UnitView* CreateUnitView(ViewHost& backend, Control& unit, QWidget* parent);

}  // namespace fw::qt
