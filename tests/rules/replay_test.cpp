// A game replayed from its published decisions and its dice is the same game: what a network
// game's other computers rely on to hold the same game as the host.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "rules/seats.h"

namespace tomtura {
namespace {

// The position of a game as every computer must hold it: everything but what each one only
// shows (token pixels, list selections, the status line) and the play window's scratch copies.
struct Position {
  PlayerTable players;
  PropertyTable properties;
  int currentPlayer, doublesInRow, die1, die2, gameRunning;
  TurnPhase phase;
  std::array<std::uint16_t, kMaxPlayers> firstLap;
  Deck chance, community;
  std::array<std::uint16_t, kPropertyCount> asked;
  std::array<std::uint32_t, kMaxPlayers> refusedLast, refusedThis;
  std::deque<std::string> log;
  bool operator==(const Position&) const = default;
};

Position PositionOf(const GameState& s) {
  Position p{
      s.players,       s.properties,    s.currentPlayer,   s.doublesInRow,    s.die1,
      s.die2,          s.gameRunning,   s.turnPhase,       s.firstLap,        s.chanceDeck,
      s.communityDeck, s.askedThisTurn, s.refusedLastTurn, s.refusedThisTurn, s.log.entries()};
  for (Player& player : p.players) player.tokenX = player.tokenY = 0;
  return p;
}

const TextCatalogue& Catalogue() {
  static const TextCatalogue texts = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  return texts;
}

// The dice of a game, kept for a replay; and the replay's dice.
class RecordedDice : public DiceSource {
 public:
  explicit RecordedDice(Random& rng) : local_(rng) {}
  Dice Faces() override { return thrown.emplace_back(local_.Faces()); }
  std::vector<Dice> thrown;

 private:
  LocalDice local_;
};

class ReplayedDice : public DiceSource {
 public:
  explicit ReplayedDice(std::vector<Dice> dice) : dice_(std::move(dice)) {}
  Dice Faces() override { return next_ < dice_.size() ? dice_[next_++] : Dice{}; }

 private:
  std::vector<Dice> dice_;
  std::size_t next_ = 0;
};

// Answers every request from a recording, checking it asks what was asked then.
class ReplaySeat : public Seat {
 public:
  struct Entry {
    DecisionKind kind;
    int player;
    Decision decision;
  };
  explicit ReplaySeat(std::vector<Entry> entries) : entries_(std::move(entries)) {}
  Decision Decide(const DecisionRequest& request) override {
    if (next_ >= entries_.size() || entries_[next_].kind != request.kind ||
        entries_[next_].player != request.player) {
      ++mismatches;
      return {};
    }
    return entries_[next_++].decision;
  }
  std::size_t used() const { return next_; }
  int mismatches = 0;

 private:
  std::vector<Entry> entries_;
  std::size_t next_ = 0;
};

TEST(Replay, AGameIsItsDecisionsAndItsDice) {
  // Persons (answered by the computer's rules here, their answers varied a little) and
  // computer players, with passwords and auctions.
  HeadlessFrontEnd ui;
  Game original(Catalogue(), ui, 99);
  ui.Attach(original);
  RecordedDice dice(original.rng);
  original.SetDiceSource(&dice);
  std::vector<ReplaySeat::Entry> decisions;
  original.referee.Subscribe([&](const DecisionRequest& r, const Decision& d, bool) {
    decisions.push_back({r.kind, r.player, d});
  });
  const auto seat = [](Game& game) {
    GameState& state = game.state;
    state.playerCount = 4;
    for (int i = 0; i < 4; ++i) {
      state.players[i].name.setUtf8("P" + std::to_string(i + 1));
      state.players[i].isComputer = static_cast<std::int16_t>(i % 2);
      state.players[i].password.setUtf8(i % 2 == 0 ? "pw" : "");
      state.players[i].token = static_cast<std::int16_t>(i);
    }
    state.settings.auctionOn = 1;
    game.NewGame(false);
  };
  seat(original);
  ASSERT_EQ(ui.Run(3000), HeadlessFrontEnd::RunResult::GameOver);
  ASSERT_GT(decisions.size(), 200u);

  HeadlessFrontEnd replayUi;
  Game replay(Catalogue(), replayUi, 99);
  replayUi.Attach(replay);
  ReplayedDice replayedDice(dice.thrown);
  replay.SetDiceSource(&replayedDice);
  ReplaySeat recording(decisions);
  for (int i = 0; i < kMaxPlayers; ++i) replay.referee.SetSeat(i, &recording);
  seat(replay);
  ASSERT_EQ(replayUi.Run(3000), HeadlessFrontEnd::RunResult::GameOver);
  EXPECT_EQ(recording.mismatches, 0);
  EXPECT_EQ(recording.used(), decisions.size());
  EXPECT_TRUE(PositionOf(replay.state) == PositionOf(original.state));
}

}  // namespace
}  // namespace tomtura
