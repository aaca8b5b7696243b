#include "framework/qt/unit_view.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaProperty>
#include <QMimeData>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "framework/form.h"
#include "framework/input.h"
#include "framework/qt/convert.h"
#include "framework/qt/text_index.h"
#include "framework/qt/view_kinds.h"
#include "framework/qt/view_util.h"

namespace fw::qt {

// ---- Helpers -----------------------------------------------------------

bool HasBinding(const Control& unit, Event event) {
  for (const Binding& b : unit.window().definition().bindings) {
    if (b.event == event && b.unit == unit.name()) return true;
  }
  return false;
}

bool IsDecoration(const Control& unit) {
  switch (unit.kind()) {
    case Kind::GroupBox:
      return true;
    case Kind::Label:
    case Kind::Picture:
      return !HasBinding(unit, Event::Clicked);
    default:
      return false;
  }
}

namespace {

// A caption as a label or button shows it: any line break as "\n".
QString ShownCaption(std::string_view gbk) {
  QString s = FromGbk(gbk);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

}  // namespace

// ---- UnitView ----------------------------------------------------------

UnitView::UnitView(ViewHost& backend, Control& unit, QWidget* widget)
    : backend_(backend), unit_(&unit), widget_(widget) {
  widget->setObjectName(Utf8Name(unit.name()));
}

UnitView::~UnitView() = default;

QWidget* UnitView::Container(int) {
  return nullptr;
}

void UnitView::Refresh(Prop what) {
  if (dead_) return;
  switch (what) {
    case Prop::Geometry:
      RefreshGeometry();
      break;
    case Prop::Visible:
      // A layered window shows only its frame.
      widget_->setVisible(unit_->Visible() && !unit_->window().Layered());
      break;
    case Prop::Disabled:
      RefreshDisabled();
      break;
    case Prop::Text:
      RefreshText();
      break;
    case Prop::Font:
      RefreshFont();
      break;
    case Prop::Colours:
      RefreshColours();
      break;
    default:
      RefreshKind(what);
      break;
  }
}

void UnitView::RefreshAll() {
  for (Prop p : {Prop::Geometry, Prop::Disabled, Prop::Font, Prop::Colours, Prop::Images,
                 Prop::Checked, Prop::Items, Prop::Current, Prop::Cells, Prop::Text, Prop::Format,
                 Prop::Selection, Prop::Visible}) {
    Refresh(p);
  }
}

void UnitView::RefreshGeometry() {
  const Rect r = unit_->Geometry();
  widget_->setGeometry(r.left, r.top, std::max(0, r.width), std::max(0, r.height));
}

void UnitView::RefreshDisabled() {
  widget_->setEnabled(!unit_->Disabled());
}

void UnitView::RefreshFont() {
  widget_->setFont(ToQFont(unit_->GetFont(), QApplication::font()));
}

QPalette UnitView::ColoursPalette(QPalette::ColorRole text, QPalette::ColorRole back) const {
  // Every role is set explicitly, so a unit never takes colours from the
  // group box it stands in: colours do not pass from unit to unit.
  const QPalette base = QApplication::palette(widget_);
  QPalette pal;
  for (int g = 0; g < QPalette::NColorGroups; ++g) {
    const auto group = static_cast<QPalette::ColorGroup>(g);
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
      const auto role = static_cast<QPalette::ColorRole>(r);
      pal.setBrush(group, role, base.brush(group, role));
    }
  }
  const QColor t = ToQColor(unit_->TextColour());
  if (t.isValid()) {
    pal.setColor(QPalette::Active, text, t);
    pal.setColor(QPalette::Inactive, text, t);
  }
  const QColor b = ToQColor(unit_->BackColour());
  if (b.isValid()) pal.setColor(back, b);
  return pal;
}

void UnitView::SetPalette(const QPalette& pal) {
  // Setting a palette makes the widget and its children polish and repaint
  // themselves: an unchanged one is left alone.
  if (widget_->testAttribute(Qt::WA_SetPalette) && widget_->palette() == pal) return;
  widget_->setPalette(pal);
}

void UnitView::ApplyColours(QPalette::ColorRole text, QPalette::ColorRole back, bool fill) {
  SetPalette(ColoursPalette(text, back));
  widget_->setAutoFillBackground(fill && ToQColor(unit_->BackColour()).isValid());
}

namespace {

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
  ButtonView(ViewHost& b, Control& u, QWidget* parent)
      : QPushButton(parent), UnitView(b, u, this) {
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
  RadioView(ViewHost& b, Control& u, QWidget* parent)
      : QRadioButton(parent), UnitView(b, u, this) {
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

// ---- Edit boxes --------------------------------------------------------

MouseButton ToButton(Qt::MouseButton b) {
  return b == Qt::RightButton ? MouseButton::Right : MouseButton::Left;
}

// What the single-line and the multi-line edit box share. A press goes to
// the model first; the box handles it only when it is still there and
// reachable, and likewise opens its context menu only when reachable. Text
// the user typed goes to the model, then the box shows the model again.
template <class Base>
class EditBoxView : public Base, public UnitView {
 public:
  EditBoxView(ViewHost& b, Control& u, QWidget* parent) : Base(parent), UnitView(b, u, this) {
    this->setReadOnly(edit().ReadOnly());
    this->setAcceptDrops(false);
  }

 protected:
  void RefreshText() override { Sync(); }
  void RefreshColours() override { ApplyColours(QPalette::Text, QPalette::Base, false); }
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton || e->button() == Qt::RightButton) {
      const QPoint pos = ToUnit(EventPos(e));
      if (Live()) input::MouseDown(edit(), ToButton(e->button()), pos.x(), pos.y());
      if (!Live() || !edit().Reachable()) {
        e->accept();
        return;
      }
    }
    Base::mousePressEvent(e);
  }
  void contextMenuEvent(QContextMenuEvent* e) override {
    if (!Live() || !edit().Reachable()) return;
    Base::contextMenuEvent(e);
  }

  Edit& edit() const { return static_cast<Edit&>(unit()); }
  // Brings the box to the model.
  virtual void Sync() = 0;
  // A point of a mouse event in the unit's coordinates.
  virtual QPoint ToUnit(const QPoint& p) const { return p; }
};

// A single line is short: the user's edit reaches the model as the whole
// new text.
class LineEditView final : public EditBoxView<QLineEdit> {
 public:
  LineEditView(ViewHost& b, Control& u, QWidget* parent) : EditBoxView(b, u, parent) {
    setDragEnabled(false);
    // textEdited is the user-only signal: setText never emits it.
    connect(this, &QLineEdit::textEdited, this, [this](const QString&) { UserEdited(); });
  }

