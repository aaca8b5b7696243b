#include "framework/qt/text_rasteriser.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <string>

#include "framework/qt/convert.h"

namespace fw::qt {

namespace {

// The Windows CJK faces stand for the CJK font that is installed.
QString Family(std::string_view utf8) {
  static const char* const kWindowsCjk[] = {"宋体", "新宋体", "黑体", "仿宋", "楷体", "微软雅黑"};
  for (const char* face : kWindowsCjk) {
    if (utf8 == face) return CjkFamily();
  }
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QFont FontOf(const fw::TextStyle& style) {
  QFont font(Family(style.family));
  font.setPixelSize(std::max(1, static_cast<int>(style.pixels + 0.5f)));
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setUnderline(style.underline);
  font.setStrikeOut(style.strikeOut);
  return font;
}

QString Text(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool QtTextRasteriser::HasFamily(std::string_view family) {
  const QString name = Family(family);
  return !name.isEmpty() && QFontDatabase::hasFamily(name);
}

void QtTextRasteriser::Draw(std::vector<std::uint32_t>& pixels, int width, int height,
                            const fw::TextRun& run) {
  if (width <= 0 || height <= 0 ||
      pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return;
  // The pixels are 0xAARRGGBB with straight alpha: Qt's ARGB32.
  QImage target(reinterpret_cast<uchar*>(pixels.data()), width, height,
                static_cast<qsizetype>(width) * 4, QImage::Format_ARGB32);
  QPainter p(&target);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QRectF layout(run.x, run.y, run.width, run.height);
  p.setClipRect(layout);
  p.setFont(FontOf(run.style));
  p.setPen(QColor::fromRgba(run.colour));
  int flags = run.align == 1 ? Qt::AlignHCenter : run.align == 2 ? Qt::AlignRight : Qt::AlignLeft;
  flags |= run.lineAlign == 1   ? Qt::AlignVCenter
           : run.lineAlign == 2 ? Qt::AlignBottom
                                : Qt::AlignTop;
  flags |= run.noWrap ? Qt::TextSingleLine : Qt::TextWordWrap;
  p.drawText(layout, flags, Text(run.text));
}

float QtTextRasteriser::Advance(std::u16string_view text, const fw::TextStyle& style) {
  return static_cast<float>(QFontMetricsF(FontOf(style)).horizontalAdvance(Text(text)));
}

float QtTextRasteriser::LineHeight(const fw::TextStyle& style) {
  return static_cast<float>(QFontMetricsF(FontOf(style)).height());
}

}  // namespace fw::qt
