// The unit kinds. Each is a model that owns its properties; see unit.h for
// what all units share (geometry, visible, disabled, caption, font, colours,
// the not-loaded rule and the thread rule).
//
// Event rules, in one place (the runtime enforces them; input.h is where
// user actions enter):
// - Handlers run on the GUI thread, one at a time; they nest only inside
//   a modal load or a delay (or ProcessPending) that a running handler
//   called.
// - Program writes raise no event, with one exception: Edit::SetText raises
//   TextChanged, as a user's edit does.
// - Initial values from the form raise nothing; Created runs during the load.
// - Events of units of a window that is not loaded are never raised.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "framework/unit.h"

namespace fw {

template <class T>
struct Ref;

class Label final : public Control {
 public:
  using Control::Control;
};

// A framed box with a caption. Radios inside it form one group.
class GroupBox final : public Control {
 public:
  using Control::Control;
};

class Button final : public Control {
 public:
  using Control::Control;
};

// A flat text button (no frame until hovered).
class SuperButton final : public Control {
 public:
  using Control::Control;
};

class PictureButton final : public Control {
 public:
  using Control::Control;
  const ImageSet& Images() const;
  void SetImages(const ImageSet& set);  // Prop::Images
  void ResetFromDefinition() override;
  void Clear() override;

 private:
  ImageSet images_;
};

class Picture final : public Control {
 public:
  using Control::Control;
  const Image& GetImage() const;
  void SetImage(const Image& image);  // Prop::Images
  void ResetFromDefinition() override;
  void Clear() override;

 private:
  Image image_;
};

// Plain text box, single or multi-line (fixed by the form).
//
// The text is GBK bytes exactly as written or typed: CR LF, a lone CR, a
// lone LF and TAB come back unchanged.
//
// TextChanged:
// - raised by every user edit, and by every SetText of a loaded edit, also
//   of an identical text, once per write, synchronously (before SetText
//   returns), also while the edit is disabled;
// - not raised for a write made while this edit's own TextChanged handler
//   is running (directly or further up the nesting): such a write changes
//   the text and is not reported to that handler again, neither now nor
//   later;
// - for a user's edit in which the backend wrote characters GBK cannot
//   hold as "?", EventArgs::textReplaced says so (input.h).
// LeftButtonDown / RightButtonDown: raised when the user presses the button
// on an enabled edit, before the edit's own handling of the press (caret
// placement, context menu), so a handler that changes the text acts first.
//
// A user's edit may name the part of the text it changed
// (input::ReplaceText), so that typing into a long text costs what the
// keystroke changed, not the whole text; the result is the same as that of
// the whole new text (input::EditText).
class Edit final : public Control {
 public:
  using Control::Control;
  std::string Text() const override;
  // The text without a copy, valid until the next write. (After a user's
  // edit this first closes the gap of TextParts, moving the text after it.)
  const std::string& TextRef() const;
  // The text as two parts, the first followed by the second, without a copy
  // or a move, valid until the next write: the user's edits keep a gap
  // where the last one was, so that typing in the middle of a long text
  // moves only the bytes between one edit and the next.
  std::pair<std::string_view, std::string_view> TextParts() const;
  void SetText(std::string_view gbk) override;  // Prop::Text, then TextChanged
  bool Multiline() const;
  bool ReadOnly() const;
  void ResetFromDefinition() override;
  void Clear() override;

  // What the last change of the text changed, so that a view can follow the
  // text without reading all of it: `removed` bytes at byte `offset` gave
  // way to `inserted` bytes. `version` counts the changes (a write of the
  // text it already holds is none). A program write, a load and a destroy
  // count as the whole text replaced; a user's edit names the part it
  // changed, line breaks it made CR LF included.
  struct Splice {
    std::uint64_t version = 0;
    std::size_t offset = 0;
    std::size_t removed = 0;
    std::size_t inserted = 0;
  };
  const Splice& LastSplice() const;

 private:
  friend struct detail::Access;
  // The user's edit of input::ReplaceText; false, changing nothing, for a
  // range outside the text. `replaced` as input::ReplaceText takes it.
  bool ReplaceByUser(std::size_t offset, std::size_t removed, std::string_view gbk, bool replaced);
  // SetText, telling TextChanged `replaced` (EventArgs::textReplaced).
  void Write(std::string_view gbk, bool replaced);
  void RecordSplice(std::size_t offset, std::size_t removed, std::size_t inserted);
  void RaiseTextChanged(bool replaced);
  // The text with its gap: its length, a byte, a copy of bytes [from, to),
  // and the splice of `removed` bytes at `offset` for `gbk` (which must not
  // lie in the text), moving the gap there.
  std::size_t Length() const;
  char At(std::size_t i) const;
  std::string Bytes(std::size_t from, std::size_t to) const;
  void SpliceAtGap(std::size_t offset, std::size_t removed, std::string_view gbk);
  void CloseGap() const;
  bool multiline_ = false;
  bool readOnly_ = false;
  int textChangedDepth_ = 0;  // this edit's TextChanged handlers running
  Splice splice_;
  // The gap in Control's text: `gapSize_` unused bytes from `gapAt_`.
  mutable std::size_t gapAt_ = 0;
  mutable std::size_t gapSize_ = 0;
  // For an edit with CrLfLines: whether the text holds no line break other
  // than CR LF; unknown (empty) since the last program write.
  std::optional<bool> onlyCrLf_;
};

// Radio box. Its group is the radios with the same parent unit (a group
// box, or the window when it has none).
// - SetChecked raises nothing and touches no other radio, so the program
//   can check several or uncheck all of a group.
// - A user click on an enabled radio checks it, unchecks the others of its
//   group and raises Clicked, also when it was checked already.
class Radio final : public Control {
 public:
  using Control::Control;
  bool Checked() const;
  void SetChecked(bool checked);  // Prop::Checked
  void Clear() override;

