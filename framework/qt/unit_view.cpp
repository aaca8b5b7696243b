#include "framework/qt/unit_view.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

#include "framework/form.h"
#include "framework/qt/convert.h"
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

UnitView* CreateUnitView(ViewHost& backend, Control& unit, QWidget* parent) {
  switch (unit.kind()) {
    case Kind::Label:
    case Kind::GroupBox:
    case Kind::Button:
    case Kind::PictureButton:
    case Kind::SuperButton:
    case Kind::Radio:
    case Kind::Picture:
      return NewButtonView(backend, unit, parent);
    case Kind::Edit:
    case Kind::RichEdit:
      return NewEditView(backend, unit, parent);
    case Kind::Combo:
    case Kind::Tabs:
      return NewListView(backend, unit, parent);
    case Kind::Grid:
      return NewGridView(backend, unit, parent);
    case Kind::Timer:
    case Kind::DropTarget:
      return nullptr;
  }
  return nullptr;
}

}  // namespace fw::qt
