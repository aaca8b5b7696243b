// The unit models' common base and the window model.
//
// Ownership: the runtime owns one Window per registered form for the whole
// run, and each Window owns its units. Both are created at registration and
// never move, so references to them stay valid until the runtime ends. A
// window is either loaded or not; loading resets every unit to its form's
// values, destroying clears them. While a window is not loaded its units
// ignore writes and read empty (texts ""), 0, false or -1 (indexes), and no
// event is raised for them.
//
// Threads: every member of every model is for the GUI thread only (the
// thread that created the runtime). From any other thread use
// fw::PostToGui / fw::PostToWindow (runtime.h). A call from another thread
// is a fatal error.
//
// Change notification: every setter that changes what a view shows calls
// the backend's Changed(unit, Prop) after the model holds the new value;
// the backend reads the model to update its view. Setters never call the
// backend when the value did not change, except where an event rule says a
// write counts even if identical (Edit::SetText).
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "framework/types.h"

namespace fw {

class Runtime;
class Window;
struct UnitDef;
struct WindowDef;
namespace detail {
struct Access;  // the framework's own sources reach private state through it
}

// What changed, as passed to Backend::Changed. Each unit kind documents
// which of these it sends.
enum class Prop : std::uint8_t {
  Geometry,  // left, top, width, height
  Visible,
  Disabled,
  Text,  // caption or text
  Font,
  Colours,     // text and back colour
  Images,      // picture button state pictures, picture, window back picture
  Checked,     // radio
  Items,       // combo items (any change of the list)
  Current,     // combo selection, current tab
  Cells,       // grid rows, texts, colours or read-only flags
  Selection,   // rich edit selection
  Format,      // rich edit character formats
  Parent,      // window embedded in another window
  Minimised,   // window minimised or restored
  ZOrder,      // window brought to the front
  Frame,       // layered window: a new frame presented
  SystemMove,  // the user is to drag the window, the window system moving it
};

// Named values that code outside the framework keeps on a window instance
// or on a unit, as the skinned-window module keeps its state. An absent
// name reads as nullptr. They last until the window is destroyed, which
// drops them and releases whatever they own; on a window that is not
// loaded writes are ignored.
class PropertyBag {
 public:
  void Set(std::string_view name, std::any value);
  const std::any* Get(std::string_view name) const;
  void Remove(std::string_view name);
  void Clear() { values_.clear(); }

 private:
  std::map<std::string, std::any, std::less<>> values_;
};

// What a grid write changed, in detail (Backend::GridChanged), so that a
// view touches only those cells or rows. Rows and columns are the grid's,
// row 0 the header row, first and last inclusive.
struct GridChange {
  enum class Kind : std::uint8_t {
    Cells,         // texts, colours or read-only flags of a rectangle
    RowsAppended,  // new rows at the end
    RowsRemoved,   // rows taken out; the rows after them moved up
  };
  Kind kind = Kind::Cells;
  int firstRow = 0;
  int lastRow = 0;
  int firstCol = 0;  // Cells only
  int lastCol = 0;
};

// Base of every unit model.
class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  Kind kind() const { return kind_; }
  const std::string& name() const { return name_; }  // UTF-8 key
  Window& window() const { return *window_; }
  // The containing group box or tab control, or nullptr for the window.
  Control* parent() const { return parent_; }
  int page() const { return page_; }  // tab page, -1 when not on a tab control
  bool Loaded() const;                // the window is loaded

  // Geometry relative to the parent unit or the window's client area.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  Rect Geometry() const;
  void SetGeometry(const Rect& r);
  void SetLeft(int v);
  void SetTop(int v);
  void SetWidth(int v);
  void SetHeight(int v);

  // Visible and disabled as the program set them. A unit inside a hidden or
  // disabled group box, or on a tab page that is not current, is shown
  // hidden or disabled by the backend, but its own flags keep their values.
  bool Visible() const;
  void SetVisible(bool v);
  bool Disabled() const;
  void SetDisabled(bool v);
  void Enable() { SetDisabled(false); }
  void Disable() { SetDisabled(true); }

  // Caption (label, buttons, radio, group box, window) or text (edit, rich
  // edit): GBK bytes, kept byte for byte. Kinds without a caption (timer,
  // grid, combo, picture, drop target) keep the value but show nothing.
  // Writing raises no event, except for Edit (see Edit::SetText).
  virtual std::string Text() const;
  virtual void SetText(std::string_view gbk);

