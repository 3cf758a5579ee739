#pragma once
// What the play window, its column of tabs and its pages have in common: the number of pages,
// the grey of the window and the chamfers of its 3-D frames.
#include <QColor>
#include <QString>
#include <string>

#include "rules/referee.h"

namespace tomtura {

inline constexpr int kPageCount = kPlayPageCount;

inline constexpr QColor kGrey(192, 192, 192);
inline constexpr int kOuterChamfer = 3;
inline constexpr int kInnerChamfer = 2;

// A catalogue text (UTF-8) for a control.
inline QString Qs(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

}  // namespace tomtura