 protected:
  void Sync() override {
    const std::string now = edit().Text();
    if (now != mirror_.model()) {
      mirror_.Reset(now);
    } else if (text() == mirror_.shown()) {
      return;
    }
    setText(mirror_.shown());
  }

 private:
  void UserEdited() {
    if (!Live()) return;
    const std::string gbk = mirror_.Update(text());
    input::EditText(edit(), gbk);
    if (Live()) Sync();
  }

  TextMirror mirror_{false};
};

// A disabled multi-line box still scrolls, by wheel and scroll bar, so that
// a locked script can be read to its end; it takes no focus, no typing, no
// pasting and no selection, and it looks disabled.
//
// The box follows the model by what changed, both ways, so that typing into
// a long script costs what the keystroke changed: the document reports each
// user edit (contentsChange, then textChanged), which reaches the model as
// a splice (input::ReplaceText); a change of the model reaches the box from
// the model's last splice, and the box is rewritten only when what it shows
// differs from the model's text there.
class TextEditView final : public EditBoxView<QPlainTextEdit> {
 public:
  TextEditView(ViewHost& b, Control& u, QWidget* parent)
      : EditBoxView(b, u, parent), focusPolicy_(focusPolicy()) {
    viewport()->setAcceptDrops(false);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Both signals also come from program writes; those happen only inside
    // Show, under the guard.
    connect(document(), &QTextDocument::contentsChange, this, [this](int at, int removed, int added) {
      if (!writing_) Note({at, removed, added});
    });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
      if (!writing_) UserEdited();
    });
  }

