// Conversions between the models' values and Qt's: GBK texts and UTF-16
// strings, 0x00BBGGRR colours and QColor, the models' fonts and QFont, and
// the mirror that keeps an edit box's GBK text byte for byte while Qt shows
// and edits it as UTF-16 with its own line breaks.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <string>
#include <string_view>
#include <vector>

#include "framework/types.h"

namespace fw::qt {

// GBK bytes to UTF-16 and back, through platform/codepage.h. What GBK
// cannot hold becomes "?"; invalid GBK becomes U+FFFD. `replaced`, when
// given, tells whether anything of `text` became "?".
QString FromGbk(std::string_view gbk);
std::string ToGbk(const QString& text, bool* replaced = nullptr);

// A model colour as Qt's; an unset colour (kDefaultColour) gives an
// invalid QColor, which callers read as "leave the default".
QColor ToQColor(Colour c);

// The family that stands for "宋体" and other Windows CJK faces: WenQuanYi
// Zen Hei when installed, else any family with Simplified Chinese glyphs.
QString CjkFamily();

// A model font over `base` (the widget's default font): the face, mapped
// to the CJK font for "宋体" and for faces that are not installed; the size
// in points or pixels when given; the styles.
QFont ToQFont(const Font& font, const QFont& base);

// One GBK character as the boxes count it: a two-byte character, a line
// break (CR LF, a lone CR or a lone LF) or a single byte.
struct GbkChar {
  int offset = 0;  // first byte
  int length = 1;  // bytes
  bool lineBreak = false;
};
// Splits GBK text into its characters.
std::vector<GbkChar> SplitGbk(std::string_view gbk);

// What the user typed or pasted into a multi-line box, as the model's GBK
// bytes: each line break ("\n", a lone CR, CR LF, U+2028, U+2029) as CR LF,
// the line break of the program's texts. `replaced` as for ToGbk.
std::string TypedLines(QString text, bool* replaced = nullptr);

// Appends to `shown` what a box shows of `gbk`, whose first byte is model
// byte `base`, and to `offsets` the model byte at which each character of
// it begins (see TextMirror).
void AppendShown(std::string_view gbk, int base, bool multiline, QString& shown,
                 std::vector<int>& offsets);

// The mirror of a plain edit box's text. Qt's plain-text edit knows one
// kind of line break and hands back LF; the model keeps CR LF, a lone CR
// and a lone LF exactly as written. The mirror remembers which model bytes
// each character of the shown text stands for, so that a user edit changes
// only the bytes of the part the user changed:
//
// - the shown text of a multi-line box has one "\n" for each line break of
//   the model (CR LF, lone CR or lone LF); a single-line box shows CR and
//   LF as the characters they are;
// - after a user edit, the unchanged beginning and end keep their model
//   bytes (line-break kinds, bytes GBK cannot round-trip), and only the
//   changed middle is converted; a line break typed or pasted there becomes
//   CR LF, the line break of the program's texts.
class TextMirror {
 public:
  explicit TextMirror(bool multiline = false) : multiline_(multiline) {}

  // Takes the model's text; returns the text to show.
  const QString& Reset(std::string_view gbk);
  // The view now shows `shown` after a user edit (line breaks as "\n",
  // U+2028 or U+2029); returns the model text it stands for, which the
  // mirror now holds. `replaced`, when given, tells whether characters of
  // the changed part became "?" (the kept parts are the model's bytes).
  const std::string& Update(const QString& shown, bool* replaced = nullptr);

  const std::string& model() const { return model_; }
  const QString& shown() const { return shown_; }

 private:
  bool multiline_;
  std::string model_;
  QString shown_;
  // offsets_[i]: the model byte at which shown character i begins;
  // offsets_[shown_.size()] == model_.size(), also before the first Reset.
  std::vector<int> offsets_{0};
};

}  // namespace fw::qt
