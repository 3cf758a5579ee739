#include "store/saved_game.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "rules/game.h"
#include "store/editions.h"
#include "test_support.h"

namespace tomtura {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// A mid-game position with a distinct value in every field the file holds.
GameState MidGame() {
  GameState s;
  s.playerCount = 3;
  const char* names[] = {"Anna", "Bo", "Eva", "Dora", "Erik", "Fia"};
  for (int i = 0; i < kMaxPlayers; ++i) {
    Player& p = s.players[i];
    p.name.setRaw(names[i]);
    p.tokenX = static_cast<std::int16_t>(40 * i);
    p.tokenY = static_cast<std::int16_t>(600 - i);
    p.position = static_cast<std::int16_t>(5 * i + 3);
    p.token = static_cast<std::int16_t>(i + 2);
    p.money = 30000 - 1000 * i;
    p.jailTurns = static_cast<std::int16_t>(i == 2 ? 4 : 0);
  }
  s.players[0].password.setRaw("ab");
  s.players[1].isComputer = 1;
  s.players[1].strength = Strength::Hard;
  s.players[1].money = -2;
  for (int p = 0; p < kPropertyCount; ++p) {
    Property& q = s.properties[p];
    q.name.setRaw("Gata " + std::to_string(p));
    q.price = static_cast<std::int16_t>(1000 + 100 * p);
    q.housePrice = static_cast<std::int16_t>(500 + p);
    for (int r = 0; r < 6; ++r) q.rent[r] = static_cast<std::uint16_t>(100 * r + p);
    q.group = static_cast<std::int16_t>(p < kStreetCount ? p / 3 : 8);
    q.owner = static_cast<std::int16_t>(p % 4 - 1);
  }
  s.properties[0].owner = 2;
  s.properties[3].houses = 5;
  s.properties[7].mortgaged = 1;
  s.currentPlayer = 2;
  s.firstLap = {257, 0, 257, 0, 0, 257};
  return s;
}

Bytes Image(const GameState& s) {
  const SavedGameBytes b = EncodeSavedGame(s);
  return {b.begin(), b.end()};
}

// Where the records and the game's own fields lie; a record's fields are laid out by the code the
// wire's state message shares, and held byte for byte by the wire tests.
TEST(SavedGameTest, EncodesFieldsAtTheirOffsetsLittleEndian) {
  const Bytes b = Image(MidGame());
  const std::pair<std::size_t, Bytes> cases[] = {
      {0, {3, 0}},                   // player count
      {4, {'A', 'n', 'n', 'a', 0}},  // player 0 name
      {2 + 170 + 24, {7, 0}},        // player 5 token
      {206 + 52, {2, 0}},            // property 0 owner
      {206 + 54 * 29, {'G', 'a', 't', 'a', ' ', '2', '9', 0}},
      {206 + 54 * 2 + 44, {0xF6, 0x01, 0, 0}},       // property 2 rent with hotel 502, group 0
      {1826, {2, 0}},                                // current player
      {1828, {1, 1, 0, 0, 1, 1, 0, 0, 0, 0, 1, 1}},  // firstLap
  };
  for (const auto& [offset, want] : cases) {
    EXPECT_EQ(Bytes(b.begin() + offset, b.begin() + offset + want.size()), want) << offset;
  }
}

// The reserved bytes in front of a player record name a computer player's strength when it is
// not Normal; everything else there (an older program's list handle) is read as Normal. The name
// behind them is read in its place, and without its NUL it is cut to fit. (The rest of the image
// read back: see the load test.)
TEST(SavedGameTest, ReservedBytesCarryOnlyAComputersStrength) {
  struct Case {
    std::int16_t isComputer;
    Strength strength;
    Bytes written;   // the reserved bytes EncodeSavedGame writes
    Bytes read;      // reserved bytes put into the file instead
    Strength loads;  // what DecodeSavedGame makes of them
  };
  const Case cases[] = {
      {1, Strength::Normal, {0, 0}, {0, 0}, Strength::Normal},
      {1, Strength::Easy, {'S', 'E'}, {'S', 'E'}, Strength::Easy},
      {1, Strength::Hard, {'S', 'H'}, {'S', 'H'}, Strength::Hard},
      {1, Strength::Hard, {'S', 'H'}, {0xA5, 'H'}, Strength::Normal},  // an old handle
      {1, Strength::Hard, {'S', 'H'}, {'S', 'X'}, Strength::Normal},
      {1, Strength::Hard, {'S', 'H'}, {'H', 'S'}, Strength::Normal},
      {0, Strength::Hard, {0, 0}, {'S', 'H'}, Strength::Normal},  // a person has none
  };
  for (const Case& c : cases) {
    GameState s = MidGame();
    s.players[1].isComputer = c.isComputer;
    s.players[1].strength = c.strength;
    Bytes b = Image(s);
    EXPECT_EQ(Bytes(b.begin() + 36, b.begin() + 38), c.written) << int{c.isComputer};
    b[36] = c.read[0];
    b[37] = c.read[1];
    for (int i = 0; i < 10; ++i) b[38 + i] = static_cast<std::uint8_t>('A' + i);
    const std::optional<SavedGame> g = DecodeSavedGame(b);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->players[1].strength, c.loads) << int{c.read[0]} << " " << int{c.read[1]};
    EXPECT_EQ(g->players[1].name.raw(), "ABCDEFGHI");
  }
}

