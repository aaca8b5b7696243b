// Definitions for units.h: the unit kinds.
#include "framework/units.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "framework/backend.h"
#include "framework/detail.h"
#include "framework/form.h"
#include "framework/runtime.h"
#include "platform/codepage.h"

namespace fw {

using detail::Access;

namespace {

bool IsLead(unsigned char b) {
  return b >= 0x81 && b <= 0xFE;
}
bool IsTrail(unsigned char b) {
  return b >= 0x40 && b <= 0xFE && b != 0x7F;
}
// Whether every line break of `text` is a CR LF: every LF follows a CR,
// and there are as many CRs as LFs (so every CR is followed by its LF).
bool OnlyCrLfLineBreaks(std::string_view text) {
  std::size_t lf = 0;
  for (std::size_t at = text.find('\n'); at != std::string_view::npos;
       at = text.find('\n', at + 1)) {
    if (at == 0 || text[at - 1] != '\r') return false;
    ++lf;
  }
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r')) == lf;
}
unsigned char Fold(unsigned char b) {
  return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

// Increments a counter for the life of a scope, also when it unwinds.
class DepthScope {
 public:
  explicit DepthScope(int& depth) : depth_(depth) { ++depth_; }
  ~DepthScope() { --depth_; }
  DepthScope(const DepthScope&) = delete;
  DepthScope& operator=(const DepthScope&) = delete;

 private:
  int& depth_;
};

}  // namespace

// ---- PictureButton, Picture -------------------------------------------------

const ImageSet& PictureButton::Images() const {
  return images_;
}
void PictureButton::SetImages(const ImageSet& set) {
  detail::RequireGui();
  if (!Loaded() || set == images_) return;
  images_ = set;
  Notify(Prop::Images);
}
void PictureButton::ResetFromDefinition() {
  Control::ResetFromDefinition();
  images_ = Access::Def(*this).images;
}
void PictureButton::Clear() {
  Control::Clear();
  images_ = {};
}

const Image& Picture::GetImage() const {
  return image_;
}
void Picture::SetImage(const Image& image) {
  detail::RequireGui();
  if (!Loaded() || image == image_) return;
  image_ = image;
  Notify(Prop::Images);
}
void Picture::ResetFromDefinition() {
  Control::ResetFromDefinition();
  image_ = Access::Def(*this).images.normal;
}
void Picture::Clear() {
  Control::Clear();
  image_ = {};
}

// ---- Edit -------------------------------------------------------------------

std::string Edit::Text() const {
  const auto [first, second] = TextParts();
  std::string text;
  text.reserve(first.size() + second.size());
  text.append(first).append(second);
  return text;
}

const std::string& Edit::TextRef() const {
  detail::RequireGui();
  CloseGap();
  return Access::TextOf(*this);
}

std::pair<std::string_view, std::string_view> Edit::TextParts() const {
  detail::RequireGui();
  const std::string_view text = Access::TextOf(*this);
  return {text.substr(0, gapAt_), text.substr(gapAt_ + gapSize_)};
}

const Edit::Splice& Edit::LastSplice() const {
  return splice_;
}

void Edit::RecordSplice(std::size_t offset, std::size_t removed, std::size_t inserted) {
  splice_ = {splice_.version + 1, offset, removed, inserted};
}

std::size_t Edit::Length() const {
  return Access::TextOf(*this).size() - gapSize_;
}

char Edit::At(std::size_t i) const {
  return Access::TextOf(*this)[i < gapAt_ ? i : i + gapSize_];
}

std::string Edit::Bytes(std::size_t from, std::size_t to) const {
  const auto [first, second] = TextParts();
  std::string bytes;
  if (from < first.size()) bytes.append(first.substr(from, to - from));
  if (to > first.size()) {
    const std::size_t start = std::max(from, first.size()) - first.size();
    bytes.append(second.substr(start, to - first.size() - start));
  }
  return bytes;
}

void Edit::CloseGap() const {
  if (gapSize_ == 0) {
    gapAt_ = 0;
    return;
  }
  // The gap is the model's own bookkeeping: closing it changes no byte of
  // the text.
  std::string& text = Access::TextOf(const_cast<Edit&>(*this));
  text.erase(gapAt_, gapSize_);
  gapAt_ = gapSize_ = 0;
}

void Edit::SpliceAtGap(std::size_t offset, std::size_t removed, std::string_view gbk) {
  std::string& text = Access::TextOf(*this);
  // The gap moves to `offset`, the bytes between its two places crossing
  // it; then it takes in the removed bytes after it.
  char* bytes = text.data();
  if (offset < gapAt_) {
    std::memmove(bytes + offset + gapSize_, bytes + offset, gapAt_ - offset);
  } else if (offset > gapAt_) {
    std::memmove(bytes + gapAt_, bytes + gapAt_ + gapSize_, offset - gapAt_);
  }
  gapAt_ = offset;
  gapSize_ += removed;
  if (gapSize_ < gbk.size()) {
    // A gap grown by an eighth of the text moves the text once for every
    // eighth typed or pasted.
    const std::size_t grow = gbk.size() - gapSize_ + std::max<std::size_t>(4096, Length() / 8);
    text.insert(gapAt_, grow, '\0');
    gapSize_ += grow;
  }
  std::memcpy(text.data() + gapAt_, gbk.data(), gbk.size());
  gapAt_ += gbk.size();
  gapSize_ -= gbk.size();
}

void Edit::SetText(std::string_view gbk) {
  Write(gbk, false);
}

void Edit::Write(std::string_view gbk, bool replaced) {
  detail::RequireGui();
  if (!Loaded()) return;
  CloseGap();
  std::string& text = Access::TextOf(*this);
  if (gbk != text) {
    const std::size_t before = text.size();
    text.assign(gbk);
    onlyCrLf_.reset();
    RecordSplice(0, before, text.size());
    Notify(Prop::Text);
  }
  RaiseTextChanged(replaced);
}

void Edit::RaiseTextChanged(bool replaced) {
  // A write made by this edit's own TextChanged handler (or by anything
  // nested inside it) is not reported to that handler.
  if (textChangedDepth_ > 0) return;
  DepthScope running(textChangedDepth_);
  EventArgs args;
  args.textReplaced = replaced;
  detail::Raise(window(), this, Event::TextChanged, args);
}

bool Edit::ReplaceByUser(std::size_t offset, std::size_t removed, std::string_view gbk,
                         bool replaced) {
  const std::size_t length = Length();
  if (offset > length || removed > length - offset) return false;
  const bool crlf = Access::Def(*this).crlfLines;
  if (crlf && !onlyCrLf_) onlyCrLf_ = OnlyCrLfLineBreaks(TextRef());
  // The splice grows from [offset, end) of the old text (and [offset,
  // newEnd) of the new) to take in the line breaks stored as CR LF.
  std::size_t end = offset + removed;
  std::size_t newEnd = offset + gbk.size();
  // The old bytes the splice can reach, from `kept` on, to tell whether
  // the text changed.
  std::size_t kept = 0;
  std::string old;
  if (crlf && !*onlyCrLf_) {
    // The program's lone line breaks become CR LF with the user's: the
    // whole text is stored as the user's.
    std::string& text = Access::TextOf(*this);
    old = TextRef();
    text.replace(offset, removed, gbk);
    text = platform::WithCrLfLineBreaks(text);
    onlyCrLf_ = true;
    offset = 0;
    end = old.size();
    newEnd = text.size();
  } else {
    kept = offset >= 2 ? offset - 2 : 0;
    old = Bytes(kept, std::min(length, end + 2));
    SpliceAtGap(offset, removed, gbk);
    if (crlf) {
      // The rest of the text holds CR LF only: a lone CR or LF can stand
      // only in the new bytes or next to them.
      const std::size_t now = Length();
      std::size_t from = offset > 0 ? offset - 1 : 0;
      std::size_t to = std::min(now, newEnd + 1);
      if (from > 0 && At(from) == '\n' && At(from - 1) == '\r') --from;
      if (to < now && At(to - 1) == '\r' && At(to) == '\n') ++to;
      const std::string window = Bytes(from, to);
      if (window.find_first_of("\r\n") != std::string::npos) {
        const std::string fixed = platform::WithCrLfLineBreaks(window);
        if (fixed != window) {
          // The window holds the new bytes: it reaches as far past them in
          // the old text as in the new.
          end += to - newEnd;
          offset = from;
          newEnd = from + fixed.size();
          SpliceAtGap(from, to - from, fixed);
        }
      }
    }
  }
  const std::string now = Bytes(offset, newEnd);
  if (now != std::string_view(old).substr(offset - kept, end - offset)) {
    RecordSplice(offset, end - offset, now.size());
    Notify(Prop::Text);
  }
  RaiseTextChanged(replaced);
  return true;
}

bool Edit::Multiline() const {
  return multiline_;
}
bool Edit::ReadOnly() const {
  return readOnly_;
}
void Edit::ResetFromDefinition() {
  const std::size_t before = Length();
  gapAt_ = gapSize_ = 0;
  Control::ResetFromDefinition();
  multiline_ = Access::Def(*this).multiline;
  readOnly_ = Access::Def(*this).readOnly;
  onlyCrLf_.reset();
  RecordSplice(0, before, Access::TextOf(*this).size());
}
void Edit::Clear() {
  const std::size_t before = Length();
  gapAt_ = gapSize_ = 0;
  Control::Clear();
  multiline_ = false;
  readOnly_ = false;
  onlyCrLf_.reset();
  RecordSplice(0, before, 0);
}

// ---- Radio ------------------------------------------------------------------

bool Radio::Checked() const {
  return checked_;
}
void Radio::SetChecked(bool checked) {
  detail::RequireGui();
  if (!Loaded() || checked == checked_) return;
  checked_ = checked;
  Notify(Prop::Checked);
}
void Radio::Clear() {
  Control::Clear();
  checked_ = false;
}

// ---- Combo ------------------------------------------------------------------

int Combo::Count() const {
  return static_cast<int>(items_.size());
}
std::string Combo::ItemText(int index) const {
  detail::RequireGui();
  return index >= 0 && index < Count() ? items_[static_cast<std::size_t>(index)].text
                                       : std::string();
}
std::int32_t Combo::ItemData(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<std::size_t>(index)].data : 0;
}
int Combo::AddItem(std::string_view gbk, std::int32_t data) {
  detail::RequireGui();
  if (!Loaded()) return -1;
  items_.push_back({std::string(gbk), data});
  Notify(Prop::Items);
  return Count() - 1;
}
void Combo::RemoveAll() {
  detail::RequireGui();
  if (!Loaded() || items_.empty()) return;
  items_.clear();
  const bool hadSelection = current_ != -1;
  current_ = -1;
  Notify(Prop::Items);
  if (hadSelection) Notify(Prop::Current);
}
int Combo::Current() const {
  return current_;
}
std::string Combo::CurrentText() const {
  return ItemText(current_);
}
void Combo::SetCurrent(int index) {
  detail::RequireGui();
  if (!Loaded()) return;
  if (index < 0 || index >= Count()) index = -1;
  if (index == current_) return;
  current_ = index;
  Notify(Prop::Current);
}

int Combo::SelectPrefix(std::string_view prefix) {
  detail::RequireGui();
  if (!Loaded()) return -1;
  auto begins = [&](const std::string& text) {
    std::size_t i = 0;
    while (i < prefix.size()) {
      if (i >= text.size()) return false;
      const auto t = static_cast<unsigned char>(text[i]);
      if (IsLead(t) && i + 1 < text.size() && IsTrail(static_cast<unsigned char>(text[i + 1]))) {
        // A two-byte character matches only whole and exactly.
        if (i + 1 >= prefix.size() || prefix[i] != text[i] || prefix[i + 1] != text[i + 1])
          return false;
        i += 2;
        continue;
      }
      if (Fold(t) != Fold(static_cast<unsigned char>(prefix[i]))) return false;
      ++i;
    }
    return true;
  };
  for (int i = 0; i < Count(); ++i) {
    if (begins(items_[static_cast<std::size_t>(i)].text)) {
      SetCurrent(i);
      return i;
    }
  }
  return -1;
}

void Combo::PostAddItem(Ref<Combo> combo, std::string gbk, std::int32_t data) {
  PostToWindow(combo.window,
               [window = std::string(combo.window), unit = std::string(combo.unit),
                text = std::move(gbk), data] { Get<Combo>(window, unit).AddItem(text, data); });
}

void Combo::Clear() {
  Control::Clear();
  items_.clear();
  current_ = -1;
}

// ---- Tabs -------------------------------------------------------------------

int Tabs::Count() const {
  return static_cast<int>(captions_.size());
}
std::string Tabs::Caption(int index) const {
  return index >= 0 && index < Count() ? captions_[static_cast<std::size_t>(index)] : std::string();
}
int Tabs::Current() const {
  return current_;
}
void Tabs::SetCurrent(int index) {
  detail::RequireGui();
  if (!Loaded() || index < 0 || index >= Count() || index == current_) return;
  current_ = index;
  Notify(Prop::Current);
}
void Tabs::ResetFromDefinition() {
  Control::ResetFromDefinition();
  const auto& tabs = Access::Def(*this).tabs;
  captions_.assign(tabs.begin(), tabs.end());
  current_ = captions_.empty() ? -1 : 0;
}
void Tabs::Clear() {
  Control::Clear();
  captions_.clear();
  current_ = -1;
}

// ---- Timer ------------------------------------------------------------------

int Timer::Period() const {
  return period_;
}
void Timer::SetPeriod(int ms) {
  detail::RequireGui();
  if (!Loaded()) return;
  period_ = std::max(ms, 0);
  due_ = detail::Now() + period_;
}
void Timer::ResetFromDefinition() {
  Control::ResetFromDefinition();
  period_ = std::max(Access::Def(*this).period, 0);
  due_ = detail::Now() + period_;
}
void Timer::Clear() {
  // inTick_ belongs to a running handler and is left to it.
  Control::Clear();
  period_ = 0;
  due_ = 0;
}

// ---- Grid -------------------------------------------------------------------

void Backend::GridChanged(Grid& grid, const GridChange&) {
  Changed(grid, Prop::Cells);
}

void Grid::NotifyCells(const GridChange& change) {
  if (!Loaded()) return;
  Access::RuntimeOf(window()).backend().GridChanged(*this, change);
}

int Grid::RowCount() const {
  return static_cast<int>(rows_.size());
}
int Grid::ColCount() const {
  return cols_;
}

bool Grid::InGrid(int row, int col) const {
  return row >= 0 && row < RowCount() && col >= 0 && col < cols_;
}

int Grid::AppendRow(std::string_view col0Gbk) {
  detail::RequireGui();
  if (!Loaded()) return -1;
  rows_.emplace_back(static_cast<std::size_t>(cols_));
  rows_.back()[0].text.assign(col0Gbk);
  const int row = RowCount() - 1;
  NotifyCells({GridChange::Kind::RowsAppended, row, row});
  return row;
}

void Grid::DeleteRow(int row) {
  detail::RequireGui();
  if (!Loaded() || row < 1 || row >= RowCount()) return;
  rows_.erase(rows_.begin() + row);
  NotifyCells({GridChange::Kind::RowsRemoved, row, row});
}

void Grid::DeleteDataRows() {
  detail::RequireGui();
  if (!Loaded() || rows_.size() <= 1) return;
  const int last = RowCount() - 1;
  rows_.resize(1);
  NotifyCells({GridChange::Kind::RowsRemoved, 1, last});
}

std::string Grid::CellText(int row, int col) const {
  detail::RequireGui();
  if (!InGrid(row, col)) return {};
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].text;
}

