// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options of the Options menu: read from the board file when the window is made, shown as
// check marks, and each written back the moment the player changes it. The rules' options live
// in the game state's settings, the window's own (flat buttons, companies shown, roster kept)
// here; what an option changes on the screen is the window's to do.
#include <string_view>
#include <utility>

#include "store/settings.h"

namespace tomtura {

class Game;
class MainMenu;

class WindowOptions {
 public:
  WindowOptions(Game& game, MainMenu& menu);

  // The stored options, in the game's settings and here, with their check marks. "VisaL" is
  // read inverted, so that the window's own toggle of it lays the panel out and stores nothing.
  void Load();
  // Flips the option of command `id` and its check mark, and stores it unless `store` is false;
  // false when `id` is not an option's command.
  bool Toggle(int id, bool store = true);
  // The rule options' items: checked as the game's settings are, and changed only in a game of
  // this computer (in a network game they are the host's).
  void ShowRuleSettings();

  const Options& options() const { return options_; }
  // Read by the command buttons at every paint.
  const int& flatButtons() const { return options_.flatButtons; }

 private:
  std::pair<int*, std::string_view> OptionOf(int id);

  Game& game_;
  MainMenu& menu_;
  Options options_;  // as in memory; the rules' own options live in the game state
};

}  // namespace tomtura