 protected:
  void RefreshFont() override {
    UnitView::RefreshFont();
    setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * 8);
  }
  void RefreshDisabled() override { ShowLock(); }
  void RefreshColours() override { ShowLock(); }
  // The wheel scrolls; it never zooms the text (Qt zooms a read-only box
  // with Ctrl held), since the font is the model's.
  void wheelEvent(QWheelEvent* e) override {
    if (e->modifiers() & Qt::ControlModifier) {
      QWheelEvent plain(e->position(), e->globalPosition(), e->pixelDelta(), e->angleDelta(),
                        e->buttons(), e->modifiers() & ~Qt::ControlModifier, e->phase(),
                        e->inverted(), e->source());
      QPlainTextEdit::wheelEvent(&plain);
      e->setAccepted(plain.isAccepted());
      return;
    }
    QPlainTextEdit::wheelEvent(e);
  }
  // Mouse events arrive in the viewport's coordinates.
  QPoint ToUnit(const QPoint& p) const override { return viewport()->mapToParent(p); }
  // The box is rewritten only when what it shows differs from the model's
  // text; a model that changed only the kind of a line break (the user's
  // text stored with CR LF) keeps the caret and the scroll position.
  void Sync() override {
    const Edit::Splice& last = edit().LastSplice();
    if (last.version == version_) return;
    const TwoParts text = edit().TextParts();
    std::optional<TextIndex::ShownPart> part;
    if (version_ && last.version == *version_ + 1)
      part = index_.Splice(text, last.offset, last.removed, last.inserted);
    version_ = last.version;
    if (part) {
      if (!Shows(*part)) Show(TextIndex::Shown(text));
      return;
    }
    index_.Reset(text);
    part = TextIndex::ShownPart{0, TextIndex::Shown(text)};
    if (!Shows(*part)) Show(part->text);
  }

 private:
  // A change the document reported, which the model takes at the
  // textChanged that follows.
  void Note(TextIndex::BoxChange change) {
    pending_ = change;
    ++reports_;
  }
  // The user changed the document: the model takes the change, from the
  // one report of it where that fits the text the box showed, else (no
  // report, or more than one) from the whole document as the mirror reads
  // it.
  void UserEdited() {
    if (!Live()) return;
    const bool reported = std::exchange(reports_, 0) == 1;
    std::optional<TextIndex::ModelChange> splice;
    if (reported && version_ == edit().LastSplice().version)
      splice = index_.UserChange(edit().TextParts(), pending_, *document());
    bool taken = false;
    if (splice) {
      taken = input::ReplaceText(edit(), splice->offset, splice->removed, splice->inserted);
    } else {
      TextMirror whole(true);
      whole.Reset(edit().TextRef());
      taken = input::EditText(edit(), whole.Update(document()->toRawText()));
    }
    if (!Live()) return;
    if (!taken) version_.reset();  // refused: the box shows the model again
    Sync();
  }
  // Whether the document shows `part` where the index puts it, and is as
  // long as the model's text shows.
  bool Shows(const TextIndex::ShownPart& part) const {
    const QTextDocument& doc = *document();
    return doc.characterCount() - 1 == index_.ShownLength() &&
           TextIndex::ShownText(doc, part.at, static_cast<int>(part.text.size())) == part.text;
  }
  void Show(const QString& shown) {
    writing_ = true;
    setPlainText(shown);
    writing_ = false;
  }
  // The widget itself stays enabled, so its scroll bars and the wheel keep
  // working; the lock takes away focus and every text interaction. What the
  // lock shows depends only on the model's state and the application's
  // palette: when none of them changed since it was last shown (a handler
  // that unlocks and locks again), nothing is set again.
  void ShowLock() {
    const bool locked = edit().Disabled();
    const LockState state{locked, edit().ReadOnly(), edit().TextColour(), edit().BackColour(),
                          QApplication::palette(this).cacheKey()};
    if (state == shownLock_) return;
    shownLock_ = state;
    QPalette pal = ColoursPalette(QPalette::Text, QPalette::Base);
    if (locked) {
      for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Text, pal.color(QPalette::Disabled, QPalette::Text));
        pal.setColor(group, QPalette::Base, pal.color(QPalette::Disabled, QPalette::Window));
      }
    }
    SetPalette(pal);
    setReadOnly(locked || edit().ReadOnly());
    if (locked) {
      setTextInteractionFlags(Qt::NoTextInteraction);
      clearFocus();
    }
    setFocusPolicy(locked ? Qt::NoFocus : focusPolicy_);
    viewport()->setCursor(locked ? Qt::ArrowCursor : Qt::IBeamCursor);
  }

  struct LockState {
    bool locked = false;
    bool readOnly = false;
    Colour text = kDefaultColour;
    Colour back = kDefaultColour;
    qint64 palette = 0;  // cache key of the application's palette
    friend bool operator==(const LockState&, const LockState&) = default;
  };

  bool writing_ = false;
  Qt::FocusPolicy focusPolicy_;
  std::optional<LockState> shownLock_;
  TextIndex index_;
  // The model's text version the index holds; empty before the first.
  std::optional<std::uint64_t> version_;
  TextIndex::BoxChange pending_;
  int reports_ = 0;  // changes reported since the last textChanged
};

