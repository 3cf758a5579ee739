// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's menu bar, made from one table: each item carries its command, the game's
// one-letter key is shown beside the items that have one, and the desktop's usual keys (Ctrl+N
// and the like) belong to their items. A chosen item goes to the window's command handler.
#include <QMap>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace tomtura {

class MainMenu {
 public:
  // Fills `bar`; every item calls `onCommand` with its command, in the context of `receiver`
  // (whose handler can then tell which item sent it).
  MainMenu(QMenuBar& bar, QObject& receiver, std::function<void(int)> onCommand);

  QAction* action(int id) const { return actions_.value(id); }
  void SetChecked(int id, bool on);
  // The Options popup, where the editions are added.
  QMenu* optionsMenu() const { return optionsMenu_; }

 private:
  QMap<int, QAction*> actions_;
  QMenu* optionsMenu_ = nullptr;
};

}  // namespace tomtura
