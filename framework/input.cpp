// Definitions for input.h: user actions on the models.
#include "framework/input.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "framework/detail.h"
#include "framework/runtime.h"
#include "platform/codepage.h"

namespace fw::input {

namespace {

// Whether files can be dropped on `unit`: as Control::Reachable, but a
// disabled unit (or group box) still takes them.
bool DropReachable(const Control& unit) {
  if (!unit.Loaded() || unit.window().Blocked()) return false;
  for (const Window* w = &unit.window(); w != nullptr; w = w->EmbeddedIn()) {
    if (!w->IsLoaded() || !w->Visible() || w->Minimised()) return false;
  }
  for (const Control* c = &unit; c != nullptr; c = c->parent()) {
    if (!c->Visible()) return false;
    if (c->parent() != nullptr && c->parent()->kind() == Kind::Tabs &&
        static_cast<const Tabs*>(c->parent())->Current() != c->page())
      return false;
  }
  return true;
}

bool WindowTakesInput(const Window& w) {
  return w.IsLoaded() && !w.Blocked();
}

void RaiseCellEvent(Grid& grid, int row, int col, CellAction action) {
  EventArgs args;
  args.row = row;
  args.col = col;
  args.cellAction = action;
  detail::Raise(grid.window(), &grid, Event::CellEvent, args);
}

}  // namespace

bool Click(Control& unit) {
  detail::RequireGui();
  if (!unit.Reachable()) return false;
  switch (unit.kind()) {
    case Kind::Radio: {
      auto& radio = static_cast<Radio&>(unit);
      radio.SetChecked(true);
      for (const auto& other : detail::Access::Of(unit.window()).units) {
        if (other.get() != &unit && other->kind() == Kind::Radio &&
            other->parent() == unit.parent())
          static_cast<Radio&>(*other).SetChecked(false);
      }
      break;
    }
    case Kind::Button:
    case Kind::PictureButton:
    case Kind::SuperButton:
    case Kind::Label:
    case Kind::Picture:
      break;
    default:
      return false;
  }
  detail::Raise(unit.window(), &unit, Event::Clicked, {});
  return true;
}

bool MouseDown(Edit& edit, MouseButton button, int x, int y) {
  detail::RequireGui();
  if (!edit.Reachable()) return false;
  EventArgs args;
  args.x = x;
  args.y = y;
  args.button = button;
  detail::Raise(edit.window(), &edit,
                button == MouseButton::Left ? Event::LeftButtonDown : Event::RightButtonDown, args);
  return true;
}

bool EditText(Edit& edit, std::string_view gbk, bool replaced) {
  detail::RequireGui();
  if (!edit.Reachable() || edit.ReadOnly()) return false;
  // Takes the text and raises TextChanged by the rule of a program write.
  if (detail::Access::Def(edit).crlfLines) {
    detail::Access::WriteByUser(edit, platform::WithCrLfLineBreaks(gbk), replaced);
  } else {
    detail::Access::WriteByUser(edit, gbk, replaced);
  }
  return true;
}

bool ReplaceText(Edit& edit, std::size_t offset, std::size_t removed, std::string_view gbk,
                 bool replaced) {
  detail::RequireGui();
  if (!edit.Reachable() || edit.ReadOnly()) return false;
  return detail::Access::ReplaceByUser(edit, offset, removed, gbk, replaced);
}

bool ChooseItem(Combo& combo, int index) {
  detail::RequireGui();
  if (!combo.Reachable() || index < 0 || index >= combo.Count()) return false;
  EventArgs args;
  args.previousItem = combo.Current();
  combo.SetCurrent(index);
  detail::Raise(combo.window(), &combo, Event::SelectionChanged, args);
  return true;
}

bool ChooseTab(Tabs& tabs, int index) {
  detail::RequireGui();
  if (!tabs.Reachable() || index < 0 || index >= tabs.Count()) return false;
  if (index == tabs.Current()) return true;
  tabs.SetCurrent(index);
  detail::Raise(tabs.window(), &tabs, Event::TabChanged, {});
  return true;
}

bool ClickCell(Grid& grid, int row, int col) {
  detail::RequireGui();
  if (!grid.Reachable() || row < 0 || row >= grid.RowCount() || col < 0 || col >= grid.ColCount())
    return false;
  RaiseCellEvent(grid, row, col, CellAction::Clicked);
  return true;
}

bool EditCell(Grid& grid, int row, int col, std::string_view gbk) {
  detail::RequireGui();
  if (!grid.Reachable() || row < 1 || row >= grid.RowCount() || col < 0 || col >= grid.ColCount() ||
      grid.CellReadOnly(row, col))
    return false;
  grid.SetCellText(row, col, gbk);
  RaiseCellEvent(grid, row, col, CellAction::Edited);
  return true;
}

bool ClickRichEdit(RichEdit& box, int pos) {
  detail::RequireGui();
  if (!box.Reachable()) return false;
  box.SetSelection(std::clamp(pos, 0, box.Length()), 0);
  detail::Raise(box.window(), &box, Event::LeftButtonUp, {});
  return true;
}

bool SelectRichEdit(RichEdit& box, int start, int length) {
  detail::RequireGui();
  if (!box.Reachable()) return false;
  box.SetSelection(start, length);
  detail::Raise(box.window(), &box, Event::LeftButtonUp, {});
  return true;
}

bool DropFiles(Control& target, const std::vector<std::string>& pathsGbk) {
  detail::RequireGui();
  if (pathsGbk.empty() || !DropReachable(target)) return false;
  DropTarget* receiver = nullptr;
  for (const auto& unit : detail::Access::Of(target.window()).units) {
    if (unit->kind() == Kind::DropTarget && static_cast<DropTarget&>(*unit).Target() == &target) {
      receiver = static_cast<DropTarget*>(unit.get());
      break;
    }
  }
  if (receiver == nullptr) return false;
  std::string paths;
  if (pathsGbk.size() == 1) {
    paths = pathsGbk.front();
  } else {
    for (const std::string& p : pathsGbk) paths += p + "\r\n";
  }
  detail::RaiseFiles(*receiver, paths);
  return true;
}

bool MoveWindow(Window& window, int left, int top) {
  detail::RequireGui();
  // The window system may move any loaded window; the model follows the
  // view so that the two never disagree.
  if (!window.IsLoaded()) return false;
  window.SetGeometry({left, top, window.Width(), window.Height()});
  return true;
}

bool PlaceWindow(Window& window, const Rect& geometry) {
  detail::RequireGui();
  if (!window.IsLoaded()) return false;
  window.SetGeometry(geometry);
  return true;
}

bool RawWindowInput(Window& window, const RawInput& input) {
  detail::RequireGui();
  if (!WindowTakesInput(window) || !window.HasRawInputHook()) return false;
  // The hook may replace itself or destroy the window while it runs.
  const RawInputHook hook = detail::Access::Of(window).rawInput;
  hook(input);
  return true;
}

bool PressKey(Window& window, Key key) {
  detail::RequireGui();
  if (!WindowTakesInput(window)) return false;
  const WindowDef& def = window.definition();
  for (std::string_view name : key == Key::Enter ? def.enterUnits : def.escapeUnits) {
    Control* unit = window.Find(name);
    if (unit != nullptr && unit->Reachable()) return Click(*unit);
  }
  return false;
}

bool RequestClose(Window& window) {
  detail::RequireGui();
  if (!WindowTakesInput(window)) return false;
  // A window closes only by the program's own road (its close button's
  // handler, bound to CloseRequested), which may refuse; a window the user
  // may not close stays, as it would have no caption button to close it.
  if (!window.definition().flags.userMayClose) return false;
  detail::Raise(window, nullptr, Event::CloseRequested, {});
  return true;
}

bool SetMinimised(Window& window, bool minimised) {
  detail::RequireGui();
  if (!window.IsLoaded() || window.EmbeddedIn() != nullptr) return false;
  if (minimised) return window.Minimise();
  if (window.Minimised()) {
    detail::Access::Of(window).minimised = false;
    detail::CurrentBackend().WindowChanged(window, Prop::Minimised);
  }
  return true;
}

}  // namespace fw::input