// ---- Combo -------------------------------------------------------------

class ComboView final : public QComboBox, public UnitView {
 public:
  ComboView(ViewHost& b, Control& u, QWidget* parent) : QComboBox(parent), UnitView(b, u, this) {
    setEditable(false);
    // activated is the user-only signal (currentIndexChanged also fires
    // when the program selects or fills the list).
    connect(this, &QComboBox::activated, this, [this](int index) {
      if (!Live()) return;
      input::ChooseItem(combo(), index);
      if (Live()) ShowCurrent();
    });
  }

 protected:
  void RefreshColours() override { ApplyColours(QPalette::ButtonText, QPalette::Button, false); }
  void RefreshKind(Prop what) override {
    if (what == Prop::Items) {
      ShowItems();
      ShowCurrent();
    } else if (what == Prop::Current) {
      ShowCurrent();
    }
  }

 private:
  Combo& combo() const { return static_cast<Combo&>(unit()); }
  // Workers add items one at a time: items already shown stay, new ones
  // are appended; any other change rebuilds the list.
  void ShowItems() {
    const int n = combo().Count();
    bool keep = static_cast<int>(items_.size()) <= n;
    for (std::size_t i = 0; keep && i < items_.size(); ++i) {
      keep = items_[i] == combo().ItemText(static_cast<int>(i));
    }
    if (!keep) {
      clear();
      items_.clear();
    }
    for (int i = static_cast<int>(items_.size()); i < n; ++i) {
      items_.push_back(combo().ItemText(i));
      addItem(FromGbk(items_.back()));
    }
  }
  void ShowCurrent() { setCurrentIndex(combo().Current()); }

  std::vector<std::string> items_;
};

// ---- Tabs --------------------------------------------------------------

// Tab captions with the narrow margins of the platform's tab controls, so
// that the tabs of a narrow control fit in it instead of hiding behind
// scroll arrows. One style, made on first use, serves every tab bar.
class CompactTabStyle final : public QProxyStyle {
 public:
  static QStyle* Instance() {
    static QStyle* style = [] {
      auto* s = new CompactTabStyle;
      s->setParent(qApp);
      return s;
    }();
    return style;
  }
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_TabBarTabHSpace) return 6;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

