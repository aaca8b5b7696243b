// Definitions for form.h.
#include "framework/form.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace fw {

namespace detail {

std::string KindName(Kind k) {
  switch (k) {
    case Kind::Label:
      return "label";
    case Kind::GroupBox:
      return "group box";
    case Kind::Edit:
      return "edit box";
    case Kind::Button:
      return "button";
    case Kind::PictureButton:
      return "picture button";
    case Kind::SuperButton:
      return "super button";
    case Kind::Radio:
      return "radio box";
    case Kind::Combo:
      return "combo box";
    case Kind::Tabs:
      return "tab control";
    case Kind::Timer:
      return "timer";
    case Kind::Grid:
      return "grid";
    case Kind::RichEdit:
      return "rich edit box";
    case Kind::DropTarget:
      return "drop target";
    case Kind::Picture:
      return "picture";
  }
  return "unit";
}

}  // namespace detail

namespace {

using detail::KindName;

std::string EventName(Event e) {
  switch (e) {
    case Event::Created:
      return "Created";
    case Event::Destroying:
      return "Destroying";
    case Event::Moved:
      return "Moved";
    case Event::CloseRequested:
      return "CloseRequested";
    case Event::Clicked:
      return "Clicked";
    case Event::TextChanged:
      return "TextChanged";
    case Event::LeftButtonDown:
      return "LeftButtonDown";
    case Event::RightButtonDown:
      return "RightButtonDown";
    case Event::LeftButtonUp:
      return "LeftButtonUp";
    case Event::SelectionChanged:
      return "SelectionChanged";
    case Event::TabChanged:
      return "TabChanged";
    case Event::Tick:
      return "Tick";
    case Event::CellEvent:
      return "CellEvent";
    case Event::FilesDropped:
      return "FilesDropped";
  }
  return "event";
}

bool WindowRaises(Event e) {
  return e == Event::Created || e == Event::Destroying || e == Event::Moved ||
         e == Event::CloseRequested;
}

bool KindRaises(Kind k, Event e) {
  switch (k) {
    case Kind::Edit:
      return e == Event::TextChanged || e == Event::LeftButtonDown || e == Event::RightButtonDown;
    case Kind::Button:
    case Kind::PictureButton:
    case Kind::SuperButton:
    case Kind::Radio:
    case Kind::Label:
    case Kind::Picture:
      return e == Event::Clicked;
    case Kind::Combo:
      return e == Event::SelectionChanged;
    case Kind::Tabs:
      return e == Event::TabChanged;
    case Kind::Timer:
      return e == Event::Tick;
    case Kind::Grid:
      return e == Event::CellEvent;
    case Kind::RichEdit:
      return e == Event::LeftButtonUp;
    case Kind::DropTarget:
      return e == Event::FilesDropped;
    case Kind::GroupBox:
      return false;
  }
  return false;
}

std::string Quoted(std::string_view s) {
  return "\"" + std::string(s) + "\"";
}

}  // namespace

std::vector<std::string> ValidateForm(const WindowDef& def) {
  std::vector<std::string> problems;
  const std::string where = "form " + Quoted(def.name) + ": ";
  auto report = [&](std::string text) { problems.push_back(where + std::move(text)); };

  if (def.name.empty()) report("the window has no name");
  if (def.width < 0 || def.height < 0) report("negative window size");

  std::map<std::string_view, const UnitDef*> units;
  for (const UnitDef& u : def.units) {
    if (u.name.empty()) {
      report("a " + KindName(u.kind) + " has no name");
      continue;
    }
    if (!units.emplace(u.name, &u).second) report("unit " + Quoted(u.name) + " defined twice");
  }

  for (const UnitDef& u : def.units) {
    if (u.name.empty()) continue;
    const std::string unit = "unit " + Quoted(u.name) + ": ";
    if (u.kind == Kind::Grid && u.columns < 1) report(unit + "a grid needs at least one column");
    if (u.kind == Kind::Timer && u.period < 0) report(unit + "negative timer period");
    if (u.parent.empty()) {
      if (u.page != -1) report(unit + "a tab page without a tab control");
      continue;
    }
    auto it = units.find(u.parent);
    if (it == units.end()) {
      report(unit + "parent " + Quoted(u.parent) + " does not exist");
      continue;
    }
    const UnitDef& parent = *it->second;
    if (parent.kind == Kind::Tabs) {
      if (u.page < 0 || u.page >= static_cast<int>(parent.tabs.size()))
        report(unit + "page " + std::to_string(u.page) + " is not a page of " + Quoted(u.parent));
    } else if (parent.kind == Kind::GroupBox) {
      if (u.page != -1) report(unit + "a tab page inside group box " + Quoted(u.parent));
    } else {
      report(unit + "parent " + Quoted(u.parent) + " is a " + KindName(parent.kind) +
             ", not a group box or tab control");
    }
  }

  // A chain of parents that comes back to a unit would make every walk up
  // the chain endless. Each cycle is reported once.
  std::set<std::string_view> inReportedCycle;
  for (const UnitDef& u : def.units) {
    std::vector<std::string_view> chain{u.name};
    const UnitDef* at = &u;
    while (!at->parent.empty()) {
      auto it = units.find(at->parent);
      if (it == units.end()) break;
      at = it->second;
      auto again = std::find(chain.begin(), chain.end(), at->name);
      if (again != chain.end()) {
        if (!inReportedCycle.count(at->name)) {
          report("unit " + Quoted(at->name) + ": its parents form a cycle");
          inReportedCycle.insert(again, chain.end());
        }
        break;
      }
      chain.push_back(at->name);
    }
  }

  std::set<std::pair<std::string_view, Event>> bound;
  for (const Binding& b : def.bindings) {
    const std::string what = "binding " + Quoted(b.unit) + " " + EventName(b.event) + ": ";
    if (b.unit.empty()) {
      if (!WindowRaises(b.event)) report(what + "a window does not raise this event");
    } else {
      auto it = units.find(b.unit);
      if (it == units.end()) {
        report(what + "no such unit");
        continue;
      }
      if (!KindRaises(it->second->kind, b.event))
        report(what + "a " + KindName(it->second->kind) + " does not raise this event");
    }
    if (b.event == Event::FilesDropped) {
      if (b.filesHandler == nullptr)
        report(what + (b.handler ? "needs a handler taking the paths" : "no handler"));
    } else if (b.handler == nullptr) {
      report(what + (b.filesHandler ? "takes a handler without arguments" : "no handler"));
    }
    if (!bound.emplace(b.unit, b.event).second) report(what + "bound twice");
  }
  if (def.flags.userMayClose && !bound.count({std::string_view(), Event::CloseRequested}))
    report("the user may close the window, but no handler is bound to CloseRequested");

  for (const auto& [key, list] :
       {std::pair{"Enter", &def.enterUnits}, std::pair{"Escape", &def.escapeUnits}}) {
    for (std::string_view name : *list) {
      const std::string what = std::string(key) + " key unit " + Quoted(name) + ": ";
      auto it = units.find(name);
      if (it == units.end()) {
        report(what + "no such unit");
      } else if (it->second->kind != Kind::Button && it->second->kind != Kind::PictureButton &&
                 it->second->kind != Kind::SuperButton) {
        report(what + "a " + KindName(it->second->kind) + " is not a button");
      }
    }
  }
  return problems;
}

}  // namespace fw
