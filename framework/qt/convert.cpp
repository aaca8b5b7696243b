#include "framework/qt/convert.h"

#include <QFontDatabase>
#include <QStringList>

#include <cmath>

#include "platform/codepage.h"

namespace fw::qt {

QString FromGbk(std::string_view gbk) {
  if (gbk.empty()) return {};
  return QString::fromStdU16String(platform::GbkToUtf16(gbk));
}

std::string ToGbk(const QString& text, bool* replaced) {
  if (replaced != nullptr) *replaced = false;
  if (text.isEmpty()) return {};
  return platform::Utf16ToGbk(text.toStdU16String(), replaced);
}

QColor ToQColor(Colour c) {
  if (!IsSet(c)) return {};
  return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu),
                static_cast<int>((c >> 16) & 0xFFu));
}

QString CjkFamily() {
  static const QString family = [] {
    const QStringList all = QFontDatabase::families();
    for (const char* name : {"WenQuanYi Zen Hei", "文泉驿正黑", "文泉驛正黑"}) {
      const QString f = QString::fromUtf8(name);
      if (all.contains(f)) return f;
    }
    const QStringList cjk = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    return cjk.isEmpty() ? QString() : cjk.front();
  }();
  return family;
}

QFont ToQFont(const Font& font, const QFont& base) {
  QFont q = base;
  if (!font.face.empty()) {
    QString face = FromGbk(font.face);
    // The program's forms name the Windows faces; the CJK font installed
    // with the program stands in for 宋体 and for any face this system lacks.
    if (face == QStringLiteral(u"宋体") || !QFontDatabase::hasFamily(face)) face = CjkFamily();
    if (!face.isEmpty()) q.setFamily(face);
  }
  if (font.size > 0) {
    if (font.unit == FontUnit::Pixels) {
      q.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size))));
    } else {
      q.setPointSizeF(font.size);
    }
  }
  q.setBold(font.bold);
  q.setItalic(font.italic);
  q.setUnderline(font.underline);
  q.setStrikeOut(font.strikeOut);
  return q;
}

std::vector<GbkChar> SplitGbk(std::string_view gbk) {
  std::vector<GbkChar> out;
  out.reserve(gbk.size());
  const int n = static_cast<int>(gbk.size());
  for (int i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(gbk[static_cast<std::size_t>(i)]);
    GbkChar c;
    c.offset = i;
    if (b == '\r') {
      c.lineBreak = true;
      if (i + 1 < n && gbk[static_cast<std::size_t>(i) + 1] == '\n') c.length = 2;
    } else if (b == '\n') {
      c.lineBreak = true;
    } else if (b >= 0x81 && b <= 0xFE && i + 1 < n) {
      const auto t = static_cast<unsigned char>(gbk[static_cast<std::size_t>(i) + 1]);
      if (t >= 0x40 && t <= 0xFE && t != 0x7F) c.length = 2;
    }
    out.push_back(c);
    i += c.length;
  }
  return out;
}

const QString& TextMirror::Reset(std::string_view gbk) {
  model_.assign(gbk);
  shown_.clear();
  offsets_.clear();
  shown_.reserve(static_cast<qsizetype>(gbk.size()));
  offsets_.reserve(gbk.size() + 1);
  AppendShown(model_, 0, multiline_, shown_, offsets_);
  offsets_.push_back(static_cast<int>(model_.size()));
  return shown_;
}

std::string TypedLines(QString text, bool* replaced) {
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  return ToGbk(text, replaced);
}

void AppendShown(std::string_view gbk, int base, bool multiline, QString& shown,
                 std::vector<int>& offsets) {
  const std::vector<GbkChar> chars = SplitGbk(gbk);
  std::size_t i = 0;
  while (i < chars.size()) {
    const GbkChar& c = chars[i];
    const auto b = static_cast<unsigned char>(gbk[static_cast<std::size_t>(c.offset)]);
    if (c.lineBreak && multiline) {
      shown.append(QLatin1Char('\n'));
      offsets.push_back(base + c.offset);
      ++i;
      continue;
    }
    if (b < 0x80) {
      // ASCII, and CR or LF of a single-line box, stand for themselves.
      for (int k = 0; k < c.length; ++k) {
        shown.append(QChar(gbk[static_cast<std::size_t>(c.offset + k)]));
        offsets.push_back(base + c.offset + k);
      }
      ++i;
      continue;
    }
    // A run of non-ASCII characters goes through the converter at once. A
    // GBK character is one UTF-16 unit; should the converter disagree
    // (invalid bytes), each character of the run is converted alone.
    std::size_t j = i;
    while (j < chars.size() && !chars[j].lineBreak &&
           static_cast<unsigned char>(gbk[static_cast<std::size_t>(chars[j].offset)]) >= 0x80) {
      ++j;
    }
    const int from = chars[i].offset;
    const int to = chars[j - 1].offset + chars[j - 1].length;
    const std::u16string run = platform::GbkToUtf16(
        gbk.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)));
    if (run.size() == j - i) {
      for (std::size_t k = 0; k < run.size(); ++k) {
        shown.append(QChar(run[k]));
        offsets.push_back(base + chars[i + k].offset);
      }
    } else {
      for (std::size_t k = i; k < j; ++k) {
        const std::u16string one = platform::GbkToUtf16(gbk.substr(
            static_cast<std::size_t>(chars[k].offset), static_cast<std::size_t>(chars[k].length)));
        for (char16_t u : one) {
          shown.append(QChar(u));
          offsets.push_back(base + chars[k].offset);
        }
      }
    }
    i = j;
  }
}

const std::string& TextMirror::Update(const QString& shown, bool* replaced) {
  QString now = shown;
  if (multiline_) {
    now.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    now.replace(QChar::LineSeparator, QLatin1Char('\n'));
  }
  const QString& old = shown_;
  const qsizetype n = old.size();
  const qsizetype m = now.size();
  qsizetype p = 0;
  while (p < n && p < m && old[p] == now[p]) ++p;
  qsizetype s = 0;
  while (s < n - p && s < m - p && old[n - 1 - s] == now[m - 1 - s]) ++s;
  // The kept parts end and begin on whole model characters.
  auto boundary = [&](qsizetype k) {
    return k == 0 || k == n ||
           offsets_[static_cast<std::size_t>(k)] != offsets_[static_cast<std::size_t>(k) - 1];
  };
  while (!boundary(p)) --p;
  while (!boundary(n - s)) --s;

  const QString middle = now.mid(p, m - p - s);
  const auto head = static_cast<std::size_t>(offsets_[static_cast<std::size_t>(p)]);
  const auto tail = static_cast<std::size_t>(offsets_[static_cast<std::size_t>(n - s)]);
  std::string next = model_.substr(0, head);
  next += multiline_ ? TypedLines(middle, replaced) : ToGbk(middle, replaced);
  next.append(model_, tail, std::string::npos);
  // Re-split the whole text: where the kept parts meet the new middle, two
  // characters may have become one (a lone CR before a lone LF), and the
  // shown text must say what the model now holds.
  Reset(next);
  return model_;
}

}  // namespace fw::qt