void Grid::SetCellText(int row, int col, std::string_view gbk) {
  detail::RequireGui();
  if (!Loaded() || !InGrid(row, col)) return;
  std::string& text = rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].text;
  if (text == gbk) return;
  text.assign(gbk);
  NotifyCells({GridChange::Kind::Cells, row, row, col, col});
}

bool Grid::Cut(const CellRange& range, Span& span) const {
  if (range.row < 0 || range.col < 0 || range.row >= RowCount() || range.col >= cols_) return false;
  const int lastRow = range.lastRow.value_or(range.row);
  const int lastCol = range.lastCol.value_or(range.col);
  if (lastRow < range.row || lastCol < range.col) return false;
  span = {range.row, range.col, std::min(lastRow, RowCount() - 1), std::min(lastCol, cols_ - 1)};
  return true;
}

template <class F>
void Grid::ForRange(const CellRange& range, F&& apply) {
  detail::RequireGui();
  Span span{};
  if (!Loaded() || !Cut(range, span)) return;
  bool changed = false;
  for (int r = span.row0; r <= span.row1; ++r) {
    for (int c = span.col0; c <= span.col1; ++c) {
      changed |= apply(rows_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
    }
  }
  if (changed) NotifyCells({GridChange::Kind::Cells, span.row0, span.row1, span.col0, span.col1});
}

void Grid::SetBackColour(const CellRange& range, Colour c) {
  ForRange(range, [c](Cell& cell) { return std::exchange(cell.back, c) != c; });
}
void Grid::SetTextColour(const CellRange& range, Colour c) {
  ForRange(range, [c](Cell& cell) { return std::exchange(cell.fore, c) != c; });
}
void Grid::SetReadOnly(const CellRange& range, bool readOnly) {
  ForRange(range,
           [readOnly](Cell& cell) { return std::exchange(cell.readOnly, readOnly) != readOnly; });
}

Colour Grid::CellBackColour(int row, int col) const {
  if (!InGrid(row, col)) return kDefaultColour;
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].back;
}
Colour Grid::CellTextColour(int row, int col) const {
  if (!InGrid(row, col)) return kDefaultColour;
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].fore;
}
bool Grid::CellReadOnly(int row, int col) const {
  if (!InGrid(row, col)) return false;
  return row == 0 || rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].readOnly;
}