 private:
  bool checked_ = false;
};

// Drop-down list of GBK items, each with an integer item data. Indexes are
// 0-based; -1 means no selection. Program selection raises nothing; a user
// choice of an item raises SelectionChanged (also of the item already
// selected).
class Combo final : public Control {
 public:
  using Control::Control;
  int Count() const;
  std::string ItemText(int index) const;                     // "" outside 0..Count()-1
  std::int32_t ItemData(int index) const;                    // 0 outside
  int AddItem(std::string_view gbk, std::int32_t data = 0);  // returns its index
  void RemoveAll();                                          // also clears the selection
  int Current() const;
  std::string CurrentText() const;  // "" when nothing is selected
  void SetCurrent(int index);       // -1 or out of range: no selection
  // Selects the first item, from item 0, whose text begins with `prefix`,
  // ASCII letters compared without case, never matching half of a two-byte
  // character. Returns the selected index, or -1 with the selection
  // unchanged when no item matches.
  int SelectPrefix(std::string_view prefix);

  // Thread-safe: adds an item at the end of the combo on the GUI thread.
  // Items posted by one thread are added in the order posted (all posts go
  // through one FIFO queue). Dropped if the combo's window is not loaded at
  // the time of the post or has been destroyed (and maybe loaded again)
  // when the GUI thread serves it. Never blocks.
  static void PostAddItem(Ref<Combo> combo, std::string gbk, std::int32_t data = 0);

  void Clear() override;

 private:
  struct Item {
    std::string text;
    std::int32_t data = 0;
  };
  std::vector<Item> items_;
  int current_ = -1;
};

// Tab control. Its pages hold the units whose parent is this control; only
// the current page's units are shown. The current tab changes by the
// program without an event; a user's choice of another tab raises
// TabChanged.
class Tabs final : public Control {
 public:
  using Control::Control;
  int Count() const;
  std::string Caption(int index) const;  // GBK, "" outside
  int Current() const;                   // 0-based; -1 when not loaded
  void SetCurrent(int index);            // out of range: ignored
  void ResetFromDefinition() override;
  void Clear() override;

 private:
  std::vector<std::string> captions_;
  int current_ = -1;
};

// Timer: raises Tick every Period() milliseconds while its window is
// loaded. Setting a period restarts the count from now; 0 stops it. A tick
// is never early. A tick that falls due while the timer's Tick handler is
// still running (it waits in a delay or modal load) is delivered once,
// after that handler returns. Destroying the window stops the timer.
class Timer final : public Control {
 public:
  using Control::Control;
  int Period() const;
  void SetPeriod(int ms);  // negative counts as 0
  void ResetFromDefinition() override;
  void Clear() override;

 private:
  friend struct detail::Access;
  int period_ = 0;
  std::int64_t due_ = 0;  // clock time of the next tick while period_ > 0
  bool inTick_ = false;   // the Tick handler is running (maybe waiting)
};

// A rectangle of grid cells: first row and column, and optionally the last
// row and column. An omitted end is the first (a single cell); an end past
// the last row or column stands for the last one. A rectangle that starts
// past the last row or column, has a negative start, or ends before it
// starts, changes nothing.
struct CellRange {
  int row = 0;
  int col = 0;
  std::optional<int> lastRow;
  std::optional<int> lastCol;
  static CellRange Cell(int r, int c) { return {r, c, {}, {}}; }
  static CellRange Rows(int first, int last, int col) { return {first, col, last, col}; }
};

// Grid of text cells. Rows and columns are 0-based; row 0 is the fixed
// header row and counts in RowCount(); the user can never edit it. Program
// writes never raise CellEvent; a user's click on a cell, and a user's
// committed edit of a cell that is not read-only, raise it (the cell and
// the action are in CurrentEventArgs()).
class Grid final : public Control {
 public:
  using Control::Control;
  // The grid's own colours (Control), next to the cell colours below.
  using Control::SetBackColour;
  using Control::SetTextColour;
  int RowCount() const;                                      // header included; 1 after load
  int ColCount() const;                                      // from the form
  int AppendRow(std::string_view col0Gbk);                   // returns the new row's index
  void DeleteRow(int row);                                   // rows 1..RowCount()-1 only
  void DeleteDataRows();                                     // every row but the header
  std::string CellText(int row, int col) const;              // "" outside
  void SetCellText(int row, int col, std::string_view gbk);  // outside: ignored
  void SetBackColour(const CellRange& range, Colour c);
  void SetTextColour(const CellRange& range, Colour c);
  void SetReadOnly(const CellRange& range, bool readOnly);
  Colour CellBackColour(int row, int col) const;  // kDefaultColour outside or unset
  Colour CellTextColour(int row, int col) const;
  bool CellReadOnly(int row, int col) const;  // row 0 is always read-only
  void ResetFromDefinition() override;
  void Clear() override;

