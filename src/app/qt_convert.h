#pragma once

// Small conversions from the core's types to Qt's, shared by the window code.

#include <string>

#include <QColor>
#include <QString>

#include "preview/bitmap.h"

namespace halvane {

inline QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

inline QColor ToQColor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}

}  // namespace halvane
