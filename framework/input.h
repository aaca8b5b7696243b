// The entry points through which user input reaches the models: the Qt
// backend calls them from its widgets' event handlers, the headless backend
// from its scripted user. Each one checks that the user can reach the unit
// (Control::Reachable: loaded, visible, enabled, current tab page, window
// not blocked by a modal window), updates the model as the user's action
// would, and raises the event the rules give, running its handler before
// returning. Each returns false, and does nothing, when the action is
// refused. GUI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/types.h"
#include "framework/unit.h"
#include "framework/units.h"

namespace fw::input {

// A click (press and release) on a button, picture button, super button,
// label or picture: raises Clicked. On a radio: checks it, unchecks the
// other radios of its group, raises Clicked (also when it was checked).
bool Click(Control& unit);

// A mouse press on an edit box: raises LeftButtonDown or RightButtonDown
// (x, y in CurrentEventArgs). The backend lets the edit handle the press
// itself only after this returns, and only if the edit is still reachable.
bool MouseDown(Edit& edit, MouseButton button, int x, int y);

// The user changed the text of an edit box (typing, pasting, deleting) to
// `gbk`, the whole new text: the model takes it and raises TextChanged
// once (unless this edit's TextChanged handler is running). Refused for a
// read-only edit. `replaced` says that the backend, making what the user
// typed or pasted GBK, wrote characters GBK cannot hold as "?"; the
// TextChanged handler finds it in EventArgs::textReplaced.
bool EditText(Edit& edit, std::string_view gbk, bool replaced = false);
// The user's edit of an edit box as a view that knows where the text
// changed tells it: the `removed` bytes at byte `offset` gave way to `gbk`.
// The model ends with the same text, and raises TextChanged as EditText
// with the whole new text would, at a cost that follows the change, not the
// text. Refused as EditText, and for a range outside the text. `replaced`
// as for EditText, said of `gbk` alone.
bool ReplaceText(Edit& edit, std::size_t offset, std::size_t removed, std::string_view gbk,
                 bool replaced = false);

// The user chose item `index` of a combo: it becomes current and
// SelectionChanged is raised (also for the item already current), with the
// item current before in EventArgs::previousItem.
bool ChooseItem(Combo& combo, int index);

// The user chose tab `index`: it becomes current; TabChanged is raised when
// it differs from the tab that was current.
bool ChooseTab(Tabs& tabs, int index);

// The user clicked a grid cell: raises CellEvent (CellAction::Clicked).
bool ClickCell(Grid& grid, int row, int col);
// The user edited a cell and committed `gbk`: refused for the header row
// and for read-only cells; otherwise the cell takes the text and CellEvent
// is raised (CellAction::Edited).
bool EditCell(Grid& grid, int row, int col, std::string_view gbk);

// The user clicked (pressed and released the left button) in a rich edit
// box at character position `pos`: the caret moves there (empty selection,
// clamped to the text), then LeftButtonUp is raised.
bool ClickRichEdit(RichEdit& box, int pos);
// The user selected a range in a rich edit box with the mouse; the
// selection changes, then LeftButtonUp is raised.
bool SelectRichEdit(RichEdit& box, int start, int length);

// Files dropped on `target` (paths in GBK). Delivered to the drop target
// registered on that unit, even while the unit is disabled (but not when it
// is hidden or its window is blocked). Refused when no drop target is
// registered on it. An empty list is refused.
bool DropFiles(Control& target, const std::vector<std::string>& pathsGbk);

// The user dragged a draggable window to a new place (or the window system
// moved it): geometry changes, Moved is raised.
bool MoveWindow(Window& window, int left, int top);
// The window system moved or resized a loaded window (a window-manager
// move, a keyboard move, a screen change): the model takes the geometry,
// and Moved is raised when left or top changed.
bool PlaceWindow(Window& window, const Rect& geometry);

// Mouse or keyboard input of a layered window whose program set a raw
// input hook (Window::SetRawInputHook): the hook gets it, as it came.
// False when the window is not loaded, is blocked by a modal window, or
// has no hook.
bool RawWindowInput(Window& window, const RawInput& input);

enum class Key : std::uint8_t { Enter, Escape };
// A key pressed in a window: clicks the first reachable unit of the form's
// list for that key (WindowDef::EnterPresses / EscapePresses), as a click
// would. False when the window takes no input or no unit of the list can
// be reached.
bool PressKey(Window& window, Key key);
// The user or the window system asked to close a window (close key,
// window manager). Raises CloseRequested on a window the user may close
// (WindowDef::UserMayClose), whose handler takes the road of the window's
// own close button; on any other window the request is refused and the
// window stays. Never ends the program by itself.
bool RequestClose(Window& window);
// The user minimised or restored a window from outside the program.
bool SetMinimised(Window& window, bool minimised);

}  // namespace fw::input