 private:
  struct Cell {
    std::string text;
    Colour back = kDefaultColour;
    Colour fore = kDefaultColour;
    bool readOnly = false;
  };
  struct Span {
    int row0, col0, row1, col1;
  };
  bool InGrid(int row, int col) const;
  bool Cut(const CellRange& range, Span& span) const;
  void NotifyCells(const GridChange& change);  // tells the backend, if loaded
  template <class F>
  void ForRange(const CellRange& range, F&& apply);
  int cols_ = 0;
  std::vector<std::vector<Cell>> rows_;
};

// Character format of rich edit text. A colour kDefaultColour is the
// automatic colour.
struct CharFormat {
  std::string face;  // GBK
  double points = 0;
  double offsetPoints = 0;  // vertical offset (superscript > 0)
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool isProtected = false;
  Colour colour = kDefaultColour;
  friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

// Rich edit box: GBK text with per-character formats.
//
// Positions and lengths count characters as the box does: a two-byte GBK
// character is one, a line break is one. Text() gives the text with CR LF
// line breaks; SetText accepts CR LF, a lone CR and a lone LF as one line
// break each. Lines are the text's logical lines (the model never wraps):
// an empty box has one line, a text ending in a line break has an empty
// last line.
//
// LeftButtonUp: raised when the user releases the left button in the box,
// after the caret (an empty selection) has moved to the clicked position.
class RichEdit final : public Control {
 public:
  using Control::Control;
  std::string Text() const override;
  void SetText(std::string_view gbk) override;  // text in the default format; caret to 0
  bool ReadOnly() const;

  int Length() const;  // in characters
  int LineCount() const;
  int CaretLine() const;          // line holding the selection start
  int LineStart(int line) const;  // position of the line's first character; -1 outside
  // The line's GBK bytes, its line break given as a single CR, at most
  // 8,187 bytes (longer lines are cut there, never inside a character).
  std::string LineText(int line) const;

  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int pos);      // clamped to 0..Length(); keeps the length, cut at the end
  void SetSelLength(int length);  // clamped to what lies after SelStart()
  void SetSelection(int start, int length);
  // Replaces the selection by `gbk` in the pending format (see
  // SetSelectionFormat) or the format of the character before it; the caret
  // then stands after the inserted text.
  void ReplaceSelection(std::string_view gbk);

  const CharFormat& DefaultFormat() const;
  void SetDefaultFormat(const CharFormat& f);  // the whole text and later insertions
  // Applies to the selected characters; with an empty selection, to the
  // text that ReplaceSelection inserts there next.
  void SetSelectionFormat(const CharFormat& f);
  CharFormat FormatAt(int pos) const;  // the default format outside the text

  // Forward search from `start` (positions below 0 count as 0), ASCII
  // letters compared without case, no whole-word rule. Returns the position
  // of the first match, or -1 (also for an empty `gbk`).
  int Find(std::string_view gbk, int start = 0) const;

  void ResetFromDefinition() override;
  void Clear() override;

 private:
  // One character: a single byte, a two-byte GBK character (lead << 8 |
  // trail) or '\n' for a line break; `format` indexes formats_.
  struct Char {
    std::uint16_t code;
    std::uint16_t format;
  };
  static std::vector<std::uint16_t> Split(std::string_view gbk);
  std::uint16_t Intern(const CharFormat& f);
  void Compact();
  int LineOf(int pos) const;
  bool readOnly_ = false;
  std::vector<Char> chars_;
  std::vector<CharFormat> formats_;  // [0] is the default format
  int selStart_ = 0;
  int selLength_ = 0;
  // A format set on an empty selection, for the next insertion at pendingAt_.
  std::optional<CharFormat> pending_;
  int pendingAt_ = -1;
};

// Drop target: an invisible unit that, once registered on a unit of the
// same window, receives the files the user drops on that unit and raises
// FilesDropped with their paths (GBK; see FilesHandler). Drops are
// delivered even while the target unit is disabled, and the target unit
// never receives the dropped data itself (an edit box does not paste the
// paths). Drops anywhere else do nothing.
class DropTarget final : public Control {
 public:
  using Control::Control;
  // Registers once; a second call, or a unit of another window, is ignored
  // and returns false. The registration ends when the window is destroyed.
  bool Register(Control& target);  // notifies Changed(*this, Prop::Parent)
  Control* Target() const;
  void Clear() override;

 private:
  Control* target_ = nullptr;
};

}  // namespace fw
