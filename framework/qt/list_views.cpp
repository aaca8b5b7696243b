// The views of the units that offer a list to choose from: combo boxes
// and tab controls.
#include "framework/qt/view_kinds.h"

#include <QApplication>
#include <QComboBox>
#include <QProxyStyle>
#include <QStyle>
#include <QTabBar>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "framework/input.h"
#include "framework/qt/convert.h"

namespace fw::qt {

namespace {

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

}  // namespace

UnitView* NewListView(ViewHost& host, Control& unit, QWidget* parent) {
  switch (unit.kind()) {
    case Kind::Combo:
      return new ComboView(host, unit, parent);
    case Kind::Tabs:
      return new TabsView(host, unit, parent);
    default:
      return nullptr;
  }
}

}  // namespace fw::qt
