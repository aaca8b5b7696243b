// What the views need of the backend that shows them: its pictures, the
// views of other windows and the widgets of units, whether a compositing
// manager draws the screen and whether a handler runs. The backend
// implements it; the views know the backend only through it.
#pragma once

#include <QPixmap>

#include "framework/types.h"
#include "framework/unit.h"

class QWidget;

namespace fw::qt {

class WindowView;

class ViewHost {
 public:
  // The picture of an image, made once per image.
  virtual QPixmap Picture(const Image& image) = 0;
  // Whether a compositing manager draws the screen (x11.h); the windows
  // that show per-pixel alpha follow when one starts or stops.
  virtual bool CompositorRuns() const = 0;
  // Asks the window system again whether one runs.
  virtual void RecheckCompositor() = 0;
  // The view of a loaded window, or nullptr.
  virtual WindowView* ViewOf(const Window& window) const = 0;
  // The widget of a unit that has a view, or nullptr.
  virtual QWidget* UnitWidget(const Control& unit) const = 0;
  // Whether a handler runs, so that what changes now is shown when the
  // outermost handler returns (or a loop waits inside it).
  virtual bool Holding() const = 0;

  // The host of the views in use, or nullptr.
  static ViewHost* Current();

 protected:
  ~ViewHost() = default;
};

}  // namespace fw::qt
