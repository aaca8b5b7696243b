// The views of the kinds of unit, each group of kinds in its own file;
// CreateUnitView (unit_view.h) makes the one of a unit's kind. Each maker
// gives nullptr for a kind that is not its own.
#pragma once

#include <QWidget>

#include "framework/qt/unit_view.h"
#include "framework/qt/view_host.h"
#include "framework/unit.h"

namespace fw::qt {

// Labels, group boxes, buttons, pictures and radio boxes (button_views.cpp).
UnitView* NewButtonView(ViewHost& host, Control& unit, QWidget* parent);
// Edit boxes and the rich edit (edit_views.cpp).
UnitView* NewEditView(ViewHost& host, Control& unit, QWidget* parent);
// Combo boxes and tab controls (list_views.cpp).
UnitView* NewListView(ViewHost& host, Control& unit, QWidget* parent);
// Grids (grid_view.cpp).
UnitView* NewGridView(ViewHost& host, Control& unit, QWidget* parent);

}  // namespace fw::qt
