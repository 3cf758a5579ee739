// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_options.h"

#include <QAction>
#include <string_view>

#include "rules/commands.h"
#include "rules/game.h"
#include "ui/main_menu.h"

namespace tomtura {

WindowOptions::WindowOptions(Game& game, MainMenu& menu) : game_(game), menu_(menu) {}

void WindowOptions::Load() {
  options_ = ReadOptions(game_.texts.file());
  game_.state.settings = RuleSettingsOf(options_);
  options_.showCompanies = options_.showCompanies != 0 ? 0 : 1;

  const RuleSettings& rules = game_.state.settings;
  menu_.SetChecked(kCmdFirstLap, rules.firstLapRule != 0);
  menu_.SetChecked(kCmdSound, rules.soundOn != 0);
  menu_.SetChecked(kCmdFlatButtons, options_.flatButtons != 0);
  menu_.SetChecked(kCmdMusic, rules.musicOn != 0);
  menu_.SetChecked(kCmdFastMoves, rules.fastMoves != 0);
  menu_.SetChecked(kCmdSavePlayers, options_.savePlayers != 0);
  menu_.SetChecked(kCmdAuction, rules.auctionOn != 0);
}

// The option behind command `id` and its key; no option for any other command.
std::pair<int*, std::string_view> WindowOptions::OptionOf(int id) {
  RuleSettings& rules = game_.state.settings;
  switch (id) {
    case kCmdSound:
      return {&rules.soundOn, kKeySound};
    case kCmdMusic:
      return {&rules.musicOn, kKeyMusic};
    case kCmdFastMoves:
      return {&rules.fastMoves, kKeyFastMoves};
    case kCmdAuction:
      return {&rules.auctionOn, kKeyAuction};
    case kCmdFirstLap:
      return {&rules.firstLapRule, kKeyFirstLap};
    case kCmdSavePlayers:
      return {&options_.savePlayers, kKeySavePlayers};
    case kCmdFlatButtons:
      return {&options_.flatButtons, kKeyFlatButtons};
    case kCmdHideCompanies:
      return {&options_.showCompanies, kKeyShowCompanies};
    default:
      return {nullptr, {}};
  }
}

bool WindowOptions::Toggle(int id, bool store) {
  const auto [option, key] = OptionOf(id);
  if (option == nullptr) return false;
  *option = *option != 0 ? 0 : 1;
  // The item hides the companies: it is checked while they are not shown.
  menu_.SetChecked(id, id == kCmdHideCompanies ? *option == 0 : *option != 0);
  if (store) WriteOption(game_.texts.file(), key, *option);
  return true;
}

void WindowOptions::ShowRuleSettings() {
  const RuleSettings& rules = game_.state.settings;
  const bool local = game_.state.networkGame == NetRole::None;
  if (QAction* item = menu_.action(kCmdAuction)) item->setEnabled(local);
  if (QAction* item = menu_.action(kCmdFirstLap)) item->setEnabled(local);
  menu_.SetChecked(kCmdAuction, rules.auctionOn != 0);
  menu_.SetChecked(kCmdFirstLap, rules.firstLapRule != 0);
}

}  // namespace tomtura
