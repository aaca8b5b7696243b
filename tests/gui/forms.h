// Small forms for the GUI tests and the handlers that log what they see.
#pragma once

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

#include "framework/form.h"
#include "framework/runtime.h"
#include "gui_fixture.h"

namespace gui_test {

inline const char* EventName(fw::Event e) {
  switch (e) {
    case fw::Event::Created:
      return "Created";
    case fw::Event::Destroying:
      return "Destroying";
    case fw::Event::Moved:
      return "Moved";
    case fw::Event::CloseRequested:
      return "CloseRequested";
    case fw::Event::Clicked:
      return "Clicked";
    case fw::Event::TextChanged:
      return "TextChanged";
    case fw::Event::LeftButtonDown:
      return "LeftButtonDown";
    case fw::Event::RightButtonDown:
      return "RightButtonDown";
    case fw::Event::LeftButtonUp:
      return "LeftButtonUp";
    case fw::Event::SelectionChanged:
      return "SelectionChanged";
    case fw::Event::TabChanged:
      return "TabChanged";
    case fw::Event::Tick:
      return "Tick";
    case fw::Event::CellEvent:
      return "CellEvent";
    case fw::Event::FilesDropped:
      return "FilesDropped";
  }
  return "?";
}

// "<unit or window> <event>", e.g. "按钮 Clicked", "Trap Moved".
inline void OnAnyEvent() {
  const fw::EventArgs& a = fw::CurrentEventArgs();
  const std::string who = a.unit != nullptr ? a.unit->name() : a.window->name();
  Note(who + " " + EventName(a.event));
}

// "表格 CellEvent 1 1 clicked"
inline void OnCellEvent() {
  const fw::EventArgs& a = fw::CurrentEventArgs();
  Note(a.unit->name() + " CellEvent " + std::to_string(a.row) + " " + std::to_string(a.col) +
       (a.cellAction == fw::CellAction::Clicked ? " clicked" : " edited"));
}

// "files <paths in UTF-8>"
inline void OnFilesDropped(const std::string& paths) {
  Note("files " + Utf8(paths));
}

inline int Count(const std::string& line) {
  int n = 0;
  for (const std::string& l : Log()) n += l == line ? 1 : 0;
  return n;
}
inline int IndexOf(const std::string& line) {
  for (std::size_t i = 0; i < Log().size(); ++i) {
    if (Log()[i] == line) return static_cast<int>(i);
  }
  return -1;
}

// A PNG picture made once per process: a disc of `colour` on a transparent
// ground. The bytes live as long as the process, as embedded data does.
inline fw::Image DiscPicture(int size, QColor colour) {
  static std::vector<std::vector<std::uint8_t>> keep;
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  {
    QPainter p(&img);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawEllipse(0, 0, size, size);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  img.save(&buffer, "PNG");
  auto& stored = keep.emplace_back(bytes.begin(), bytes.end());
  return fw::Image{"disc.png", std::span<const std::uint8_t>(stored.data(), stored.size())};
}

}  // namespace gui_test
