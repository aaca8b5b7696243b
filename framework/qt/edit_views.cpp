// The views of edit boxes, single- and multi-line, and of the rich edit.
#include "framework/qt/view_kinds.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/input.h"
#include "framework/qt/convert.h"
#include "framework/qt/text_index.h"
#include "framework/qt/view_util.h"

namespace fw::qt {

namespace {

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
    bool replaced = false;
    const std::string gbk = mirror_.Update(text(), &replaced);
    // Shown anew with "?" for what GBK cannot hold, the line keeps the caret
    // where the user's edit left it: all the edit changed lies before it.
    const int fromEnd = static_cast<int>(text().size()) - cursorPosition();
    const bool taken = input::EditText(edit(), gbk, replaced);
    if (!Live()) return;
    Sync();
    if (taken && replaced) setCursorPosition(static_cast<int>(text().size()) - fromEnd);
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
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int at, int removed, int added) {
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
    // Only what the user's edit brought in is converted to GBK, so that is
    // all that is told of characters GBK cannot hold.
    bool replaced = false;
    std::optional<TextMirror> whole;
    if (splice) {
      replaced = splice->replaced;
    } else {
      whole.emplace(true);
      whole->Reset(edit().TextRef());
      whole->Update(document()->toRawText(), &replaced);
    }
    // The model's "?" will be shown anew, from the model.
    const std::optional<Caret> caret = replaced ? std::optional(CaretNow()) : std::nullopt;
    const bool taken = splice ? input::ReplaceText(edit(), splice->offset, splice->removed,
                                                   splice->inserted, replaced)
                              : input::EditText(edit(), whole->model(), replaced);
    if (!Live()) return;
    if (!taken) version_.reset();  // refused: the box shows the model again
    Sync();
    if (taken && caret) PutBack(*caret);
  }
  // Where the caret stands, counted from the end of the text, and how far
  // the box is scrolled.
  struct Caret {
    int fromEnd = 0;
    int scroll = 0;
  };
  Caret CaretNow() const {
    return {document()->characterCount() - textCursor().position(), verticalScrollBar()->value()};
  }
  // The model took "?" for characters GBK cannot hold that the box showed
  // as they are, and the box shows the model anew: the caret and the
  // scroll position go back where the user's edit left them, instead of to
  // the start. All the edit changed lies before the caret, so what follows
  // it is as long as it was.
  void PutBack(const Caret& caret) {
    const int end = document()->characterCount() - 1;
    QTextCursor c(document());
    c.setPosition(std::clamp(end + 1 - caret.fromEnd, 0, end));
    setTextCursor(c);
    verticalScrollBar()->setValue(caret.scroll);
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
  RichEditView(ViewHost& b, Control& u, QWidget* parent) : QTextEdit(parent), UnitView(b, u, this) {
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
          c.text.append(
              FromGbk(std::string_view(text).substr(static_cast<std::size_t>(chars[i].offset),
                                                    static_cast<std::size_t>(chars[i].length))));
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

UnitView* NewEditView(ViewHost& host, Control& unit, QWidget* parent) {
  switch (unit.kind()) {
    case Kind::Edit:
      if (static_cast<Edit&>(unit).Multiline()) return new TextEditView(host, unit, parent);
      return new LineEditView(host, unit, parent);
    case Kind::RichEdit:
      return new RichEditView(host, unit, parent);
    default:
      return nullptr;
  }
}

}  // namespace fw::qt