// A tab control whose pages cover the whole control, so that the units on
// a page are placed relative to the tab control, tab strip included. The
// strip lies above the pages, the frame below them.
class TabsView final : public QWidget, public UnitView {
 public:
  TabsView(ViewHost& b, Control& u, QWidget* parent) : QWidget(parent), UnitView(b, u, this) {
    pane_ = new QFrame(this);
    pane_->setFrameShape(QFrame::StyledPanel);
    bar_ = new QTabBar(this);
    bar_->setStyle(CompactTabStyle::Instance());
    bar_->setDrawBase(false);
    for (int i = 0; i < tabs().Count(); ++i) {
      bar_->addTab(FromGbk(tabs().Caption(i)));
      auto* page = new QWidget(this);
      page->setObjectName(QStringLiteral("page%1").arg(i));
      pages_.push_back(page);
    }
    pane_->lower();
    bar_->raise();
    connection_ = connect(bar_, &QTabBar::currentChanged, this, [this](int index) {
      if (writing_ || !Live()) return;
      input::ChooseTab(tabs(), index);
      if (Live()) ShowCurrent();
    });
  }
  ~TabsView() override { disconnect(connection_); }

  QWidget* Container(int page) override {
    if (page >= 0 && page < static_cast<int>(pages_.size()))
      return pages_[static_cast<std::size_t>(page)];
    return this;
  }

 protected:
  void RefreshText() override {
    for (int i = 0; i < bar_->count(); ++i) bar_->setTabText(i, FromGbk(tabs().Caption(i)));
  }
  void RefreshFont() override {
    UnitView::RefreshFont();
    Layout();
  }
  void RefreshKind(Prop what) override {
    if (what == Prop::Current) ShowCurrent();
  }
  void resizeEvent(QResizeEvent*) override { Layout(); }

 private:
  Tabs& tabs() const { return static_cast<Tabs&>(unit()); }
  void Layout() {
    const int h = bar_->sizeHint().height();
    bar_->setGeometry(0, 0, width(), h);
    pane_->setGeometry(0, h - 1, width(), std::max(0, height() - h + 1));
    for (QWidget* page : pages_) page->setGeometry(rect());
  }
  void ShowCurrent() {
    const int current = tabs().Current();
    writing_ = true;
    if (current >= 0) bar_->setCurrentIndex(current);
    writing_ = false;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      pages_[i]->setVisible(static_cast<int>(i) == current);
    }
  }

  QTabBar* bar_ = nullptr;
  QFrame* pane_ = nullptr;
  std::vector<QWidget*> pages_;
  QMetaObject::Connection connection_;
  bool writing_ = false;
};

// ---- Rich edit ---------------------------------------------------------

QTextCharFormat ToCharFormat(const CharFormat& f, const QFont& base) {
  Font font;
  font.face = f.face;
  font.size = f.points;
  font.bold = f.bold;
  font.italic = f.italic;
  font.underline = f.underline;
  font.strikeOut = f.strikeOut;
  QTextCharFormat cf;
  cf.setFont(ToQFont(font, base));
  if (f.offsetPoints > 0) {
    cf.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
  } else if (f.offsetPoints < 0) {
    cf.setVerticalAlignment(QTextCharFormat::AlignSubScript);
  }
  const QColor c = ToQColor(f.colour);
  if (c.isValid()) cf.setForeground(c);
  return cf;
}

// Positions of the model and of the document agree: one document position
// per GBK character and per line break. The user selects and clicks; the
// text itself changes only through the program.
//
// The view remembers what its document holds (text and model format per
// position) and rewrites only the part between the unchanged beginning and
// end, in one edit block: the document lays out only the paragraphs that
// changed, and keeps its formats, instead of being emptied and built again
// at every write (the description box is rewritten at every level page).
class RichEditView final : public QTextEdit, public UnitView {
 public:
  RichEditView(ViewHost& b, Control& u, QWidget* parent)
      : QTextEdit(parent), UnitView(b, u, this) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    setUndoRedoEnabled(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }

