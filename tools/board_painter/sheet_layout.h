#pragma once
// Every region of the sheet by name, and the check that they all lie inside the sheet and that
// no two of them share a pixel.
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

namespace tomtura {

struct SheetRegion {
  QString name;
  QRect rect;
};

// All regions the game cuts from the sheet, from the accessors the game itself uses.
std::vector<SheetRegion> SheetRegions();

// One line per problem: a region outside `bounds`, or two regions that overlap. Empty when
// the layout is sound.
QStringList LayoutProblems(const std::vector<SheetRegion>& regions, const QRect& bounds);

}  // namespace tomtura
