#pragma once
// The new-game dialog's bookkeeping without its window: which slot is shown, which tokens the
// piece list offers, and what Add, Remove, Next and Previous do to the player records. The
// records are edited in place; the slot at playerCount is the empty one where the next player
// is entered.
#include <string_view>
#include <vector>

#include "data/game_state.h"
#include "data/ini_file.h"

namespace tomtura {

constexpr int kTokenCount = 10;
constexpr int kMinPlayersToStart = 2;

class NewGameSlots {
 public:
  explicit NewGameSlots(GameState& state) : state_(state) {}

  // Opening: the stored roster when "SparaSpelare" is on and record 0 has no name, then slot 1
  // with the free tokens and, on top, the token of the player shown.
  void Open(const IniFile& file);

  void Next();
  void Previous();
  // Stores the slot's player (a new one at the empty slot) with the selected token and moves
  // on; an empty name only refreshes. A computer player has no password and plays at
  // `strength`; a person's record keeps Normal.
  void Add(std::string_view nameUtf8, std::string_view passwordUtf8, bool computer,
           Strength strength = Strength::Normal);
  // Removes the shown player; the later ones move down a place and his token becomes free.
  void Remove();
  // The dialog closed without a game: the records and the player count as Open found them, so
  // that the game in progress goes on with its own players.
  void Restore();
  // The piece list's selection, an index into tokens().
  void SelectToken(int index);

  int editSlot() const { return editSlot_; }
  const Player& shown() const { return state_.players[editSlot_]; }
  bool shownIsPlayer() const { return editSlot_ < state_.playerCount; }
  // The piece list, top first: the free tokens, with the shown player's own token on top.
  const std::vector<int>& tokens() const { return tokens_; }
  int selectedIndex() const { return selected_; }
  int selectedToken() const;

  bool previousEnabled() const { return editSlot_ > 0; }
  bool nextEnabled() const { return editSlot_ < state_.playerCount && editSlot_ < kMaxPlayers - 1; }
  bool startEnabled() const { return state_.playerCount >= kMinPlayersToStart; }

 private:
  void Refresh();
  void TakeShownToken();
  void RemoveToken(int token);

  GameState& state_;
  PlayerTable playersBefore_{};
  int countBefore_ = 0;
  int editSlot_ = 0;
  std::vector<int> tokens_;
  int selected_ = -1;
};

// Start, also called without the dialog by the menu's "Save players": writes the roster of
// the players entered when "SparaSpelare" is on. False when that write failed.
bool StartNewGameRoster(IniFile& file, const GameState& state);

}  // namespace tomtura
