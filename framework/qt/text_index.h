// The text of a multi-line edit box, indexed in pieces by what the box
// shows, so that a user's edit reaches the model, and a change of the model
// reaches the box, by the part that changed: a keystroke costs the same in
// a script of 1.6 MB as in a short one.
//
// The box shows the model's bytes as TextMirror (multi-line) does: one "\n"
// per model line break, every other character as itself. The index keeps,
// for each piece of the model's text, its bytes and the characters it
// shows; the bytes themselves are the model's (fw::Edit::TextRef), read only
// where a change falls. A piece ends only where a character ends whatever
// comes before it: after a byte below 0x40 (never part of a two-byte
// character) that is not the CR of a CR LF. A piece therefore shows on its
// own what it shows within the whole text.
#pragma once

#include <QString>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QTextDocument;

namespace fw::qt {

// A text as two parts, the first followed by the second: the model's text
// as fw::Edit::TextParts gives it, or one whole text.
struct TwoParts {
  TwoParts(std::string_view whole) : first(whole) {}             // NOLINT: implicit
  TwoParts(const std::string& whole) : first(whole) {}           // NOLINT: implicit
  TwoParts(std::pair<std::string_view, std::string_view> parts)  // NOLINT: implicit
      : first(parts.first), second(parts.second) {}
  std::size_t size() const { return first.size() + second.size(); }
  char operator[](std::size_t i) const {
    return i < first.size() ? first[i] : second[i - first.size()];
  }
  // Bytes [from, to): in the part that holds them, else copied to
  // `scratch`.
  std::string_view Slice(std::size_t from, std::size_t to, std::string& scratch) const;

  std::string_view first;
  std::string_view second;
};

class TextIndex {
 public:
  // Indexes `gbk`, the model's whole text.
  void Reset(TwoParts gbk);
  // The number of characters the box shows.
  int ShownLength() const { return units_; }
  // What the box shows of `gbk`, the text indexed.
  static QString Shown(TwoParts gbk);
  // A character of a document as it stands in what the box shows: a
  // paragraph or line separator is the "\n" of a line break.
  static QChar ShownChar(QChar c);
  // `count` characters of a document from position `at`, each as
  // ShownChar gives it. Read without laying out a line of the document (a
  // cursor would lay out the lines it touches, a long line at the cost of a
  // keystroke or more).
  static QString ShownText(const QTextDocument& doc, int at, int count);

  // Part of what the box shows: from shown position `at`, `text`.
  struct ShownPart {
    int at = 0;
    QString text;
  };
  // The model's text is now `gbk`, where `removed` bytes at byte `offset`
  // of the text indexed gave way to `inserted` bytes (fw::Edit::Splice).
  // Indexes the pieces around the change anew and returns what the new
  // bytes show, with the character on either side of them: all that may
  // show otherwise than before, where characters joined or parted. Nothing,
  // changing nothing, when the change does not fit the text indexed.
  std::optional<ShownPart> Splice(TwoParts gbk, std::size_t offset, std::size_t removed,
                                  std::size_t inserted);

  // A change of the box's document as QTextDocument::contentsChange
  // reports it: at shown position `at`, `removed` characters gave way to
  // `added` ones. The counts may take in the document's closing paragraph
  // separator.
  struct BoxChange {
    int at = 0;
    int removed = 0;
    int added = 0;
  };
  // A change of the model's text: `removed` bytes at byte `offset` give way
  // to `inserted`, in which characters GBK cannot hold became "?" when
  // `replaced`.
  struct ModelChange {
    std::size_t offset = 0;
    std::size_t removed = 0;
    std::string inserted;
    bool replaced = false;
  };
  // The user changed the box's document, which now holds `now`, and `gbk`
  // is the model's text, the text indexed. Returns the model change that
  // gives exactly the text TextMirror::Update gives for the whole document:
  // the same unchanged beginning and end, their bytes kept, and the same
  // middle, converted, its line breaks CR LF. Nothing when the report does
  // not fit the text indexed and the document.
  std::optional<ModelChange> UserChange(TwoParts gbk, BoxChange change, const QTextDocument& now);

 private:
  struct Piece {
    int bytes = 0;
    int units = 0;  // characters shown
  };
  // Cuts bytes [from, to) of `gbk` into pieces, appended to `out`, and
  // appends what they show to `shown` and the model byte of each shown
  // character to `offsets`.
  void Cut(TwoParts gbk, std::size_t from, std::size_t to, std::vector<Piece>& out, QString& shown,
           std::vector<int>& offsets);
  // Moves `at_` to the piece that holds byte `byte` or shown position
  // `unit` (which lie inside the text).
  void SeekByte(std::size_t byte);
  void SeekUnit(int unit);
  // The shown character `unit` and the model byte where it begins
  // (TextMirror's offsets; the text's length at its end).
  QChar UnitAt(TwoParts gbk, int unit);
  std::size_t OffsetAt(TwoParts gbk, int unit);
  void Decode(TwoParts gbk, int unit);

  std::vector<Piece> pieces_;
  std::size_t bytes_ = 0;
  int units_ = 0;
  // The piece last sought, with where it begins: edits fall near one
  // another, so a seek starts from there.
  struct Place {
    std::size_t piece = 0;
    std::size_t byte = 0;
    int unit = 0;
  } at_;
  // The piece last decoded: what it shows and the model byte of each
  // shown character.
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  std::size_t decodedPiece_ = kNone;
  QString decodedShown_;
  std::vector<int> decodedOffsets_;
  // Bytes of a piece that lies across the two parts.
  std::string scratch_;
  // What a splice cuts anew, kept from one splice to the next.
  std::vector<Piece> cutPieces_;
  QString cutShown_;
  std::vector<int> cutOffsets_;
};

}  // namespace fw::qt
