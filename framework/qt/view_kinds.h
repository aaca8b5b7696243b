// The views of the kinds of unit, each group of kinds in its own file;
// CreateUnitView (unit_view.h) makes the one of a unit's kind.
#pragma once

#include <QWidget>

#include "framework/qt/unit_view.h"
#include "framework/qt/view_host.h"
#include "framework/unit.h"

namespace fw::qt {

// Grids (grid_view.cpp).
UnitView* NewGridView(ViewHost& host, Control& unit, QWidget* parent);

// Edit boxes and the rich edit (edit_views.cpp).
UnitView* NewLineEditView(ViewHost& host, Control& unit, QWidget* parent);
UnitView* NewTextEditView(ViewHost& host, Control& unit, QWidget* parent);
UnitView* NewRichEditView(ViewHost& host, Control& unit, QWidget* parent);

// Combo boxes and tab controls (list_views.cpp).
UnitView* NewComboView(ViewHost& host, Control& unit, QWidget* parent);
UnitView* NewTabsView(ViewHost& host, Control& unit, QWidget* parent);

// Labels, group boxes, buttons, pictures and radio boxes (button_views.cpp).
UnitView* NewLabelView(ViewHost& host, Control& unit, QWidget* parent);
UnitView* NewGroupBoxView(ViewHost& host, Control& unit, QWidget* parent);
UnitView* NewButtonView(ViewHost& host, Control& unit, QWidget* parent);
UnitView* NewPictureButtonView(ViewHost& host, Control& unit, QWidget* parent);
UnitView* NewSuperButtonView(ViewHost& host, Control& unit, QWidget* parent);
UnitView* NewRadioView(ViewHost& host, Control& unit, QWidget* parent);
UnitView* NewPictureView(ViewHost& host, Control& unit, QWidget* parent);

}  // namespace fw::qt
