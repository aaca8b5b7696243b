#include "framework/qt/text_index.h"

#include <QTextDocument>

#include <algorithm>

#include "framework/qt/convert.h"

namespace fw::qt {

namespace {

// A piece is cut at the first place it may end after this many bytes: a
// keystroke reads a piece or two, and a seek walks few of them.
constexpr std::size_t kPieceBytes = 128;

// Up to this many characters are read from a document one by one, more
// with the document's whole text.
constexpr int kCharByChar = 512;

// Whether a piece may end before byte `at` of `gbk`.
bool MayEndBefore(const TwoParts& gbk, std::size_t at) {
  if (at >= gbk.size()) return true;
  const auto before = static_cast<unsigned char>(gbk[at - 1]);
  return before < 0x40 && !(before == '\r' && gbk[at] == '\n');
}

}  // namespace

std::string_view TwoParts::Slice(std::size_t from, std::size_t to, std::string& scratch) const {
  if (to <= first.size()) return first.substr(from, to - from);
  if (from >= first.size()) return second.substr(from - first.size(), to - from);
  scratch.assign(first.substr(from));
  scratch.append(second.substr(0, to - first.size()));
  return scratch;
}

void TextIndex::Cut(TwoParts gbk, std::size_t from, std::size_t to, std::vector<Piece>& out,
                    QString& shown, std::vector<int>& offsets) {
  while (from < to) {
    std::size_t end = std::min(to, from + kPieceBytes);
    while (end < to && !MayEndBefore(gbk, end)) ++end;
    const std::size_t before = offsets.size();
    AppendShown(gbk.Slice(from, end, scratch_), static_cast<int>(from), true, shown, offsets);
    out.push_back({static_cast<int>(end - from), static_cast<int>(offsets.size() - before)});
    from = end;
  }
}

void TextIndex::Reset(TwoParts gbk) {
  pieces_.clear();
  QString shown;
  std::vector<int> offsets;
  Cut(gbk, 0, gbk.size(), pieces_, shown, offsets);
  bytes_ = gbk.size();
  units_ = static_cast<int>(shown.size());
  at_ = {};
  decodedPiece_ = kNone;
}

QString TextIndex::Shown(TwoParts gbk) {
  QString shown;
  std::vector<int> offsets;
  std::string whole;
  shown.reserve(static_cast<qsizetype>(gbk.size()));
  AppendShown(gbk.Slice(0, gbk.size(), whole), 0, true, shown, offsets);
  return shown;
}

void TextIndex::SeekByte(std::size_t byte) {
  while (byte < at_.byte) {
    const Piece& p = pieces_[--at_.piece];
    at_.byte -= static_cast<std::size_t>(p.bytes);
    at_.unit -= p.units;
  }
  while (byte >= at_.byte + static_cast<std::size_t>(pieces_[at_.piece].bytes)) {
    const Piece& p = pieces_[at_.piece++];
    at_.byte += static_cast<std::size_t>(p.bytes);
    at_.unit += p.units;
  }
}

void TextIndex::SeekUnit(int unit) {
  while (unit < at_.unit) {
    const Piece& p = pieces_[--at_.piece];
    at_.byte -= static_cast<std::size_t>(p.bytes);
    at_.unit -= p.units;
  }
  while (unit >= at_.unit + pieces_[at_.piece].units) {
    const Piece& p = pieces_[at_.piece++];
    at_.byte += static_cast<std::size_t>(p.bytes);
    at_.unit += p.units;
  }
}

void TextIndex::Decode(TwoParts gbk, int unit) {
  SeekUnit(unit);
  if (decodedPiece_ == at_.piece) return;
  decodedShown_.clear();
  decodedOffsets_.clear();
  const auto bytes = static_cast<std::size_t>(pieces_[at_.piece].bytes);
  AppendShown(gbk.Slice(at_.byte, at_.byte + bytes, scratch_), static_cast<int>(at_.byte), true,
              decodedShown_, decodedOffsets_);
  decodedPiece_ = at_.piece;
}

QChar TextIndex::UnitAt(TwoParts gbk, int unit) {
  Decode(gbk, unit);
  return decodedShown_[unit - at_.unit];
}

std::size_t TextIndex::OffsetAt(TwoParts gbk, int unit) {
  if (unit == units_) return bytes_;
  Decode(gbk, unit);
  return static_cast<std::size_t>(decodedOffsets_[static_cast<std::size_t>(unit - at_.unit)]);
}

QChar TextIndex::ShownChar(QChar c) {
  return c == QChar::ParagraphSeparator || c == QChar::LineSeparator ? QChar(u'\n') : c;
}

QString TextIndex::ShownText(const QTextDocument& doc, int at, int count) {
  QString text;
  if (count <= kCharByChar) {
    // A keystroke's few: each one is found in the document's pieces.
    text.reserve(count);
    for (int k = at; k < at + count; ++k) text.append(ShownChar(doc.characterAt(k)));
    return text;
  }
  text = doc.toRawText().mid(at, count);
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text;
}

std::optional<TextIndex::ShownPart> TextIndex::Splice(TwoParts gbk, std::size_t offset,
                                                      std::size_t removed, std::size_t inserted) {
  if (offset > bytes_ || removed > bytes_ - offset || gbk.size() != bytes_ - removed + inserted)
    return std::nullopt;
  decodedPiece_ = kNone;
  // The pieces from the one before the change to the one after it: where
  // the change meets the bytes around it, characters may join or part (a
  // CR before a new LF, a lead byte before a new trail byte).
  std::size_t first = 0;
  std::size_t last = 0;
  std::size_t end = 0;
  int unit = 0;
  if (!pieces_.empty()) {
    SeekByte(offset > 0 ? offset - 1 : 0);
    first = at_.piece;
    unit = at_.unit;
    const std::size_t from = at_.byte;
    SeekByte(std::min(offset + removed, bytes_ - 1));
    last = at_.piece + 1;
    end = at_.byte + static_cast<std::size_t>(pieces_[at_.piece].bytes);
    at_ = {first, from, unit};
  }
  int oldUnits = 0;
  for (std::size_t i = first; i < last; ++i) oldUnits += pieces_[i].units;
  std::vector<Piece>& fresh = cutPieces_;
  QString& shown = cutShown_;
  std::vector<int>& offsets = cutOffsets_;
  fresh.clear();
  shown.clear();
  offsets.clear();
  Cut(gbk, at_.byte, end - removed + inserted, fresh, shown, offsets);
  // Mostly as many pieces as before: they take the old ones' places.
  const std::size_t kept = std::min(fresh.size(), last - first);
  std::copy_n(fresh.begin(), kept, pieces_.begin() + static_cast<std::ptrdiff_t>(first));
  if (fresh.size() < last - first) {
    pieces_.erase(pieces_.begin() + static_cast<std::ptrdiff_t>(first + kept),
                  pieces_.begin() + static_cast<std::ptrdiff_t>(last));
  } else {
    pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(last),
                   fresh.begin() + static_cast<std::ptrdiff_t>(kept), fresh.end());
  }
  bytes_ = gbk.size();
  units_ += static_cast<int>(shown.size()) - oldUnits;
  // What can show otherwise than before: the new bytes, with the character
  // on either side of them.
  const auto begin = std::lower_bound(offsets.begin(), offsets.end(), static_cast<int>(offset));
  const auto stop = std::upper_bound(begin, offsets.end(), static_cast<int>(offset + inserted));
  const auto i =
      static_cast<qsizetype>(begin - offsets.begin()) - (begin != offsets.begin() ? 1 : 0);
  const auto j = static_cast<qsizetype>(stop - offsets.begin());
  return ShownPart{unit + static_cast<int>(i), shown.mid(i, j - i)};
}

