// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics window's module: its entry point.
#include "ui/loaded_parts.h"
#include "ui/qt_front_end.h"
#include "ui/statistics_window.h"

namespace {

void Show(const tomtura::Game& game, const tomtura::BoardPicture& picture, tomtura::QtFrontEnd& ui,
          QWidget* parent) {
  tomtura::StatisticsWindow window(game, picture, ui, parent);
  ui.RunModal(window);
}

}  // namespace

extern "C" const tomtura::StatisticsPart* tomtura_statistics_part() {
  static const tomtura::StatisticsPart part{&Show};
  return &part;
}
