// A saved game's history file: its bytes, what reading it refuses, and a game that goes on with
// the history saved beside it, or begins one at the load when there is none that fits.
#include "store/history_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rules/game.h"
#include "test_support.h"

namespace tomtura {
namespace {

using Bytes = std::vector<std::uint8_t>;

// `n` little-endian bytes of `value`; beyond its eight, zeros.
void Little(Bytes& out, std::uint64_t value, int n) {
  for (int i = 0; i < n; ++i)
    out.push_back(i < 8 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0);
}

// A new game of two players, 30000 each and nothing owned: its history is one point.
struct NewGameOfTwo {
  NewGameOfTwo() {
    state.playerCount = 2;
    for (Player& player : state.players) player.money = 30000;
    history.Begin(state, HistoryStart::NewGame);
    saved.playerCount = 2;
    saved.players = state.players;
  }
  GameState state;
  GameHistory history;
  SavedGame saved;
};

TEST(HistoryFile, BytesOfANewGameOfTwo) {
  NewGameOfTwo g;
  Bytes want = {'T', 'T', 'S', 'T', 1, 0, 0x78, 0x56, 0x34, 0x12, 0, 2, 1, 0, 0, 0};
  Little(want, 0, 16);  // the running turn: nothing paid or taken yet
  for (int p = 0; p < 2; ++p) {
    Little(want, 30000, 8);  // cash 0x7530
    Little(want, 30000, 8);  // worth
    want.push_back(0xFF);    // owes the bank, if anybody
  }
  Little(want, 0, 2 * 14 * 8);  // tallies
  Little(want, 0, 4);           // turn 0
  want.push_back(0xFF);         // nobody's turn ended
  Little(want, 0, 16);
  for (int i = 0; i < 4; ++i) Little(want, 30000, 8);  // each player's cash and worth: 343 bytes
  EXPECT_EQ(EncodeHistory(g.history, 0x12345678), want);
  EXPECT_EQ(DecodeHistory(want, 0x12345678, g.saved), g.history);
}

TEST(HistoryFile, RefusesWhatIsNotTheHistoryOfThisSavedGame) {
  NewGameOfTwo g;
  g.state.currentPlayer = 1;
  g.history.TurnPassed(g.state, 0);
  const Bytes good = EncodeHistory(g.history, 7);
  ASSERT_TRUE(DecodeHistory(good, 7, g.saved));
  constexpr std::size_t kRunning = 16, kFirstPoint = 16 + 50 + 224, kSecondPoint = kFirstPoint + 53;
  // What the case is, and the byte set to a value.
  const std::tuple<const char*, std::size_t, std::uint8_t> cases[] = {
      {"magic", 0, 'X'},
      {"version", 4, 2},
      {"start", 10, 2},
      {"player count", 11, 3},
      {"point count", 12, 0},
      {"creditor outside the game", kRunning + 16 + 16, 2},
      {"money of another game", kRunning + 16, 0x31},
      {"first point not turn 0", kFirstPoint, 1},
      {"first point somebody's", kFirstPoint + 4, 0},
      {"turns not rising", kSecondPoint, 0},
      {"a turn of nobody in the game", kSecondPoint + 4, 2},
      {"money beyond a record", kSecondPoint + 21 + 4, 1},
  };
  for (const auto& [what, offset, value] : cases) {
    Bytes bad = good;
    bad[offset] = value;
    std::string fault;
    EXPECT_FALSE(DecodeHistory(bad, 7, g.saved, &fault)) << what;
    EXPECT_NE(fault, "") << what;
  }
  EXPECT_FALSE(DecodeHistory(good, 8, g.saved)) << "the check of another saved game";
  EXPECT_FALSE(DecodeHistory(Bytes(good.begin(), good.end() - 1), 7, g.saved)) << "cut short";
  Bytes longer = good;
  longer.push_back(0);
  EXPECT_FALSE(DecodeHistory(longer, 7, g.saved)) << "running on";
  EXPECT_FALSE(DecodeHistory(Bytes(good.begin(), good.begin() + 10), 7, g.saved)) << "a stub";
}

// A game saved with its history goes on with it after a load: the same points, tallies and
// running sums, and the turns count on. Without its history file, or beside one of another
// game, the history begins at the load.
TEST(HistoryFile, ALoadedGameGoesOnWithItsHistoryOrBeginsOneAtTheLoad) {
  TempDir dir;
  HeadlessFrontEnd ui;
  Game game(TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst"), ui, 11);
  ui.Attach(game);
  SeatComputerPlayers(game, 3);
  ui.Run(30);
  const std::string path = dir.path("game.tom");
  ASSERT_TRUE(SaveGameFile(game.state, game.texts, path, nullptr));
  ASSERT_TRUE(SaveHistoryFile(game.history, game.state, path));
  EXPECT_TRUE(std::filesystem::exists(dir.path("game.tom.stats")));
  const GameHistory played = game.history;
  ASSERT_GT(played.points().size(), 30u);

  HeadlessFrontEnd ui2;
  Game other(game.texts, ui2, 12);
  ui2.Attach(other);
  const std::optional<SavedGame> saved = LoadGameFile(path, other.texts, nullptr);
  ASSERT_TRUE(saved);
  std::optional<GameHistory> history = LoadHistoryFile(path, *saved);
  ASSERT_TRUE(history);
  other.Resume(*saved, &*history);
  EXPECT_EQ(other.history, played);  // that its turns count on is the sim program's test

  // The saved game rewritten by a program that knows nothing of histories.
  game.state.players[0].name.setUtf8("Ny");
  ASSERT_TRUE(SaveGameFile(game.state, game.texts, path, nullptr));
  std::string fault;
  EXPECT_FALSE(LoadHistoryFile(path, *saved, &fault));
  EXPECT_EQ(fault, "the history of another saved game");
  std::filesystem::remove(HistoryPath(path));
  EXPECT_FALSE(LoadHistoryFile(path, *saved));
  other.Resume(*saved);
  EXPECT_EQ(other.history.start(), HistoryStart::Load);
  ASSERT_EQ(other.history.points().size(), 1u);
  EXPECT_EQ(other.history.points()[0].cash[0], saved->players[0].money);
}

}  // namespace
}  // namespace tomtura
