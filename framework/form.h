// Form definitions: one per window, plain data. A form names the window,
// its look and flags, every unit with its initial properties, and the event
// bindings (unit + event -> handler). The runtime builds the window's unit
// models from the form once, at registration, and resets them to the form's
// values at every load; initial values never raise events.
//
// Texts in a form (caption, initial text, tab captions, font face) are UTF-8
// source literals and are converted to GBK at registration. Names (window,
// unit, parent) are UTF-8 keys and are used as they are.
//
// A definition reads best with the builders below, one line per unit:
//
//   fw::WindowDef def = fw::WindowDef("MainWindow", "...", 961, 597)
//       .Centred().InTaskbar().Draggable().Minimisable()
//       .Units({
//           fw::EditBox("编辑框1", {7, 51, 324, 398}, kHint).Multiline(),
//           fw::RadioBox("通用单选框", {8, 18, 50, 16}, "通用").In("分组框1").Disabled(),
//       })
//       .Bind({{"读取按钮", fw::Event::Clicked, &OnReadButtonClicked}});
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/types.h"

namespace fw {

struct UnitDef {
  std::string_view name;  // unique within the window
  Kind kind = Kind::Label;
  std::string_view parent;  // containing group box or tab control; empty: the window
  int page = -1;            // tab page index when `parent` is a tab control
  Rect rect;                // relative to the parent unit or the window's client area
  std::string_view text;    // caption or initial text (UTF-8; GBK after registration)
  Font font;                // face as UTF-8 here
  Colour textColour = kDefaultColour;
  Colour backColour = kDefaultColour;
  bool visible = true;
  bool disabled = false;
  // Edit / RichEdit.
  bool multiline = false;
  bool readOnly = false;
  // Edit: what the user types or pastes is stored with every line break (a
  // lone CR, a lone LF or CR LF) as CR LF; program writes stay as written.
  bool crlfLines = false;
  // PictureButton: the four state pictures. Picture: `images.normal`.
  ImageSet images;
  // Timer: period in milliseconds; 0 = stopped.
  int period = 0;
  // Grid: number of columns (row 0 is always the fixed header row).
  int columns = 2;
  // Tabs: one caption per page (UTF-8).
  std::vector<std::string_view> tabs;

  // Fluent modifiers, so that a definition stays one line per unit.
  UnitDef&& In(std::string_view p) && {
    parent = p;
    return std::move(*this);
  }
  UnitDef&& OnPage(std::string_view tabs_unit, int index) && {
    parent = tabs_unit;
    page = index;
    return std::move(*this);
  }
  UnitDef&& Hidden() && {
    visible = false;
    return std::move(*this);
  }
  UnitDef&& Disabled() && {
    disabled = true;
    return std::move(*this);
  }
  UnitDef&& Multiline() && {
    multiline = true;
    return std::move(*this);
  }
  UnitDef&& ReadOnly() && {
    readOnly = true;
    return std::move(*this);
  }
  UnitDef&& CrLfLines() && {
    crlfLines = true;
    return std::move(*this);
  }
  UnitDef&& WithFont(Font f) && {
    font = std::move(f);
    return std::move(*this);
  }
  UnitDef&& Colours(Colour fore, Colour back = kDefaultColour) && {
    textColour = fore;
    backColour = back;
    return std::move(*this);
  }
  UnitDef&& Images(const ImageSet& set) && {
    images = set;
    return std::move(*this);
  }
};

// Builders: one per kind, taking what nearly every unit of that kind needs.
// (Definitions use these rather than designated initializers, which GCC 12
// reports under -Wmissing-field-initializers.)
inline UnitDef MakeUnit(std::string_view name, Kind kind, Rect r = {}, std::string_view text = {}) {
  UnitDef u;
  u.name = name;
  u.kind = kind;
  u.rect = r;
  u.text = text;
  return u;
}
inline UnitDef LabelUnit(std::string_view name, Rect r, std::string_view text = {}) {
  return MakeUnit(name, Kind::Label, r, text);
}
inline UnitDef GroupBoxUnit(std::string_view name, Rect r, std::string_view text = {}) {
  return MakeUnit(name, Kind::GroupBox, r, text);
}
inline UnitDef EditBox(std::string_view name, Rect r, std::string_view text = {}) {
  return MakeUnit(name, Kind::Edit, r, text);
}
inline UnitDef ButtonUnit(std::string_view name, Rect r, std::string_view text) {
  return MakeUnit(name, Kind::Button, r, text);
}
inline UnitDef PictureButtonUnit(std::string_view name, Rect r, const ImageSet& set) {
  UnitDef u = MakeUnit(name, Kind::PictureButton, r);
  u.images = set;
  return u;
}
inline UnitDef SuperButtonUnit(std::string_view name, Rect r, std::string_view text) {
  return MakeUnit(name, Kind::SuperButton, r, text);
}
inline UnitDef RadioBox(std::string_view name, Rect r, std::string_view text) {
  return MakeUnit(name, Kind::Radio, r, text);
}
inline UnitDef ComboBox(std::string_view name, Rect r) {
  return MakeUnit(name, Kind::Combo, r);
}
inline UnitDef TabsUnit(std::string_view name, Rect r, std::vector<std::string_view> captions) {
  UnitDef u = MakeUnit(name, Kind::Tabs, r);
  u.tabs = std::move(captions);
  return u;
}
inline UnitDef TimerUnit(std::string_view name, int periodMs = 0) {
  UnitDef u = MakeUnit(name, Kind::Timer);
  u.visible = false;
  u.period = periodMs;
  return u;
}
inline UnitDef GridUnit(std::string_view name, Rect r, int columns = 2) {
  UnitDef u = MakeUnit(name, Kind::Grid, r);
  u.columns = columns;
  return u;
}
inline UnitDef RichEditBox(std::string_view name, Rect r, std::string_view text = {}) {
  UnitDef u = MakeUnit(name, Kind::RichEdit, r, text);
  u.multiline = true;
  return u;
}
inline UnitDef DropTargetUnit(std::string_view name) {
  UnitDef u = MakeUnit(name, Kind::DropTarget);
  u.visible = false;
  return u;
}
inline UnitDef PictureUnit(std::string_view name, Rect r, const Image& image) {
  UnitDef u = MakeUnit(name, Kind::Picture, r);
  u.images.normal = image;
  return u;
}

// One event binding. `unit` empty binds a window event (Created, Destroying,
// Moved, CloseRequested). FilesDropped takes a FilesHandler, every other
// event a Handler.
struct Binding {
  std::string_view unit;
  Event event = Event::Clicked;
  Handler handler = nullptr;
  FilesHandler filesHandler = nullptr;

