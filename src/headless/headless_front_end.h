#pragma once
// A front end without windows: the persons at this computer are answered by the computer's
// rules (ComputerDecision, the same that answers for a computer player), a computer player's
// answer is shown to nobody, and the two timers are only flags that Tick, Pump and Run service
// one tick at a time, without sleeping and without recursion. Tests, the simulator and the
// benchmarks play whole games with it.
#include <array>
#include <cstdint>
#include <string>

#include "data/game_state.h"
#include "rules/front_end.h"

namespace tomtura {

class Game;

// What happened in a headless game, counted between ticks by comparing the records.
struct HeadlessStats {
  int turns = 0;        // hand-overs of the turn to another player
  int housesBuilt = 0;  // each rise of a property's houses by one (a hotel is the fifth)
  int deals = 0;        // properties changing hands between players; an exchange counts once
  int bankruptcies = 0;
  int auctions = 0;
  int personsAsked = 0;  // requests answered for a person at this computer
  std::int64_t ticks = 0;
};

class HeadlessFrontEnd : public FrontEnd {
 public:
  static constexpr int kSoundCount = 10;
  // A turn with more ticks than this has no end (an edited board can send the token from card
  // to card for ever); Run gives up on it.
  static constexpr std::int64_t kMaxTicksPerTurn = 100000;

  // The game this front end answers for; call before the game runs.
  void Attach(Game& game) {
    game_ = &game;
    holdings_ = TakeHoldings();
  }

  enum class RunResult { GameOver, TurnLimit, Stalled };

  // Services one pending timer tick (the dice before the walk); false when none is pending.
  bool Tick();
  // Services pending ticks until none is left. With computer players only this plays on until
  // the game ends, since each of their turns starts the next roll.
  void Pump();
  // Plays until the game is over or `maxTurns` more turns have been handed over, pressing Roll
  // whenever the player on turn waits for it. Stops at a turn boundary: a roll that was only
  // started (no dice shown yet) is taken back, so the position is the one at the start of the
  // turn of the player on turn.
  RunResult Run(int maxTurns);
  // Takes back a roll that has started but not yet shown any dice.
  void TakeBackStartedRoll();

  // A person here who also deals as the computer would, through the play window: a network
  // game has only persons, and persons who never build would play for ever. His play window
  // does the computer's dealing on its copies, and a debt question sends him there for as
  // long as it raises something.
  void SetDealsAsComputer(bool on) { dealsAsComputer_ = on; }

  const HeadlessStats& stats() const { return stats_; }
  bool dicePending() const { return dicePending_; }
  bool walkPending() const { return walkPending_; }
  int diceIntervalMs() const { return diceIntervalMs_; }
  int walkIntervalMs() const { return walkIntervalMs_; }

  // Recorded for tests.
  std::array<int, kSoundCount> soundsPlayed{};
  int beeps = 0;
  int tokenSteps = 0;
  int lastFromX = 0;  // where the last token step started
  int lastFromY = 0;
  int questions = 0;  // questions and notices, to persons and computer players
  std::string lastQuestion;
  int messages = 0;
  int passwordsAsked = 0;
  int rollFocus = 0;  // times the Roll button was given the keyboard

  // FrontEnd.
  Decision AskPerson(const DecisionRequest& request) override;
  void ShowAnswer(const DecisionRequest& request, const Decision& answer) override;
  void ShowAuction(const Auction* auction) override {
    if (auction != nullptr) ++stats_.auctions;
  }
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  void StartTimer(GameTimerId timer, int ms) override;
  void StopTimer(GameTimerId timer) override;
  void PlaySoundEffect(int n) override;
  void Changed(const Changes& changes) override;

 protected:
  Game& game() { return *game_; }

 private:
  // The properties' owners and houses, which the counters of houses and deals compare.
  struct Holdings {
    std::array<std::int16_t, kPropertyCount> owner{};
    std::array<std::int16_t, kPropertyCount> houses{};
    bool operator==(const Holdings&) const = default;
  };
  // What the counters watch, taken before a tick. Owners and houses change only by an outcome
  // the referee applies, so most ticks are told apart by its count alone.
  struct Snapshot {
    std::uint64_t outcomes = 0;
    std::array<std::int16_t, kMaxPlayers> bankrupt{};
    int currentPlayer = 0;
  };
  Snapshot Take() const;
  Holdings TakeHoldings() const;
  // Tick without looking at the tables first: within Run nothing else changes them.
  bool Step();
  void Count(const Snapshot& before);
  void Note(const DecisionRequest& request);

  Decision DealInPlayWindow();

  Game* game_ = nullptr;
  Holdings holdings_;  // as the last count left them
  bool dealsAsComputer_ = false;
  int debtAsks_ = 0;              // debt questions of the debt being settled
  bool lastDealChanged_ = false;  // the last play window did something
  HeadlessStats stats_;
  bool dicePending_ = false;
  bool walkPending_ = false;
  int diceIntervalMs_ = 0;
  int walkIntervalMs_ = 0;
};

// Seats `players` (2..6) computer players "Dator 1", "Dator 2", ... with tokens 0, 1, ... and
// starts a new game; the first roll is left to the caller (Run presses it).
void SeatComputerPlayers(Game& game, int players);

// The seed of game `index` of a series begun with `seed`: distinct, well spread seeds.
std::uint64_t SeriesSeed(std::uint64_t seed, int index);

}  // namespace tomtura
