// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game: the one GameState and the board file's texts (as the dealing code sees them, a
// Tabletop), the random source, the front end, the referee that puts every question to the
// players' seats and applies every outcome, and the source of the dice, with every rule of the
// turn as an operation. Operations are spread over files by subject:
// turn.cpp (roll, dice, walk), landing.cpp (squares, cards, end of the turn, jail),
// new_game.cpp (new game, debts, bankruptcy, resuming a saved game); the computer players'
// answers are their minds' (rules/computer_mind.h), their dealing trade/computer_deals.h.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/game_history.h"
#include "data/game_state.h"
#include "data/random.h"
#include "data/tabletop.h"
#include "data/text_catalogue.h"
#include "rules/dice.h"
#include "rules/front_end.h"
#include "rules/referee.h"

namespace tomtura {

// Interval of the walk timer, by phase and the fast-movement option.
constexpr int kDiceTickMs = 100;
constexpr int kDiceFrames = 8;
constexpr int kWalkTickMs = 500;
constexpr int kFastWalkTickMs = 100;
constexpr int kJailWalkTickMs = 200;
constexpr int kFastJailWalkTickMs = 50;

struct SavedGame;

class Game : public Tabletop {
 public:
  // The dice show StartingFaces(seed) until the first throw.
  Game(TextCatalogue texts, FrontEnd& ui, std::uint64_t seed);

  FrontEnd& ui;
  Random rng;
  Referee referee{*this};
  // The street names of the editions shipped with the program. A saved game named exactly as
  // one of them goes on in the words of the edition played; any other keeps its own names.
  std::vector<StreetNames> editionStreetNames;
  // How the game has gone so far, kept from the outcomes the referee applies.
  GameHistory history;

  // ---- Tabletop: what the dealing code asks of the game ----
  bool AskConsent(const ConsentOffer& offer) override;
  bool Apply(const Outcome& outcome) override;
  void Tell(const std::string& text, bool warning) override;
  void StatusLineChanged() override;

  // ---- Turn cycle ----
  // The Roll command (40010) given at this computer: a throw, the password asked again, or a
  // beep, as CheckCommand says.
  void Roll();
  // The throw of the player on turn begins: phase Rolling, and the animation as soon as the
  // dice source has the dice.
  void BeginThrow();
  // The dice that the source waited for have come: the throw shows.
  void DiceArrived();
  void DiceTick();  // the main window's timer
  void WalkTick();  // the board view's timer
  // A cancelled password is asked again; afterwards the turn goes on where it stopped.
  void RetryLogin();
  // Settles the square of the current player and ends the turn; 0 when it started a further
  // walk itself, 1 when the turn is settled (or the game ended, or the password was cancelled).
  int ResolveLanding(bool tailOnly);
  void JailTurnStart();
  // Hands the turn to `player`; the turn that ends is a point of the history.
  void PassTurnTo(int player);
  void RefreshPropertyLists();

  // ---- New game, debts and bankruptcy ----
  // Resets the game for the players entered; when `startComputerTurn` is set and player 0 is a
  // computer player outside a network game, its roll starts at once. Loading passes false and
  // starts the loaded current player's roll itself.
  void NewGame(bool startComputerTurn = true);
  // Ends the game in progress for another one (or the end of the program): it is no longer
  // running, and a throw or walk under way is cut short.
  void StopGame();
  // Leaves a network game: its players go with it.
  void LeaveNetworkGame();
  // Goes on with a saved game: a new game's state (decks, phase, dice) with the saved position,
  // street names included; the player on turn gives his password first, and a computer player
  // throws. The history goes on from `history` (the one saved beside it), else it begins at the
  // load.
  void Resume(const SavedGame& saved, const GameHistory* history = nullptr);
  // The position of a saved game in a new game's state, as Resume takes it up, with nothing of
  // the turn run yet (no password asked, no throw); a bankrupt player's turn passes on. True
  // when one player alone is left in it: the game is over.
  bool TakeUpSavedGame(const SavedGame& saved, const GameHistory* history = nullptr);
  bool CannotPay(const PropertyTable& table, const PlayerTable& players, bool announce);
  bool GoBankrupt();  // true = the game is over

  // ---- Dice ----
  // The source the throws take their dice from (not owned; nullptr: this computer's own).
  void SetDiceSource(DiceSource* source) { dice_ = source != nullptr ? source : &localDice_; }
  DiceSource& dice() { return *dice_; }

 private:
  void StartDiceAnimation();

  LocalDice localDice_{rng};
  DiceSource* dice_ = &localDice_;
  bool resumeLogin_ = false;  // the password of a resumed game's player on turn is outstanding
};

}  // namespace tomtura
