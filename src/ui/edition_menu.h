// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Options menu's choice of edition. A choice is stored in the player's file and takes effect
// when the program starts again, which it offers to do.
#include <QObject>
#include <string>
#include <vector>

#include "store/editions.h"

class QMenu;
class QWidget;

namespace tomtura {

class IniFile;

class EditionMenu : public QObject {
  Q_OBJECT

 public:
  // Adds the submenu of `editions` to `options`, `current` checked, when there are two or more.
  // A choice is written to `file`; `window` is closed before the program starts again.
  EditionMenu(QMenu& options, const std::vector<Edition>& editions, const std::string& current,
              IniFile& file, QWidget& window);

 private:
  void Choose(const Edition& edition);

  IniFile& file_;
  QWidget& window_;
};

}  // namespace tomtura