void Grid::ResetFromDefinition() {
  Control::ResetFromDefinition();
  cols_ = Access::Def(*this).columns;
  rows_.assign(1, std::vector<Cell>(static_cast<std::size_t>(cols_)));
}
void Grid::Clear() {
  Control::Clear();
  cols_ = 0;
  rows_.clear();
}

// ---- RichEdit ---------------------------------------------------------------

namespace {
constexpr std::uint16_t kBreak = '\n';
constexpr std::size_t kMaxLineBytes = 8187;

void AppendCode(std::string& out, std::uint16_t code) {
  if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
  out.push_back(static_cast<char>(code & 0xFF));
}
std::uint16_t FoldCode(std::uint16_t code) {
  return code < 0x80 ? Fold(static_cast<unsigned char>(code)) : code;
}
}  // namespace

std::vector<std::uint16_t> RichEdit::Split(std::string_view gbk) {
  std::vector<std::uint16_t> codes;
  codes.reserve(gbk.size());
  for (std::size_t i = 0; i < gbk.size(); ++i) {
    const auto b = static_cast<unsigned char>(gbk[i]);
    if (b == '\r') {
      if (i + 1 < gbk.size() && gbk[i + 1] == '\n') ++i;
      codes.push_back(kBreak);
    } else if (b == '\n') {
      codes.push_back(kBreak);
    } else if (IsLead(b) && i + 1 < gbk.size() && IsTrail(static_cast<unsigned char>(gbk[i + 1]))) {
      codes.push_back(static_cast<std::uint16_t>(b << 8 | static_cast<unsigned char>(gbk[i + 1])));
      ++i;
    } else {
      codes.push_back(b);
    }
  }
  return codes;
}

