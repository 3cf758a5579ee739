#include "sheet_layout.h"

#include "ui/board_picture.h"

namespace tomtura {

std::vector<SheetRegion> SheetRegions() {
  std::vector<SheetRegion> regions;
  const auto add = [&regions](const QString& name, const QRect& rect) {
    regions.push_back({name, rect});
  };
  add("board", sheet::kBoard);
  for (int face = 1; face <= 6; ++face) add(QString("die face %1").arg(face), sheet::DieFace(face));
  for (int frame = 0; frame < 6; ++frame) {
    add(QString("tumbling die %1").arg(frame), sheet::TumblingDie(frame));
  }
  for (bool next : {true, false}) {
    for (bool pressed : {false, true}) {
      add(QString("slot button %1%2").arg(next ? "next" : "previous", pressed ? " pressed" : ""),
          sheet::SlotButton(next, pressed));
    }
  }
  for (int icon = 0; icon < 7; ++icon) add(QString("icon %1").arg(icon), sheet::ButtonIcon(icon));
  for (int edge = 0; edge < 3; ++edge) {
    add(QString("house %1").arg(edge), sheet::House(edge));
    add(QString("hotel %1").arg(edge), sheet::Hotel(edge));
  }
  add("coin", sheet::kCoin);
  for (int token = 0; token < 10; ++token) add(QString("token %1").arg(token), sheet::Token(token));
  add("background pattern", sheet::kBackgroundPattern);
  add("panel pattern", sheet::kPanelPattern);
  for (int group = 0; group <= kJailCardGroup; ++group) {
    add(QString("group marker %1").arg(group), sheet::GroupMarker(group));
  }
  for (int tile = 0; tile < 4; ++tile)
    add(QString("frame tile %1").arg(tile), sheet::FrameTile(tile));
  return regions;
}

QStringList LayoutProblems(const std::vector<SheetRegion>& regions, const QRect& bounds) {
  QStringList problems;
  for (std::size_t i = 0; i < regions.size(); ++i) {
    if (!bounds.contains(regions[i].rect)) problems << regions[i].name + " lies outside the sheet";
    for (std::size_t j = i + 1; j < regions.size(); ++j) {
      if (regions[i].rect.intersects(regions[j].rect)) {
        problems << regions[i].name + " overlaps " + regions[j].name;
      }
    }
  }
  return problems;
}

}  // namespace tomtura