  const Font& GetFont() const;
  void SetFont(const Font& f);
  Colour TextColour() const;
  Colour BackColour() const;
  void SetTextColour(Colour c);
  void SetBackColour(Colour c);

  // Whether the user can act on this unit now: loaded, visible and enabled
  // (own flags and those of its group box / tab page), on the current tab
  // page, and its window is not blocked by a modal window. The input entry
  // points (input.h) refuse actions on units that cannot be reached.
  bool Reachable() const;

  // See PropertyBag; dropped when the window is destroyed.
  void SetProperty(std::string_view name, std::any value);
  const std::any* Property(std::string_view name) const;
  void RemoveProperty(std::string_view name);

  // Resets every property to the form's values (load) or to empty
  // (destroy). Called by the runtime only; raises nothing.
  virtual void ResetFromDefinition();
  virtual void Clear();

 public:
  // Built by the runtime at registration only.
  Control(Window& window, const UnitDef& def);

 protected:
  void Notify(Prop p);  // tells the backend, if the window is loaded

 private:
  friend class Window;
  friend struct detail::Access;
  Kind kind_;
  std::string name_;
  Window* window_;
  Control* parent_ = nullptr;
  int page_ = -1;
  const UnitDef* def_;
  Rect rect_;
  bool visible_ = false;
  bool disabled_ = false;
  std::string text_;
  Font font_;
  Colour textColour_ = kDefaultColour;
  Colour backColour_ = kDefaultColour;
  PropertyBag properties_;
};

// The mouse and keyboard as a layered window receives them, for a program
// that draws the window's units itself (the skinned-window module): where
// the pointer is, in the window's client coordinates, and what is typed.
struct RawInput {
  enum class Kind : std::uint8_t {
    PointerMove,   // x, y
    PointerLeave,  // the pointer left the window
    LeftDown,      // x, y
    LeftDouble,    // a quick second press, x, y
    LeftUp,        // x, y
    Character,     // `text`: one character, GBK (backspace is "\b")
    KeyDown,       // `key`: a key without a character (its Windows key code)
  };
  Kind kind = Kind::PointerMove;
  int x = 0;
  int y = 0;
  std::string text;
  int key = 0;
};
using RawInputHook = std::function<void(const RawInput&)>;
// A unit of the window and what the program changed of it.
using UnitChangeHook = std::function<void(Control&, Prop)>;

