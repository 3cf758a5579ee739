#include "store/new_game_slots.h"

#include <algorithm>

#include "store/roster.h"
#include "store/settings.h"

namespace tomtura {

void NewGameSlots::Open(const IniFile& file) {
  playersBefore_ = state_.players;
  countBefore_ = state_.playerCount;
  if (RosterOffered(file, state_)) ReadRoster(file, state_);
  state_.playerCount = std::clamp(state_.playerCount, 0, kMaxPlayers);
  editSlot_ = 0;
  tokens_.clear();
  for (int token = 0; token < kTokenCount; ++token) {
    bool used = false;
    for (int i = 0; i < state_.playerCount; ++i) used = used || state_.players[i].token == token;
    if (!used) tokens_.push_back(token);
  }
  Refresh();
}

// What every command ends with: the shown player's own token on top of the list, selected.
// A token already listed is moved rather than listed twice, so that no two players can
// choose the same piece.
void NewGameSlots::Refresh() {
  if (shownIsPlayer()) {
    const int token = shown().token;
    RemoveToken(token);
    tokens_.insert(tokens_.begin(), token);
  }
  selected_ = tokens_.empty() ? -1 : 0;
}

// Leaving a player's slot: his token is his again, not free.
void NewGameSlots::TakeShownToken() {
  if (shownIsPlayer()) RemoveToken(shown().token);
}

void NewGameSlots::RemoveToken(int token) {
  std::erase(tokens_, token);
}

void NewGameSlots::Next() {
  if (!nextEnabled()) return;
  TakeShownToken();
  ++editSlot_;
  Refresh();
}

void NewGameSlots::Previous() {
  if (!previousEnabled()) return;
  TakeShownToken();
  --editSlot_;
  Refresh();
}

void NewGameSlots::SelectToken(int index) {
  if (index >= 0 && index < static_cast<int>(tokens_.size())) selected_ = index;
}

int NewGameSlots::selectedToken() const {
  return selected_ >= 0 ? tokens_[static_cast<std::size_t>(selected_)] : -1;
}

void NewGameSlots::Add(std::string_view nameUtf8, std::string_view passwordUtf8, bool computer,
                       Strength strength) {
  if (nameUtf8.empty() || selected_ < 0) {
    Refresh();
    return;
  }
  Player& player = state_.players[editSlot_];
  player.name.setUtf8(nameUtf8);
  player.isComputer = computer ? 1 : 0;
  player.strength = computer ? strength : Strength::Normal;
  if (computer) {
    player.password.clear();
  } else {
    player.password.setUtf8(passwordUtf8);
  }
  player.token = static_cast<std::int16_t>(selectedToken());
  tokens_.erase(tokens_.begin() + selected_);
  if (editSlot_ == state_.playerCount) ++state_.playerCount;
  if (editSlot_ < kMaxPlayers - 1) ++editSlot_;
  Refresh();
}

void NewGameSlots::Remove() {
  if (!shownIsPlayer()) {
    Refresh();
    return;
  }
  // Each record keeps its slot's property list; only the player fields move down.
  for (int i = editSlot_; i < kMaxPlayers - 1; ++i) state_.players[i] = state_.players[i + 1];
  state_.players[kMaxPlayers - 1] = Player{};
  --state_.playerCount;
  if (state_.players[editSlot_].name.empty() && editSlot_ != 0) --editSlot_;
  Refresh();
}

void NewGameSlots::Restore() {
  state_.players = playersBefore_;
  state_.playerCount = countBefore_;
}

bool StartNewGameRoster(IniFile& file, const GameState& state) {
  if (file.GetInt(kOptionsSection, kKeySavePlayers, 0) == 0) return true;
  return WriteRoster(file, state);
}

}  // namespace tomtura