  Binding(std::string_view u, Event e, Handler h) : unit(u), event(e), handler(h) {}
  Binding(std::string_view u, Event e, FilesHandler h) : unit(u), event(e), filesHandler(h) {}
};

struct WindowFlags {
  bool frameless = true;   // no system caption bar or border
  bool onTop = false;      // always above other windows
  bool inTaskbar = false;  // has a taskbar button (shows `caption`)
  bool centred = false;    // centred on the screen at every load
  bool draggable = false;  // dragged with the left button on its background
  bool visibleWhenLoaded = true;
  bool minimisable = false;
  bool inputTransparent = false;  // mouse input passes through to what lies below
  bool translucent = false;       // drawn from its back picture with per-pixel alpha
  // The user may ask to close the window (close key, window manager): the
  // request raises the window's CloseRequested, which a form with this flag
  // binds to its close button's road. Without it the request is refused.
  bool userMayClose = false;
};

struct WindowDef {
  std::string_view name;     // the window's key, e.g. "MainWindow"
  std::string_view caption;  // window caption (taskbar text), UTF-8
  int width = 0;
  int height = 0;
  int left = 0;  // used when not centred
  int top = 0;
  WindowFlags flags;
  Colour backColour = kDefaultColour;
  Image backImage;  // translucent windows: the picture they are drawn from
  std::vector<UnitDef> units;
  std::vector<Binding> bindings;
  // Keys: pressing Enter (Escape) in the window clicks the first unit of
  // this list that the user can reach now; with none reachable the key
  // does nothing. Buttons, picture buttons and super buttons only.
  std::vector<std::string_view> enterUnits;
  std::vector<std::string_view> escapeUnits;

  WindowDef() = default;
  WindowDef(std::string_view n, std::string_view c, int w, int h)
      : name(n), caption(c), width(w), height(h) {}
  WindowDef&& At(int l, int t) && {
    left = l;
    top = t;
    return std::move(*this);
  }
  WindowDef&& Centred() && {
    flags.centred = true;
    return std::move(*this);
  }
  WindowDef&& OnTop() && {
    flags.onTop = true;
    return std::move(*this);
  }
  WindowDef&& InTaskbar() && {
    flags.inTaskbar = true;
    return std::move(*this);
  }
  WindowDef&& Draggable() && {
    flags.draggable = true;
    return std::move(*this);
  }
  WindowDef&& Minimisable() && {
    flags.minimisable = true;
    return std::move(*this);
  }
  WindowDef&& HiddenWhenLoaded() && {
    flags.visibleWhenLoaded = false;
    return std::move(*this);
  }
  WindowDef&& InputTransparent() && {
    flags.inputTransparent = true;
    return std::move(*this);
  }
  WindowDef&& UserMayClose() && {
    flags.userMayClose = true;
    return std::move(*this);
  }
  WindowDef&& Translucent(const Image& picture) && {
    flags.translucent = true;
    backImage = picture;
    return std::move(*this);
  }
  WindowDef&& Background(Colour c) && {
    backColour = c;
    return std::move(*this);
  }
  WindowDef&& Units(std::vector<UnitDef> u) && {
    units = std::move(u);
    return std::move(*this);
  }
  WindowDef&& Bind(std::vector<Binding> b) && {
    bindings = std::move(b);
    return std::move(*this);
  }
  WindowDef&& EnterPresses(std::vector<std::string_view> u) && {
    enterUnits = std::move(u);
    return std::move(*this);
  }
  WindowDef&& EscapePresses(std::vector<std::string_view> u) && {
    escapeUnits = std::move(u);
    return std::move(*this);
  }
};

// Checks a definition: unique unit names; parents that exist and are group
// boxes or tab controls; pages within the tab control's captions; bindings
// that name existing units with an event that their kind raises, with the
// handler type that the event takes; no two bindings for the same unit and
// event; key units that exist and are buttons; a CloseRequested binding on a
// window the user may close. Returns one line per problem (empty: the form
// is sound). The runtime refuses to register a form with problems (fatal
// error).
std::vector<std::string> ValidateForm(const WindowDef& def);

}  // namespace fw