// How a window is loaded.
struct LoadOptions {
  // Modal: Load returns only when the window has been destroyed; the
  // runtime runs a nested loop meanwhile in which every window's events,
  // timers and posted work keep being served.
  bool modal = false;
  // Owner: an owned window stays above its owner; while a modal window
  // with an owner is loaded, the owner and the windows embedded in it take
  // no user input (their timers and posted work still run). A modal window
  // without owner blocks nothing.
  Window* owner = nullptr;
};

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  ~Window();

  const std::string& name() const { return name_; }
  const WindowDef& definition() const { return *def_; }

  // Loads the window: builds its view, resets every unit to the form,
  // places it (centred on the screen when the form says so), runs its
  // Created handler (during the load, before Load returns), then shows it
  // if the form says visible-when-loaded. Modeless: returns true once
  // created. Modal: returns true after the window has been destroyed.
  // Returns false, and changes nothing, when the window is already loaded
  // (a form has at most one instance) or its view cannot be built.
  bool Load(const LoadOptions& options = {});
  // Destroys a loaded window: raises Destroying (units still readable),
  // destroys every window embedded in it first, stops its timers, drops
  // its drop registrations, clears its units and removes its view. A modal
  // load of this window returns once the handler that destroyed it has
  // returned. Nothing happens when the window is not loaded.
  void Destroy();
  bool IsLoaded() const;
  // Changes with every load and every destroy; odd while loaded. Posted
  // work guarded by a window (PostToWindow) runs only if the generation is
  // still the one it was posted in. Readable from any thread.
  std::uint64_t Generation() const;

  // Geometry: see Rect. Writes raise Moved when left or top change.
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  Rect Geometry() const;
  void SetGeometry(const Rect& r);
  void SetLeft(int v);
  void SetTop(int v);
  void SetWidth(int v);
  void SetHeight(int v);

  bool Visible() const;
  void SetVisible(bool v);
  std::string Caption() const;  // GBK
  void SetCaption(std::string_view gbk);
  Colour BackColour() const;
  void SetBackColour(Colour c);
  const Image& BackImage() const;
  void SetBackImage(const Image& image);  // translucent windows

  // Per-pixel alpha. A loaded window becomes layered at its first
  // PresentLayered, at run time, whatever its form says, and keeps every
  // flag of its form (on top, taskbar entry, input transparency). From then
  // on it shows only the frame presented last: no background, no units,
  // and each pixel's alpha decides how much of what lies below shows
  // through. Presenting neither moves nor resizes the window; a frame of
  // another size is drawn unscaled from the top-left corner. What is shown
  // can be read back (headless tests check composed pixels here). The
  // frame goes with the window when it is destroyed.
  void PresentLayered(const Frame& frame);
  bool Layered() const;
  const Frame& LayeredFrame() const;

  // See PropertyBag; dropped when the window is destroyed.
  void SetProperty(std::string_view name, std::any value);
  const std::any* Property(std::string_view name) const;
  void RemoveProperty(std::string_view name);

  // Program timers of this window instance, besides its timer units: `tick`
  // runs every `periodMs` on the GUI thread, served by the loop like a
  // timer unit's Tick and, like it, not re-entered while it waits.
  // Starting an id that runs restarts it with the new period and callback;
  // a period of 0 or less stops it. They stop when the window is destroyed.
  // Ignored while the window is not loaded.
  void StartTimer(int id, int periodMs, std::function<void()> tick);
  void StopTimer(int id);
  bool TimerRunning(int id) const;

  // Lets the user drag this loaded top-level window from where the mouse
  // is, the window system moving it (as a press on a system caption bar
  // does); the model follows each move as the window system reports it.
  void BeginUserMove();

  // While a hook is set, the mouse and keyboard input of this window, once
  // it is layered, goes to the hook instead of its units (which it does not
  // show): see input::RawWindowInput. Dropped when the window is
  // destroyed; ignored while it is not loaded.
  void SetRawInputHook(RawInputHook hook);
  bool HasRawInputHook() const;

  // While a hook is set, it learns of every change the program makes to a
  // unit of this window, after the backend was told (see Prop): for a
  // program that draws the units itself and must follow them (the
  // skinned-window module follows a unit disabled or enabled through
  // Control::SetDisabled). Dropped when the window is destroyed; ignored
  // while it is not loaded.
  void SetUnitChangeHook(UnitChangeHook hook);

  // Minimises a loaded top-level window; false when it is not loaded or is
  // embedded. Restoring is the user's (or the backend's) business; an
  // embedded window follows its parent.
  bool Minimise();
  bool Minimised() const;
  void BringToFront();

  // Makes this loaded top-level window a child window of `parent` (also
  // loaded) at (left, top) in the parent's client area; width and height,
  // when not given, keep the window's current size. From then on its
  // geometry is relative to the parent, it moves and minimises with the
  // parent and is destroyed with it. False when either is not loaded or
  // parent is this window or embedded in it.
  bool EmbedIn(Window& parent, int left, int top, std::optional<int> width = {},
               std::optional<int> height = {});
  Window* EmbeddedIn() const;  // nullptr for a top-level window

  // The unit with this name, or nullptr.
  Control* Find(std::string_view unitName) const;

  // Whether user input to this window is refused because a modal window
  // with an owner blocks it, or because a DelayHoldingInput is running.
  bool Blocked() const;
  // The modal window that blocks user input to this one (of several, the
  // one loaded last): the window that answers for it. nullptr when no
  // modal window blocks it (a DelayHoldingInput alone has none).
  Window* BlockedBy() const;

  // How the current instance was loaded (for the backends: an owned window
  // stays above its owner, a modal one may be shown as such). nullptr and
  // false while not loaded.
  Window* Owner() const;
  bool Modal() const;

 private:
  friend class Runtime;
  friend struct detail::Access;
  Window(Runtime& runtime, const WindowDef& def);
  struct State;
  Runtime* runtime_;
  const WindowDef* def_;
  std::string name_;
  std::unique_ptr<State> state_;  // units, geometry, flags, loop state
};

}  // namespace fw