std::uint16_t RichEdit::Intern(const CharFormat& f) {
  for (std::size_t i = 0; i < formats_.size(); ++i) {
    if (formats_[i] == f) return static_cast<std::uint16_t>(i);
  }
  if (formats_.size() >= 0xFFFF) Compact();
  formats_.push_back(f);
  return static_cast<std::uint16_t>(formats_.size() - 1);
}

// Drops the formats that no character uses any more.
void RichEdit::Compact() {
  std::vector<CharFormat> kept{formats_[0]};
  std::vector<int> map(formats_.size(), -1);
  map[0] = 0;
  for (Char& c : chars_) {
    if (map[c.format] < 0) {
      map[c.format] = static_cast<int>(kept.size());
      kept.push_back(formats_[c.format]);
    }
    c.format = static_cast<std::uint16_t>(map[c.format]);
  }
  formats_ = std::move(kept);
}

std::string RichEdit::Text() const {
  detail::RequireGui();
  std::string out;
  out.reserve(chars_.size() + 16);
  for (const Char& c : chars_) {
    if (c.code == kBreak) {
      out += "\r\n";
    } else {
      AppendCode(out, c.code);
    }
  }
  return out;
}

void RichEdit::SetText(std::string_view gbk) {
  detail::RequireGui();
  if (!Loaded()) return;
  chars_.clear();
  for (std::uint16_t code : Split(gbk)) chars_.push_back({code, 0});
  formats_.resize(1);
  selStart_ = 0;
  selLength_ = 0;
  pending_.reset();
  Notify(Prop::Text);
}

