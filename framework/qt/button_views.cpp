// The views of labels, group boxes, buttons of every kind, pictures and
// radio boxes.
#include "framework/qt/view_kinds.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include <algorithm>
#include <string_view>

#include "framework/input.h"
#include "framework/qt/convert.h"
#include "framework/qt/view_util.h"

namespace fw::qt {

namespace {

// A caption as a label or button shows it: any line break as "\n".
QString ShownCaption(std::string_view gbk) {
  QString s = FromGbk(gbk);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

// ---- Label, group box, buttons, picture -------------------------------

// The view of a label or picture, which are no buttons: a left press and a
// release inside the widget make a click, when the form binds Clicked. One
// that takes no clicks is not there for the mouse: presses reach what lies
// below it (the units below, or the window's background, for dragging).
template <class Base>
class ClickableView : public Base, public UnitView {
 public:
  ClickableView(ViewHost& b, Control& u, QWidget* parent)
      : Base(parent), UnitView(b, u, this), clickable_(HasBinding(u, Event::Clicked)) {
    if (!clickable_) this->setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (clickable_ && e->button() == Qt::LeftButton && ClickArea().contains(EventPos(e))) {
      pressed_ = true;
      e->accept();
      return;
    }
    Base::mousePressEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (pressed_ && e->button() == Qt::LeftButton) {
      pressed_ = false;
      e->accept();
      if (Live() && ClickArea().contains(EventPos(e))) input::Click(unit());
      return;
    }
    Base::mouseReleaseEvent(e);
  }
  // Where a press and a release make a click, in the widget's coordinates.
  virtual QRect ClickArea() const { return this->rect(); }

 private:
  bool clickable_;
  bool pressed_ = false;
};

// Buttons report Qt's clicked signal, which fires only for the user.
void ReportClicks(QAbstractButton* button, UnitView* view) {
  QObject::connect(button, &QAbstractButton::clicked, button, [view] {
    if (view->Live()) input::Click(view->unit());
  });
}

// How far the first glyph of `text` hangs left of where the text begins,
// in pixels (0 when it does not): the tail of a j, or the column that a
// synthetic bold adds, which the font's metrics do not always tell. It is
// measured by drawing the glyph, once per font and character.
int LeftOverhang(const QFont& font, const QString& text) {
  if (text.isEmpty()) return 0;
  const QString first = text.left(text.at(0).isHighSurrogate() ? 2 : 1);
  static QHash<QString, int> known;
  const QString key = font.key() + QLatin1Char('\x1F') + first;
  if (const auto it = known.constFind(key); it != known.constEnd()) return *it;
  const QFontMetrics metrics(font);
  const int origin = 2 * metrics.height();
  QImage canvas(4 * metrics.height(), 2 * metrics.height(), QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  {
    QPainter p(&canvas);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPoint(origin, metrics.ascent() + metrics.height() / 2), first);
  }
  int ink = origin;
  for (int y = 0; y < canvas.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
    for (int x = 0; x < ink; ++x) {
      if (qAlpha(line[x]) != 0) {
        ink = x;
        break;
      }
    }
  }
  if (known.size() > 4096) known.clear();
  return known[key] = origin - ink;
}

// A label's text is never cut by the label's own rectangle: a rectangle
// lower than the font's lines (a 14-pixel label of a 14-pixel font whose
// line is 17 pixels high) gets a widget that reaches above and below it by
// what the lines need, and one whose first glyph hangs left of it a widget
// that reaches that far left, the text staying where it stood. A text that
// would begin left of the window (a title label placed at x = -3) is
// indented to begin at the window's edge. The ground is painted over the
// label's own rectangle only, and only that rectangle takes clicks. A line
// too long for the label is still cut at its right edge.
class LabelView final : public ClickableView<QLabel> {
 public:
  LabelView(ViewHost& b, Control& u, QWidget* parent) : ClickableView(b, u, parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setWordWrap(false);
  }

 protected:
  void RefreshGeometry() override { Place(); }
  void RefreshText() override {
    setText(ShownCaption(unit().Text()));
    Place();
  }
  void RefreshFont() override {
    UnitView::RefreshFont();
    Place();
  }
  void RefreshColours() override {
    ApplyColours(QPalette::WindowText, QPalette::Window, true);
    Place();
  }
  QRect ClickArea() const override { return own_; }
  void paintEvent(QPaintEvent* e) override {
    // A widget larger than the label paints the label's ground itself.
    if (!autoFillBackground()) {
      const QColor back = ToQColor(unit().BackColour());
      if (back.isValid()) QPainter(this).fillRect(own_, back);
    }
    QLabel::paintEvent(e);
  }

 private:
  void Place() {
    const Rect r = unit().Geometry();
    const QString shown = text();
    int indent = 0;
    int left = 0;  // how far the widget reaches left of, above and below the label
    int above = 0;
    int below = 0;
    int textTop = 0;  // where the lines begin, from the label's top
    int textHeight = 0;
    if (!shown.isEmpty()) {
      const QFontMetrics metrics(font());
      int inWindow = r.left;  // the label's left in the window's client area
      for (const Control* c = unit().parent(); c != nullptr; c = c->parent()) inWindow += c->Left();
      const int overhang = LeftOverhang(font(), shown);
      indent = std::max(0, overhang - inWindow);
      left = std::max(0, overhang - indent);
      textHeight =
          metrics.boundingRect(QRect(0, 0, QWIDGETSIZE_MAX, 0), Qt::AlignLeft | Qt::AlignTop, shown)
              .height();
      // Centred in the label as the style centres it (the half truncated
      // toward zero).
      textTop = (r.height - textHeight) / 2;
      above = std::max(0, -textTop);
      below = std::max(0, textTop + textHeight - r.height);
    }
    const bool grown = left > 0 || above > 0 || below > 0;
    own_ = QRect(left, above, std::max(0, r.width), std::max(0, r.height));
    setGeometry(r.left - left, r.top - above, own_.width() + left, own_.height() + above + below);
    // A widget grown in height holds exactly the lines between its margins.
    if (above > 0 || below > 0) {
      setContentsMargins(left + indent, above + textTop, 0,
                         height() - (above + textTop) - textHeight);
    } else {
      setContentsMargins(left + indent, 0, 0, 0);
    }
    setAutoFillBackground(!grown && ToQColor(unit().BackColour()).isValid());
    update();
  }

  QRect own_;  // the label's own rectangle in the widget
};

class GroupBoxView final : public QGroupBox, public UnitView {
 public:
  GroupBoxView(ViewHost& b, Control& u, QWidget* parent)
      : QGroupBox(parent), UnitView(b, u, this) {}
  QWidget* Container(int) override { return this; }

 protected:
  void RefreshText() override { setTitle(ShownCaption(unit().Text())); }
  void RefreshColours() override { ApplyColours(QPalette::WindowText, QPalette::Window, true); }
};

class ButtonView final : public QPushButton, public UnitView {
 public:
  ButtonView(ViewHost& b, Control& u, QWidget* parent) : QPushButton(parent), UnitView(b, u, this) {
    setAutoDefault(false);
    ReportClicks(this, this);
  }

 protected:
  void RefreshText() override { setText(ShownCaption(unit().Text())); }
  void RefreshColours() override { ApplyColours(QPalette::ButtonText, QPalette::Button, false); }
};

// A flat text button: no frame until the mouse is over it.
class SuperButtonView final : public QToolButton, public UnitView {
 public:
  SuperButtonView(ViewHost& b, Control& u, QWidget* parent)
      : QToolButton(parent), UnitView(b, u, this) {
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    ReportClicks(this, this);
  }

 protected:
  void RefreshText() override { setText(ShownCaption(unit().Text())); }
  void RefreshColours() override { ApplyColours(QPalette::ButtonText, QPalette::Button, false); }
};

// The face of a picture button in a state that has no picture: plain bevels,
// lighter under the mouse, darker while pressed, grey when disabled.
void PaintPlainFace(QPainter& p, const QRect& r, bool enabled, bool hot, bool down) {
  QColor face(0xC8, 0xC8, 0xDC);
  if (!enabled) {
    face = QColor(0xD8, 0xD8, 0xD8);
  } else if (down) {
    face = face.darker(120);
  } else if (hot) {
    face = face.lighter(110);
  }
  p.fillRect(r, face);
  p.setPen(enabled ? QColor(0x60, 0x60, 0x80) : QColor(0xA0, 0xA0, 0xA0));
  p.drawRect(r.adjusted(0, 0, -1, -1));
}

class PictureButtonView final : public QAbstractButton, public UnitView {
 public:
  PictureButtonView(ViewHost& b, Control& u, QWidget* parent)
      : QAbstractButton(parent), UnitView(b, u, this) {
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::NoFocus);
    ReportClicks(this, this);
  }

 protected:
  void RefreshKind(Prop what) override {
    if (what != Prop::Images) return;
    const ImageSet& set = static_cast<PictureButton&>(unit()).Images();
    normal_ = backend_.Picture(set.normal);
    hot_ = backend_.Picture(set.hot);
    pressed_ = backend_.Picture(set.pressed);
    disabled_ = backend_.Picture(set.disabled);
    update();
  }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const bool hot = underMouse();
    const QPixmap* pix = &normal_;
    if (!isEnabled()) {
      if (!disabled_.isNull()) pix = &disabled_;
    } else if (isDown()) {
      if (!pressed_.isNull()) pix = &pressed_;
    } else if (hot && !hot_.isNull()) {
      pix = &hot_;
    }
    if (pix->isNull()) {
      PaintPlainFace(p, rect(), isEnabled(), hot, isDown());
    } else {
      p.drawPixmap(rect(), *pix);
    }
  }