 protected:
  void RefreshText() override { Rebuild(); }
  void RefreshFont() override {
    UnitView::RefreshFont();
    // The Qt formats are built over the box's font: all of them anew.
    formats_.clear();
    qtFormats_.clear();
    held_.reset();
    Rebuild();
  }
  void RefreshColours() override { ApplyColours(QPalette::Text, QPalette::Base, false); }
  void RefreshKind(Prop what) override {
    if (what == Prop::Format) {
      Rebuild();
    } else if (what == Prop::Selection) {
      ShowSelection();
    }
  }
  // A box of about one line (a legend) shows its line whole: no frame, no
  // margin, no scroll bar.
  void resizeEvent(QResizeEvent* e) override {
    const bool oneLine = height() < 2 * fontMetrics().lineSpacing() + 8;
    setVerticalScrollBarPolicy(oneLine ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    setFrameShape(oneLine ? QFrame::NoFrame : QFrame::StyledPanel);
    margin_ = oneLine ? 0 : 2;
    document()->setDocumentMargin(margin_);
    QTextEdit::resizeEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    QTextEdit::mouseReleaseEvent(e);
    if (!Live() || e->button() != Qt::LeftButton) return;
    const QTextCursor c = textCursor();
    if (c.hasSelection()) {
      input::SelectRichEdit(box(), c.selectionStart(), c.selectionEnd() - c.selectionStart());
    } else {
      input::ClickRichEdit(box(), c.position());
    }
    if (Live()) ShowSelection();
  }

 private:
  // The text of a document ("\n" for each paragraph break) and, for each of
  // its positions, the index in formats_ of the model format it shows.
  struct Content {
    QString text;
    std::vector<std::uint32_t> formats;
  };
  // More distinct formats than this since the last font change: the cache
  // starts again, with a full rewrite.
  static constexpr std::size_t kMaxFormats = 4096;

  RichEdit& box() const { return static_cast<RichEdit&>(unit()); }

  std::uint32_t FormatIndex(const CharFormat& f) {
    for (std::size_t i = 0; i < formats_.size(); ++i) {
      if (formats_[i] == f) return static_cast<std::uint32_t>(i);
    }
    formats_.push_back(f);
    qtFormats_.push_back(ToCharFormat(f, font()));
    return static_cast<std::uint32_t>(formats_.size() - 1);
  }

  // The model's text and formats as the document is to hold them.
  Content Wanted() {
    const RichEdit& b = box();
    const std::string text = b.Text();
    const std::vector<GbkChar> chars = SplitGbk(text);
    TextMirror mirror(true);
    const QString& shown = mirror.Reset(text);
    const bool oneToOne = shown.size() == static_cast<qsizetype>(chars.size());
    Content c;
    if (oneToOne) {
      c.text = shown;
    } else {
      c.text.reserve(static_cast<qsizetype>(chars.size()));
    }
    c.formats.reserve(chars.size());
    std::optional<CharFormat> last;
    std::uint32_t index = 0;
    for (std::size_t i = 0; i < chars.size(); ++i) {
      CharFormat f = b.FormatAt(static_cast<int>(i));
      if (!last || f != *last) {
        index = FormatIndex(f);
        last = std::move(f);
      }
      qsizetype units = 1;
      if (!oneToOne) {
        const qsizetype before = c.text.size();
        if (chars[i].lineBreak) {
          c.text.append(QLatin1Char('\n'));
        } else {
          c.text.append(FromGbk(std::string_view(text).substr(
              static_cast<std::size_t>(chars[i].offset), static_cast<std::size_t>(chars[i].length))));
        }
        units = c.text.size() - before;
      }
      c.formats.insert(c.formats.end(), static_cast<std::size_t>(units), index);
    }
    return c;
  }

  void Rebuild() {
    if (formats_.size() > kMaxFormats) {
      formats_.clear();
      qtFormats_.clear();
      held_.reset();
    }
    Content want = Wanted();
    QTextDocument* doc = document();
    doc->setDocumentMargin(margin_);
    if (doc->defaultFont() != font()) doc->setDefaultFont(font());
    // What the document holds, unless something other than this view
    // changed it: then all of it is rewritten.
    const qsizetype held = doc->characterCount() - 1;
    if (held_ && held_->text.size() != held) held_.reset();
    qsizetype first = 0;
    qsizetype heldEnd = held;
    qsizetype wantEnd = want.text.size();
    if (held_) {
      const Content& h = *held_;
      const qsizetype common = std::min(h.text.size(), want.text.size());
      auto same = [&](qsizetype a, qsizetype b) {
        return h.text[a] == want.text[b] &&
               h.formats[static_cast<std::size_t>(a)] == want.formats[static_cast<std::size_t>(b)];
      };
      while (first < common && same(first, first)) ++first;
      while (heldEnd > first && wantEnd > first && same(heldEnd - 1, wantEnd - 1)) {
        --heldEnd;
        --wantEnd;
      }
    }
    const bool changed = first < heldEnd || first < wantEnd;
    if (changed) {
      QTextCursor cursor(doc);
      // One edit block: the document is laid out once, not once per run.
      cursor.beginEditBlock();
      cursor.setPosition(static_cast<int>(first));
      cursor.setPosition(static_cast<int>(heldEnd), QTextCursor::KeepAnchor);
      if (cursor.hasSelection()) cursor.removeSelectedText();
      for (qsizetype i = first; i < wantEnd;) {
        const std::uint32_t f = want.formats[static_cast<std::size_t>(i)];
        qsizetype j = i + 1;
        while (j < wantEnd && want.formats[static_cast<std::size_t>(j)] == f) ++j;
        cursor.insertText(want.text.mid(i, j - i), qtFormats_[f]);
        i = j;
      }
      cursor.endEditBlock();
    }
    held_ = std::move(want);
    ShowSelection();
  }
  // The caret or selection of the model, scrolled into view. A cursor that
  // stands there already is not set again (setting it makes the box update
  // its formats, selection and accessibility state).
  void ShowSelection() {
    const RichEdit& b = box();
    const int last = std::max(0, document()->characterCount() - 1);
    const int start = std::clamp(b.SelStart(), 0, last);
    const int end = std::clamp(start + std::max(0, b.SelLength()), start, last);
    const QTextCursor now = textCursor();
    if (now.anchor() == start && now.position() == end) {
      ensureCursorVisible();
      return;
    }
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(c);
  }

  int margin_ = 2;
  std::vector<CharFormat> formats_;
  std::vector<QTextCharFormat> qtFormats_;  // formats_ over the box's font
  std::optional<Content> held_;             // what the document holds
};

}  // namespace