bool RichEdit::ReadOnly() const {
  return readOnly_;
}
int RichEdit::Length() const {
  return static_cast<int>(chars_.size());
}

int RichEdit::LineOf(int pos) const {
  const auto end = chars_.begin() + std::clamp(pos, 0, Length());
  return static_cast<int>(
      std::count_if(chars_.begin(), end, [](const Char& c) { return c.code == kBreak; }));
}

int RichEdit::LineCount() const {
  return Loaded() ? LineOf(Length()) + 1 : 0;
}
int RichEdit::CaretLine() const {
  return Loaded() ? LineOf(selStart_) : 0;
}

int RichEdit::LineStart(int line) const {
  if (!Loaded() || line < 0) return -1;
  if (line == 0) return 0;
  int seen = 0;
  for (int i = 0; i < Length(); ++i) {
    if (chars_[static_cast<std::size_t>(i)].code == kBreak && ++seen == line) return i + 1;
  }
  return -1;
}

std::string RichEdit::LineText(int line) const {
  detail::RequireGui();
  int pos = LineStart(line);
  if (pos < 0) return {};
  std::string out;
  for (; pos < Length(); ++pos) {
    const std::uint16_t code = chars_[static_cast<std::size_t>(pos)].code;
    const std::size_t size = code == kBreak ? 1 : (code > 0xFF ? 2 : 1);
    if (out.size() + size > kMaxLineBytes) break;  // cut before a whole character
    if (code == kBreak) {
      out.push_back('\r');
      break;
    }
    AppendCode(out, code);
  }
  return out;
}

