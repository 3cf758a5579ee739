#pragma once
// How a game went: each player's money and worth after every turn, and what each player paid,
// received, built, mortgaged and dealt over the game. It is kept from the outcomes as they are
// applied (never from the log's text), starting from the state of a new game or a loaded one, so
// that the statistics window, a saved game's history file and the simulator's tables all read
// the same numbers.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "data/game_state.h"
#include "data/outcome.h"

namespace tomtura {

// What a property counts for in a player's worth: its price, its houses at their price, or its
// mortgage value while mortgaged.
std::int64_t AssetValue(const Property& property);
// A player's worth: his money and the asset value of everything he owns.
std::int64_t Worth(const PlayerTable& players, const PropertyTable& properties, int player);

// Where a history begins: with a new game, or at the load of a saved game that had none.
enum class HistoryStart : std::uint8_t { NewGame = 0, Load = 1 };

// The standing after one turn: each player's money and worth, and what the bank paid out to the
// players and took in from them during that turn.
struct TurnPoint {
  std::int32_t turn = 0;          // turns handed on since the history began; 0 is its start
  std::int32_t player = kNobody;  // whose turn ended here; kNobody at the start
  std::array<std::int64_t, kMaxPlayers> cash{};
  std::array<std::int64_t, kMaxPlayers> worth{};
  std::int64_t bankPaid = 0;
  std::int64_t bankTook = 0;

  bool operator==(const TurnPoint&) const = default;
};

// One player's sums over the game. Amounts are money; the rest are counts.
struct PlayerTally {
  std::int64_t rentPaid = 0;
  std::int64_t rentReceived = 0;
  std::int64_t salary = 0;
  std::int64_t taxes = 0;
  std::int64_t cards = 0;        // cards' amounts, gifts and repairs: received less paid
  std::int64_t bailAndFees = 0;  // bail, and a play window's charges
  std::int64_t bought = 0;       // properties bought from the bank, at the price or at auction
  std::int64_t housesBought = 0;
  std::int64_t housesSold = 0;
  std::int64_t mortgages = 0;
  std::int64_t mortgagesLifted = 0;
  std::int64_t deals = 0;
  std::int64_t jailTurns = 0;  // turns begun in jail
  std::int64_t bankruptciesCaused = 0;

  bool operator==(const PlayerTally&) const = default;
};

// The history of the game being played. Game keeps one and tells it of every outcome, every
// turn handed on, a new game, a load and the end.
class GameHistory {
 public:
  // A history longer than this keeps its tallies but adds no more turns.
  static constexpr std::size_t kMaxPoints = 100000;

  // Starts anew from `state` (a new game's, or a loaded one's): its first point is turn 0.
  void Begin(const GameState& state, HistoryStart start);
  // An outcome that has just been applied to `after`.
  void Note(const Outcome& outcome, const GameState& after);
  // The turn of `from` has ended and `state.currentPlayer` has it now.
  void TurnPassed(const GameState& state, int from);
  // The game is over: the last turn's point.
  void Finished(const GameState& state);

  HistoryStart start() const { return start_; }
  int playerCount() const { return playerCount_; }
  const std::vector<TurnPoint>& points() const { return points_; }
  const std::array<PlayerTally, kMaxPlayers>& tallies() const { return tallies_; }
  // Money and worth now, as the outcomes have moved them since the last point.
  const TurnPoint& current() const { return current_; }
  // Who drove each player's money below zero last (a player, or kBank).
  const std::array<std::int32_t, kMaxPlayers>& creditors() const { return creditors_; }

  // Called with every point added (tests watch the state at that moment).
  std::function<void(const TurnPoint&)> pointAdded;

  // A history read back from a file: its values as they were written. `points` holds at least
  // the start; the caller has checked them.
  static GameHistory Restore(HistoryStart start, int playerCount, std::vector<TurnPoint> points,
                             const std::array<PlayerTally, kMaxPlayers>& tallies,
                             const TurnPoint& current,
                             const std::array<std::int32_t, kMaxPlayers>& creditors);

  bool operator==(const GameHistory& other) const {
    return start_ == other.start_ && playerCount_ == other.playerCount_ &&
           points_ == other.points_ && tallies_ == other.tallies_ && current_ == other.current_ &&
           creditors_ == other.creditors_;
  }

 private:
  void AddPoint(int player);
  void Pay(int from, int to, std::int64_t amount);
  void Gain(int player, std::int64_t cash, std::int64_t worth);

  HistoryStart start_ = HistoryStart::NewGame;
  int playerCount_ = 0;
  std::vector<TurnPoint> points_;
  std::array<PlayerTally, kMaxPlayers> tallies_{};
  TurnPoint current_;
  std::array<std::int32_t, kMaxPlayers> creditors_{};
};

}  // namespace tomtura
