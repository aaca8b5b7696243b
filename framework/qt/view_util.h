// What the files of the views share.
#pragma once

#include <QMouseEvent>
#include <QPoint>
#include <QString>

#include <string_view>

namespace fw::qt {

inline QString Utf8Name(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

inline QPoint EventPos(const QMouseEvent* e) {
  return e->position().toPoint();
}

}  // namespace fw::qt