UnitView* CreateUnitView(ViewHost& backend, Control& unit, QWidget* parent) {
  switch (unit.kind()) {
    case Kind::Label:
      return new LabelView(backend, unit, parent);
    case Kind::GroupBox:
      return new GroupBoxView(backend, unit, parent);
    case Kind::Edit:
      if (static_cast<Edit&>(unit).Multiline()) return new TextEditView(backend, unit, parent);
      return new LineEditView(backend, unit, parent);
    case Kind::Button:
      return new ButtonView(backend, unit, parent);
    case Kind::PictureButton:
      return new PictureButtonView(backend, unit, parent);
    case Kind::SuperButton:
      return new SuperButtonView(backend, unit, parent);
    case Kind::Radio:
      return new RadioView(backend, unit, parent);
    case Kind::Combo:
      return new ComboView(backend, unit, parent);
    case Kind::Tabs:
      return new TabsView(backend, unit, parent);
    case Kind::Grid:
      return NewGridView(backend, unit, parent);
    case Kind::RichEdit:
      return new RichEditView(backend, unit, parent);
    case Kind::Picture:
      return new PictureView(backend, unit, parent);
    case Kind::Timer:
    case Kind::DropTarget:
      return nullptr;
  }
  return nullptr;
}

}  // namespace fw::qt
