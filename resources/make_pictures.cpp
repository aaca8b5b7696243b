// Draws every picture of the editor: the picture buttons' state pictures
// (JPEG) and the figure beside the prompt box (PNG with alpha).
//
//   make_pictures <folder>          writes the pictures into <folder>
//   make_pictures --check <folder>  exit 1 when a picture there differs
//
// Everything is drawn here with QPainter on a raster image and the WenQuanYi
// Zen Hei font, then encoded with libjpeg and libpng at fixed settings, so
// one machine writes the same bytes on every run.
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <jpeglib.h>
#include <png.h>

namespace {

// ---- Encoding ---------------------------------------------------------------

// Baseline JPEG, quality 95, no chroma subsampling (small coloured text
// would smear otherwise), Huffman tables optimised.
std::vector<unsigned char> EncodeJpeg(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
  cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  for (int c = 0; c < cinfo.num_components; ++c) {
    cinfo.comp_info[c].h_samp_factor = 1;
    cinfo.comp_info[c].v_samp_factor = 1;
  }
  cinfo.optimize_coding = TRUE;
  cinfo.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<unsigned char> bytes(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return bytes;
}

void AppendPng(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// 8-bit RGBA (colour type 6), not interlaced, zlib level 9, no time stamp.
std::vector<unsigned char> EncodePng(const QImage& picture) {
  const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
  std::vector<unsigned char> bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &bytes, &AppendPng, nullptr);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, static_cast<png_uint_32>(rgba.width()),
               static_cast<png_uint_32>(rgba.height()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < rgba.height(); ++y) {
    png_write_row(png, const_cast<png_bytep>(rgba.constScanLine(y)));
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

// ---- Drawing helpers --------------------------------------------------------

QString g_family;  // the CJK face the captions are drawn in

enum class State { Normal, Hot, Pressed, Disabled };

QImage Canvas(int width, int height, QColor ground) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(ground);
  return image;
}

QFont CaptionFont(int pixels) {
  QFont font(g_family);
  font.setPixelSize(pixels);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(QFont::NoSubpixelAntialias);
  return font;
}

// The colours of a text button in its normal state; the other states are
// derived from them.
struct Scheme {
  QColor ground;  // what the window around the button shows
  QColor top;     // face gradient
  QColor bottom;
  QColor border;
  QColor text;
};

// A rounded, bevelled face with a centred caption. Hot is lighter, pressed
// darker with the caption one pixel down and right, disabled grey.
QImage TextButton(int width, int height, const QString& caption, int pixels, const Scheme& s,
                  State state) {
  QImage image = Canvas(width, height, s.ground);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QColor top = s.top, bottom = s.bottom, border = s.border, text = s.text;
  QPoint shift(0, 0);
  switch (state) {
    case State::Normal:
      break;
    case State::Hot:
      top = top.lighter(112);
      bottom = bottom.lighter(125);
      border = border.lighter(130);
      break;
    case State::Pressed:
      std::swap(top, bottom);
      top = top.darker(115);
      bottom = bottom.darker(105);
      border = border.darker(120);
      shift = QPoint(1, 1);
      break;
    case State::Disabled:
      top = QColor(0xF4, 0xF4, 0xF4);
      bottom = QColor(0xDC, 0xDC, 0xDC);
      border = QColor(0xAA, 0xAA, 0xAA);
      text = QColor(0xA0, 0xA0, 0xA0);
      break;
  }
  const QRectF face(0.5, 0.5, width - 1.0, height - 1.0);
  QLinearGradient fill(0, 0, 0, height);
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  p.setPen(QPen(border, 1));
  p.setBrush(fill);
  p.drawRoundedRect(face, 3, 3);
  // A light line under the top edge gives the raised look; a pressed face
  // gets a shadow there instead.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(state == State::Pressed ? border.darker(110) : QColor(255, 255, 255, 150));
  p.drawLine(3, 1, width - 4, 1);
  p.setRenderHint(QPainter::Antialiasing);

  p.setFont(CaptionFont(pixels));
  const QRect textRect = QRect(0, 0, width, height).translated(shift);
  if (state == State::Disabled) {
    p.setPen(QColor(255, 255, 255));
    p.drawText(textRect.translated(1, 1), Qt::AlignCenter, caption);
  }
  p.setPen(text);
  p.drawText(textRect, Qt::AlignCenter, caption);
  return image;
}

// Caption-bar buttons: a white symbol on the purple bar; the hot square is
// lighter (red for close), the pressed one darker with the symbol shifted,
// the disabled symbol faded into the bar.
enum class Symbol { Minimise, Close };

QImage CaptionButton(Symbol symbol, State state) {
  const QColor bar(0x80, 0x00, 0x80);
  QImage image = Canvas(24, 24, bar);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QColor square = bar;
  QColor ink(0xFF, 0xFF, 0xFF);
  QPointF shift(0, 0);
  const bool close = symbol == Symbol::Close;
  switch (state) {
    case State::Normal:
      break;
    case State::Hot:
      square = close ? QColor(0xE0, 0x30, 0x30) : QColor(0xA8, 0x48, 0xA8);
      break;
    case State::Pressed:
      square = close ? QColor(0x9C, 0x10, 0x10) : QColor(0x58, 0x00, 0x58);
      shift = QPointF(1, 1);
      break;
    case State::Disabled:
      ink = QColor(0xB0, 0x70, 0xB0);
      break;
  }
  if (square != bar) {
    p.setPen(Qt::NoPen);
    p.setBrush(square);
    p.drawRoundedRect(QRectF(1, 1, 22, 22), 3, 3);
  }
  p.translate(shift);
  if (close) {
    QPen pen(ink, 2.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(7, 7), QPointF(17, 17));
    p.drawLine(QPointF(17, 7), QPointF(7, 17));
  } else {
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRect(QRectF(6, 15, 12, 2.5));
  }
  return image;
}

// ---- The figure beside the prompt box ---------------------------------------

// Where the prompt box lies on the figure's picture: the decoration window
// stands 198 pixels left of and 124 pixels above the box, which is 320 x 121.
constexpr int kPromptLeft = 198;
constexpr int kPromptTop = 124;
constexpr int kPromptWidth = 320;
constexpr int kPromptHeight = 121;

QPainterPath Polygon(std::initializer_list<QPointF> points) {
  QPainterPath path;
  bool first = true;
  for (const QPointF& pt : points) {
    if (first) {
      path.moveTo(pt);
      first = false;
    } else {
      path.lineTo(pt);
    }
  }
  path.closeSubpath();
  return path;
}

void Shape(QPainter& p, const QPainterPath& path, const QBrush& brush, const QColor& outline,
           qreal width = 2.0) {
  p.setPen(QPen(outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(brush);
  p.drawPath(path);
}

QLinearGradient Vertical(qreal y0, qreal y1, QColor a, QColor b) {
  QLinearGradient g(0, y0, 0, y1);
  g.setColorAt(0, a);
  g.setColorAt(1, b);
  return g;
}

QLinearGradient Across(QPointF from, QPointF to, QColor a, QColor b) {
  QLinearGradient g(from, to);
  g.setColorAt(0, a);
  g.setColorAt(1, b);
  return g;
}

// A swordsman in a long coat standing on the left, his blade raised toward
// the upper right so that it passes above the prompt box.
QImage SwordsmanFigure() {
  QImage image(345, 337, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0x1C, 0x18, 0x28);

  // Coat tails flowing behind him.
  Shape(p,
        Polygon({{78, 150},
                 {54, 210},
                 {30, 286},
                 {46, 282},
                 {60, 300},
                 {74, 268},
                 {92, 236},
                 {104, 170}}),
        Vertical(150, 300, QColor(0x3A, 0x2E, 0x6E), QColor(0x1E, 0x18, 0x40)), ink);

  // Legs and boots.
  Shape(p, Polygon({{88, 214}, {72, 262}, {64, 306}, {80, 308}, {92, 266}, {106, 222}}),
        Vertical(214, 308, QColor(0x4A, 0x44, 0x58), QColor(0x2A, 0x26, 0x34)), ink);
  Shape(p, Polygon({{110, 220}, {124, 262}, {138, 304}, {154, 300}, {140, 258}, {128, 214}}),
        Vertical(214, 308, QColor(0x4A, 0x44, 0x58), QColor(0x2A, 0x26, 0x34)), ink);
  Shape(p, Polygon({{62, 300}, {58, 318}, {40, 322}, {40, 328}, {84, 328}, {82, 302}}),
        Vertical(300, 328, QColor(0x5A, 0x36, 0x20), QColor(0x30, 0x1C, 0x10)), ink);
  Shape(
      p,
      Polygon({{136, 298}, {138, 316}, {170, 322}, {172, 328}, {134, 328}, {132, 312}, {154, 296}}),
      Vertical(296, 328, QColor(0x5A, 0x36, 0x20), QColor(0x30, 0x1C, 0x10)), ink);

  // Coat body.
  Shape(p,
        Polygon({{80, 112},
                 {70, 150},
                 {74, 200},
                 {84, 232},
                 {134, 232},
                 {140, 196},
                 {136, 148},
                 {128, 112}}),
        Across({70, 0}, {140, 0}, QColor(0x2C, 0x24, 0x5C), QColor(0x4C, 0x40, 0x8C)), ink);
  // Breastplate.
  Shape(p, Polygon({{88, 118}, {86, 168}, {104, 182}, {124, 168}, {122, 118}, {104, 112}}),
        Across({86, 118}, {124, 170}, QColor(0xD8, 0xDC, 0xE6), QColor(0x7C, 0x84, 0x98)), ink,
        1.6);
  // Belt with its buckle.
  Shape(p, Polygon({{76, 190}, {138, 190}, {139, 201}, {75, 201}}), QColor(0x6A, 0x3A, 0x1E), ink,
        1.4);
  Shape(p, Polygon({{100, 188}, {112, 188}, {112, 203}, {100, 203}}), QColor(0xE8, 0xC0, 0x40), ink,
        1.2);

  // Red scarf streaming to the left.
  Shape(p,
        Polygon({{86, 104},
                 {60, 110},
                 {26, 132},
                 {40, 134},
                 {18, 156},
                 {52, 140},
                 {70, 126},
                 {90, 120},
                 {122, 118},
                 {124, 104}}),
        Across({20, 150}, {120, 108}, QColor(0x8C, 0x10, 0x18), QColor(0xE0, 0x30, 0x30)), ink,
        1.8);

  // Left arm hanging, fist at the hip.
  Shape(p, Polygon({{82, 120}, {66, 160}, {64, 186}, {76, 188}, {80, 162}, {94, 128}}),
        Across({64, 0}, {94, 0}, QColor(0x2C, 0x24, 0x5C), QColor(0x44, 0x3A, 0x80)), ink);
  Shape(p, QPainterPath([] {
          QPainterPath path;
          path.addEllipse(QPointF(70, 192), 7, 7);
          return path;
        }()),
        QColor(0xF0, 0xC8, 0xA0), ink, 1.6);

  // The blade, raised from the right hand at (156, 118) to the tip at
  // (306, 22): long and bright. Only edges are partly transparent: a window
  // shown without a compositor takes the picture's shape.
  const QPointF grip(156, 118);
  const QPointF tip(306, 22);
  {
    const QPointF dir = (tip - grip) / std::hypot(tip.x() - grip.x(), tip.y() - grip.y());
    const QPointF normal(-dir.y(), dir.x());
    const QPointF base = grip + dir * 22;
    const QPointF shoulder = tip - dir * 16;
    Shape(p,
          Polygon({base + normal * 5, shoulder + normal * 5, tip, shoulder - normal * 5,
                   base - normal * 5}),
          Across(base + normal * 5, base - normal * 5, QColor(0xFA, 0xFC, 0xFF),
                 QColor(0x8A, 0x96, 0xB0)),
          ink, 1.6);
    // The fuller down the middle of the blade.
    p.setPen(QPen(QColor(0x70, 0x7C, 0x98), 1.2));
    p.drawLine(base + dir * 6, shoulder - dir * 10);
    // Cross-guard and grip.
    Shape(p,
          Polygon({base + normal * 16 - dir * 2, base + normal * 16 + dir * 3,
                   base - normal * 16 + dir * 3, base - normal * 16 - dir * 2}),
          QColor(0xE8, 0xC0, 0x40), ink, 1.4);
    Shape(p,
          Polygon({grip + normal * 3 - dir * 6, base + normal * 3, base - normal * 3,
                   grip - normal * 3 - dir * 6}),
          QColor(0x5A, 0x30, 0x18), ink, 1.2);
    QPainterPath pommel;
    pommel.addEllipse(grip - dir * 9, 4.5, 4.5);
    Shape(p, pommel, QColor(0xE8, 0xC0, 0x40), ink, 1.2);
  }

  // Right arm raised to the grip.
  Shape(p, Polygon({{118, 116}, {134, 140}, {162, 128}, {156, 112}, {136, 122}, {128, 108}}),
        Across({118, 0}, {162, 0}, QColor(0x3C, 0x32, 0x74), QColor(0x50, 0x44, 0x94)), ink);
  QPainterPath fist;
  fist.addEllipse(QPointF(158, 118), 8, 8);
  Shape(p, fist, QColor(0xF0, 0xC8, 0xA0), ink, 1.6);
  // Shoulder guard.
  QPainterPath pauldron;
  pauldron.moveTo(110, 104);
  pauldron.cubicTo(126, 96, 140, 104, 138, 124);
  pauldron.lineTo(116, 124);
  pauldron.closeSubpath();
  Shape(p, pauldron,
        Across({110, 100}, {138, 124}, QColor(0xE0, 0xE4, 0xEE), QColor(0x80, 0x88, 0x9C)), ink,
        1.6);

  // Neck, head and hair.
  Shape(p, Polygon({{96, 92}, {96, 108}, {112, 108}, {112, 92}}), QColor(0xE4, 0xB8, 0x90), ink,
        1.4);
  QPainterPath head;
  head.addEllipse(QPointF(106, 76), 19, 22);
  Shape(p, head, Across({88, 60}, {124, 96}, QColor(0xF8, 0xD8, 0xB8), QColor(0xE0, 0xB0, 0x88)),
        ink, 1.8);
  Shape(p,
        Polygon({{84, 80},
                 {78, 62},
                 {66, 58},
                 {80, 50},
                 {72, 36},
                 {90, 42},
                 {96, 26},
                 {106, 40},
                 {120, 30},
                 {120, 46},
                 {134, 48},
                 {126, 60},
                 {124, 70},
                 {112, 60},
                 {100, 64},
                 {92, 76}}),
        Across({66, 30}, {134, 80}, QColor(0x30, 0x2A, 0x48), QColor(0x14, 0x10, 0x22)), ink, 1.6);
  // Eye and brow, looking to the right.
  p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(112, 72), QPointF(120, 70));
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  p.drawEllipse(QPointF(116, 78), 2.2, 2.6);
  // Mouth.
  p.setPen(QPen(QColor(0x90, 0x50, 0x40), 1.4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(112, 90), QPointF(118, 89));
  p.end();

  // Where the prompt box lies the picture is fully transparent, so that its
  // title, its text lines and its buttons stay readable and clickable.
  QPainter clear(&image);
  clear.setCompositionMode(QPainter::CompositionMode_Clear);
  clear.fillRect(QRect(kPromptLeft, kPromptTop, kPromptWidth, kPromptHeight), Qt::transparent);
  return image;
}

// ---- The catalogue ----------------------------------------------------------

struct Output {
  std::string name;
  std::vector<unsigned char> bytes;
};

const char* StateName(State s) {
  switch (s) {
    case State::Normal:
      return "normal";
    case State::Hot:
      return "hot";
    case State::Pressed:
      return "pressed";
    case State::Disabled:
      return "disabled";
  }
  return "";
}

constexpr State kAllStates[] = {State::Normal, State::Hot, State::Pressed, State::Disabled};

// Four JPEG pictures "<stem>_<state>.jpg" drawn by `draw`.
template <class Draw>
void AddButton(std::vector<Output>& out, const std::string& stem, Draw draw,
               bool withDisabled = true) {
  for (State s : kAllStates) {
    if (s == State::Disabled && !withDisabled) continue;
    out.push_back({stem + "_" + StateName(s) + ".jpg", EncodeJpeg(draw(s))});
  }
}

std::vector<Output> Pictures() {
  // MainWindow's buttons stand on its grey ground; the prompt's on white.
  const Scheme mainScheme{QColor(0xF0, 0xF0, 0xF0), QColor(0xF6, 0xEE, 0xFA),
                          QColor(0xD8, 0xC4, 0xE4), QColor(0x80, 0x40, 0x90),
                          QColor(0x50, 0x10, 0x60)};
  const Scheme promptScheme{QColor(0xFF, 0xFF, 0xFF), QColor(0xEE, 0xFA, 0xEE),
                            QColor(0xBC, 0xE2, 0xBC), QColor(0x20, 0x80, 0x20),
                            QColor(0x00, 0x50, 0x00)};
  std::vector<Output> out;
  AddButton(out, "minimise", [](State s) { return CaptionButton(Symbol::Minimise, s); });
  AddButton(
      out, "close", [](State s) { return CaptionButton(Symbol::Close, s); }, false);
  const std::pair<const char*, const char16_t*> sideButtons[] = {
      {"load", u"技能列表"},
      {"param_shown", u"隐藏参数窗口"},
      {"param_hidden", u"显示参数窗口"},
      {"mastery_shown", u"隐藏精通窗口"},
      {"mastery_hidden", u"显示精通窗口"},
  };
  for (const auto& [stem, caption] : sideButtons) {
    const QString text = QString::fromUtf16(caption);
    AddButton(out, stem, [&](State s) { return TextButton(82, 23, text, 12, mainScheme, s); });
  }
  const std::pair<const char*, const char16_t*> promptButtons[] = {
      {"prompt_ok", u"确定"},
      {"prompt_cancel", u"取消"},
  };
  for (const auto& [stem, caption] : promptButtons) {
    const QString text = QString::fromUtf16(caption);
    AddButton(out, stem, [&](State s) { return TextButton(65, 23, text, 14, promptScheme, s); });
  }
  out.push_back({"prompt_decoration.png", EncodePng(SwordsmanFigure())});
  return out;
}

bool LoadFont() {
  const char* const files[] = {"/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"};
  for (const char* file : files) {
    const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(file));
    if (id < 0) continue;
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.contains(QStringLiteral("WenQuanYi Zen Hei"))) {
      g_family = QStringLiteral("WenQuanYi Zen Hei");
      return true;
    }
  }
  return false;
}

std::vector<unsigned char> ReadFile(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = static_cast<bool>(in);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  bool check = false;
  std::string folder;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--check") == 0) {
      check = true;
    } else {
      folder = argv[i];
    }
  }
  if (folder.empty()) {
    std::cerr << "usage: make_pictures [--check] <folder>\n";
    return 2;
  }
  // No screen is needed to draw into images.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (!LoadFont()) {
    std::cerr << "make_pictures: the WenQuanYi Zen Hei font (fonts-wqy-zenhei) is missing\n";
    return 2;
  }

  int stale = 0;
  for (const Output& o : Pictures()) {
    const std::string path = folder + "/" + o.name;
    if (check) {
      bool ok = false;
      if (ReadFile(path, ok) != o.bytes || !ok) {
        std::cerr << "out of date: " << path << "\n";
        ++stale;
      }
      continue;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(o.bytes.data()),
               static_cast<std::streamsize>(o.bytes.size()));
    if (!file) {
      std::cerr << "make_pictures: cannot write " << path << "\n";
      return 2;
    }
  }
  return stale == 0 ? 0 : 1;
}