class SavedGameFileTest : public ::testing::Test {
 protected:
  TempDir dir;
  RedrawRecorder ui;
  Game game{TestCatalogue(), ui, 7};

  void SetUp() override { ui.Attach(game); }
};

// That a failed write keeps the earlier file is WriteFileAtomically's (ini_file_test.cpp). The
// extension is appended only when the path has no dot: "game" is saved as game.tom.
TEST_F(SavedGameFileTest, SaveWritesTheImageOrSaysWhyNot) {
  EXPECT_EQ(SavedGamePath("/home/u/game.dat"), "/home/u/game.dat");
  EXPECT_EQ(SavedGamePath("/home/dir.with.dot/game"), "/home/dir.with.dot/game");
  std::string error = "stale";
  ASSERT_TRUE(SaveGameFile(MidGame(), game.texts, dir.path("game"), &error));
  EXPECT_EQ(error, "");
  const Bytes image = Image(MidGame());
  EXPECT_EQ(ReadBytes(dir.path("game.tom")), std::string(image.begin(), image.end()));
  fs::create_directory(dir.path("folder.tom"));
  EXPECT_FALSE(SaveGameFile(MidGame(), game.texts, dir.path("folder.tom"), &error));
  EXPECT_EQ(error, "Kan inte skriva " + dir.path("folder.tom"));
  EXPECT_EQ(dir.Entries(), 2);  // the temporary that could not take the folder's place is gone
  EXPECT_FALSE(SaveGameFile(MidGame(), game.texts, dir.path("nowhere/g.tom"), &error));
}

TEST_F(SavedGameFileTest, LoadTakesThePositionRedrawsAndAComputerOnTurnRolls) {
  GameState saved = MidGame();
  ASSERT_TRUE(SaveGameFile(saved, game.texts, dir.path("g.tom"), nullptr));
  SeatComputerPlayers(game, 5);
  game.state.askedThisTurn.fill(1);

  std::string error = "stale";
  std::optional<SavedGame> loaded = LoadGameFile(dir.path("g.tom"), game.texts, &error);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(error, "");
  game.Resume(*loaded);
  const GameState& s = game.state;
  EXPECT_EQ(std::tuple(s.playerCount, s.currentPlayer), std::tuple(3, 2));
  EXPECT_EQ(s.players, saved.players);
  EXPECT_EQ(s.properties, saved.properties);
  EXPECT_EQ(s.firstLap, saved.firstLap);
  EXPECT_EQ(s.askedThisTurn, (std::array<std::uint16_t, kPropertyCount>{}));
  for (int i = 0; i < kMaxPlayers; ++i) EXPECT_EQ(s.propertyLists[i].visible, i < 3) << i;
  EXPECT_EQ(s.propertyLists[2].items, (std::vector<int>{0, 3, 7, 11, 15, 19, 23, 27}));
  const std::vector<std::string> last(ui.redraws.end() - 4, ui.redraws.end());
  EXPECT_EQ(last, (std::vector<std::string>{"Board", "Panel", "Status", "Centre"}));
  EXPECT_FALSE(ui.dicePending());  // a person is on turn

  saved.currentPlayer = 1;  // the computer player
  loaded = DecodeSavedGame(Image(saved));
  ASSERT_TRUE(loaded);
  game.Resume(*loaded);
  EXPECT_EQ(game.state.turnPhase, TurnPhase::Rolling);
  EXPECT_TRUE(ui.dicePending());
}