 private:
  QPixmap normal_, hot_, pressed_, disabled_;
};

class PictureView final : public ClickableView<QWidget> {
 public:
  PictureView(ViewHost& b, Control& u, QWidget* parent) : ClickableView(b, u, parent) {}

 protected:
  void RefreshKind(Prop what) override {
    if (what != Prop::Images) return;
    pixmap_ = backend_.Picture(static_cast<Picture&>(unit()).GetImage());
    update();
  }
  void paintEvent(QPaintEvent*) override {
    if (pixmap_.isNull()) return;
    QPainter p(this);
    p.drawPixmap(0, 0, pixmap_);
  }

 private:
  QPixmap pixmap_;
};

// ---- Radio -------------------------------------------------------------

// Exclusivity lives in the model: Qt neither unchecks the other radios nor
// toggles this one. A click only reports; the model decides and the view
// shows what it decided.
class RadioView final : public QRadioButton, public UnitView {
 public:
  RadioView(ViewHost& b, Control& u, QWidget* parent) : QRadioButton(parent), UnitView(b, u, this) {
    setAutoExclusive(false);
    connect(this, &QRadioButton::clicked, this, [this] {
      if (!Live()) return;
      input::Click(unit());
      if (Live()) ShowChecked();
    });
  }

 protected:
  void nextCheckState() override {}
  void RefreshText() override { setText(ShownCaption(unit().Text())); }
  void RefreshColours() override { ApplyColours(QPalette::WindowText, QPalette::Window, true); }
  void RefreshKind(Prop what) override {
    if (what == Prop::Checked) ShowChecked();
  }

 private:
  void ShowChecked() { setChecked(static_cast<Radio&>(unit()).Checked()); }
};

}  // namespace

UnitView* NewButtonView(ViewHost& host, Control& unit, QWidget* parent) {
  switch (unit.kind()) {
    case Kind::Label:
      return new LabelView(host, unit, parent);
    case Kind::GroupBox:
      return new GroupBoxView(host, unit, parent);
    case Kind::Button:
      return new ButtonView(host, unit, parent);
    case Kind::PictureButton:
      return new PictureButtonView(host, unit, parent);
    case Kind::SuperButton:
      return new SuperButtonView(host, unit, parent);
    case Kind::Radio:
      return new RadioView(host, unit, parent);
    case Kind::Picture:
      return new PictureView(host, unit, parent);
    default:
      return nullptr;
  }
}

}  // namespace fw::qt