std::optional<TextIndex::ModelChange> TextIndex::UserChange(TwoParts gbk, BoxChange change,
                                                            const QTextDocument& now) {
  const int n = units_;
  const int m = now.characterCount() - 1;
  auto [at, removed, added] = change;
  if (gbk.size() != bytes_ || at < 0 || removed < 0 || added < 0 || at > n) return std::nullopt;
  if (at + removed > n) {
    // The count took in the closing paragraph separator, on both sides.
    const int over = at + removed - n;
    removed -= over;
    added -= over;
  }
  if (added < 0 || n - removed + added != m) return std::nullopt;

  // As TextMirror::Update finds them over the whole texts: the common
  // beginning, which reaches at least to the change and may go on past it;
  // the common end, no longer than what follows the beginning in either
  // text, which holds at least what follows the change.
  // The new text is read one character at a time: a walk mostly stops
  // after a few.
  auto newAt = [&](int k) { return ShownChar(now.characterAt(k)); };
  int p = at;
  // A report whose window reads the same in both texts (an input method's
  // composing text, which the document shows but does not hold) changes
  // nothing: the common beginning would run on to the end of the text.
  const int same = removed == added ? at + removed : -1;
  while (p < n && p < m && p != same && UnitAt(gbk, p) == newAt(p)) ++p;
  if (p == same) return ModelChange{bytes_, 0, {}, false};
  int s = std::min({n - at - removed, n - p, m - p});
  while (s < n - p && s < m - p && UnitAt(gbk, n - 1 - s) == newAt(m - 1 - s)) ++s;
  // The kept parts end and begin on whole model characters.
  auto boundary = [&](int k) {
    return k == 0 || k == n || OffsetAt(gbk, k) != OffsetAt(gbk, k - 1);
  };
  while (!boundary(p)) --p;
  while (!boundary(n - s)) --s;

  const std::size_t head = OffsetAt(gbk, p);
  ModelChange model{head, OffsetAt(gbk, n - s) - head, {}, false};
  model.inserted = TypedLines(ShownText(now, p, m - s - p), &model.replaced);
  return model;
}

}  // namespace fw::qt