// A game carries its street names: a file named exactly as a shipped edition goes on in the
// words of the edition played (its numbers kept), any other keeps its names and saves back
// byte for byte.
TEST_F(SavedGameFileTest, ALoadedGameKeepsItsNamesUnlessTheyAreAShippedEditions) {
  std::vector<IniFile> boardFiles;
  ASSERT_EQ(FindEditions(TOMTURA_ASSETS_DIR, &boardFiles).size(), 2u);
  const TextCatalogue english = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura_en.lst");
  const TextCatalogue swedish = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  PropertyTable englishTable{}, swedishTable{};
  english.LoadPropertyTable(englishTable);
  swedish.LoadPropertyTable(swedishTable);
  PropertyTable ownNames = swedishTable;
  ownNames[5].name.setRaw("Min gata");  // one street renamed in a board file of the player's own

  const struct {
    const char* what;
    PropertyTable saved;
    StreetNames expected;
  } cases[] = {
      {"Swedish names", swedishTable, StreetNamesOf(englishTable)},
      {"names of the player's own", ownNames, StreetNamesOf(ownNames)},
  };
  game.texts = english;
  game.editionStreetNames = EditionStreetNames(boardFiles);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    GameState position = MidGame();
    position.properties = c.saved;
    position.properties[3].owner = 1;
    const Bytes file = Image(position);
    const std::optional<SavedGame> saved = DecodeSavedGame(file);
    ASSERT_TRUE(saved);
    game.Resume(*saved);
    EXPECT_EQ(StreetNamesOf(game.state.properties), c.expected);
    EXPECT_EQ(game.state.properties[3].owner, 1);
    EXPECT_EQ(game.state.properties[3].price, c.saved[3].price);
    if (c.expected == StreetNamesOf(c.saved)) {
      EXPECT_EQ(Image(game.state), file);
    }
  }
}

TEST_F(SavedGameFileTest, RefusedOrMissingFileLeavesTheGameUntouched) {
  SeatComputerPlayers(game, 4);
  game.state.properties[2].owner = 1;
  const Bytes before = Image(game.state);
  const Deck deck = game.state.chanceDeck;
  ui.redraws.clear();

  constexpr std::size_t kLength = ~std::size_t{0};
  std::string error;
  EXPECT_FALSE(LoadGameFile(dir.path("missing.tom"), game.texts, &error));
  EXPECT_EQ(error, "");
  EXPECT_FALSE(LoadGameFile(dir.path(""), game.texts, &error));  // a directory
  EXPECT_EQ(error, "");
  // Each change makes the bytes something the game must not load: a length, or an i16 at an offset.
  // The upper bounds of a record's fields are the wire tests' (the same check of a record).
  const std::pair<std::size_t, std::int16_t> corruptions[] = {
      {kLength, -1},             // one byte short
      {kLength, 1},              // one byte long
      {0, 1},                    // player count 1
      {0, 7},                    // player count 7
      {1826, 3},                 // current player beyond the count
      {1826, -1},                // current player negative
      {206 + 54 * 29 + 52, -2},  // owner -2 of the last property
      {206 + 54 * 10 + 48, -1},  // houses -1
      {2 + 34 * 5 + 22, -1},     // position -1 of the last player, beyond the count
      {2 + 34 * 4 + 24, -1}};    // token -1
  for (const auto& [offset, value] : corruptions) {
    Bytes bad = Image(MidGame());
    if (offset == kLength) {
      bad.resize(bad.size() + value);
    } else {
      bad[offset] = static_cast<std::uint8_t>(value & 0xFF);
      bad[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    }
    WriteBytes(dir.path("bad.tom"), std::string(bad.begin(), bad.end()));
    EXPECT_FALSE(LoadGameFile(dir.path("bad.tom"), game.texts, &error)) << offset << " " << value;
    EXPECT_EQ(error, "Inget sparat spel: " + dir.path("bad.tom")) << offset;
  }
  EXPECT_EQ(Image(game.state), before);
  EXPECT_EQ(game.state.chanceDeck, deck);
  EXPECT_TRUE(ui.redraws.empty());
}

}  // namespace
}  // namespace tomtura