int RichEdit::SelStart() const {
  return selStart_;
}
int RichEdit::SelLength() const {
  return selLength_;
}

void RichEdit::SetSelection(int start, int length) {
  detail::RequireGui();
  if (!Loaded()) return;
  start = std::clamp(start, 0, Length());
  length = std::clamp(length, 0, Length() - start);
  if (start == selStart_ && length == selLength_) return;
  selStart_ = start;
  selLength_ = length;
  Notify(Prop::Selection);
}
void RichEdit::SetSelStart(int pos) {
  SetSelection(pos, selLength_);
}
void RichEdit::SetSelLength(int length) {
  SetSelection(selStart_, length);
}

void RichEdit::ReplaceSelection(std::string_view gbk) {
  detail::RequireGui();
  if (!Loaded()) return;
  std::uint16_t format = 0;
  if (pending_ && pendingAt_ == selStart_ && selLength_ == 0) {
    format = Intern(*pending_);
  } else if (selStart_ > 0) {
    format = chars_[static_cast<std::size_t>(selStart_ - 1)].format;
  }
  pending_.reset();
  const std::vector<std::uint16_t> codes = Split(gbk);
  std::vector<Char> inserted;
  inserted.reserve(codes.size());
  for (std::uint16_t code : codes) inserted.push_back({code, format});
  const auto at = chars_.begin() + selStart_;
  chars_.insert(chars_.erase(at, at + selLength_), inserted.begin(), inserted.end());
  selStart_ += static_cast<int>(inserted.size());
  selLength_ = 0;
  Notify(Prop::Text);
  Notify(Prop::Selection);
}

const CharFormat& RichEdit::DefaultFormat() const {
  return formats_[0];
}

void RichEdit::SetDefaultFormat(const CharFormat& f) {
  detail::RequireGui();
  if (!Loaded()) return;
  formats_.assign(1, f);
  for (Char& c : chars_) c.format = 0;
  pending_.reset();
  Notify(Prop::Format);
}

void RichEdit::SetSelectionFormat(const CharFormat& f) {
  detail::RequireGui();
  if (!Loaded()) return;
  if (selLength_ == 0) {
    pending_ = f;
    pendingAt_ = selStart_;
    return;
  }
  const std::uint16_t format = Intern(f);
  bool changed = false;
  for (int i = selStart_; i < selStart_ + selLength_; ++i) {
    changed |= std::exchange(chars_[static_cast<std::size_t>(i)].format, format) != format;
  }
  if (changed) Notify(Prop::Format);
}

CharFormat RichEdit::FormatAt(int pos) const {
  if (pos < 0 || pos >= Length()) return formats_[0];
  return formats_[chars_[static_cast<std::size_t>(pos)].format];
}

int RichEdit::Find(std::string_view gbk, int start) const {
  detail::RequireGui();
  const std::vector<std::uint16_t> needle = Split(gbk);
  if (needle.empty()) return -1;
  const int last = Length() - static_cast<int>(needle.size());
  for (int pos = std::max(start, 0); pos <= last; ++pos) {
    bool match = true;
    for (std::size_t k = 0; k < needle.size() && match; ++k) {
      match = FoldCode(chars_[static_cast<std::size_t>(pos) + k].code) == FoldCode(needle[k]);
    }
    if (match) return pos;
  }
  return -1;
}

void RichEdit::ResetFromDefinition() {
  Control::ResetFromDefinition();
  const UnitDef& def = Access::Def(*this);
  readOnly_ = def.readOnly;
  CharFormat f;
  f.face = def.font.face;
  f.points = def.font.unit == FontUnit::Points ? def.font.size : def.font.size * 72.0 / 96.0;
  f.bold = def.font.bold;
  f.italic = def.font.italic;
  f.underline = def.font.underline;
  f.strikeOut = def.font.strikeOut;
  f.colour = def.textColour;
  formats_.assign(1, f);
  chars_.clear();
  for (std::uint16_t code : Split(def.text)) chars_.push_back({code, 0});
}

void RichEdit::Clear() {
  Control::Clear();
  readOnly_ = false;
  chars_.clear();
  formats_.assign(1, CharFormat{});
  selStart_ = 0;
  selLength_ = 0;
  pending_.reset();
  pendingAt_ = -1;
}

// ---- DropTarget -------------------------------------------------------------

bool DropTarget::Register(Control& target) {
  detail::RequireGui();
  if (!Loaded() || target_ != nullptr || &target == this || &target.window() != &window())
    return false;
  target_ = &target;
  Notify(Prop::Parent);
  return true;
}
Control* DropTarget::Target() const {
  return target_;
}
void DropTarget::Clear() {
  Control::Clear();
  target_ = nullptr;
}

}  // namespace fw
