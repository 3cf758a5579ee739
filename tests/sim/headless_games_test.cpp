// Whole games of computer players on the shipped board with the headless front end: the
// invariants the rules keep, money conserved at every turn (the players' money changes by what
// the bank paid out less what it took in, and the history's money and worth are the state's),
// each sound asked for where it fits, and seeded reproducibility (its figures also pin down how
// Run counts).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/game_history.h"
#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "rules/turn_cycle.h"

namespace tomtura {
namespace {

const TextCatalogue& ShippedBoard() {
  static const TextCatalogue board = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  return board;
}

// The headless front end, which also checks each sound the game asks for against the position
// it is asked in.
class SoundRecorder : public HeadlessFrontEnd {
 public:
  std::vector<int> sounds;
  std::vector<std::string> faults;  // a sound that does not fit, or money that does not add up

  void PlaySoundEffect(int n) override {
    HeadlessFrontEnd::PlaySoundEffect(n);
    sounds.push_back(n);
    const GameState& state = game().state;
    const int square = state.current().position;
    const int code = kBoardLayout[static_cast<std::size_t>(square)];
    const Property* property =
        code >= 0 ? &state.properties[static_cast<std::size_t>(code)] : nullptr;
    int left = 0;  // players still in the game
    for (int p = 0; p < state.playerCount; ++p) left += state.players[p].isBankrupt == 0;
    const bool community = code == static_cast<int>(SquareKind::Community);
    // A community card may let the player draw a chance card.
    const std::map<int, bool> fitting = {
        {kSoundSalary, square == 0},
        {kSoundOffer, property != nullptr && property->owner == kNobody},
        {kSoundRent, property != nullptr && property->owner != kNobody &&
                         property->owner != state.currentPlayer && property->mortgaged == 0},
        {kSoundChance, code == static_cast<int>(SquareKind::Chance) || community},
        {kSoundCommunity, community},
        {kSoundTax, code == static_cast<int>(SquareKind::Tax)},
        {kSoundJail, square == kJailSquare},
        {kSoundGameOver, left <= 1},
    };
    if (fitting.contains(n) && !fitting.at(n))
      faults.push_back("sound " + std::to_string(n) + " on square " + std::to_string(square));
  }
};

struct ComputerTable {
  explicit ComputerTable(std::uint64_t seed, int players = 4,
                         const TextCatalogue& board = ShippedBoard())
      : game(board, ui, seed) {
    ui.Attach(game);
    SeatComputerPlayers(game, players);
  }
  SoundRecorder ui;
  Game game;
};

// The first invariant of a position between turns that does not hold; empty when all do.
std::string BrokenInvariant(const GameState& state) {
  for (int first = 0, last = 0; first < kPropertyCount; first = last + 1) {
    last = first;  // a group: a run of equal group numbers
    while (last + 1 < kPropertyCount &&
           state.properties[last + 1].group == state.properties[first].group) {
      ++last;
    }
    int most = 0, fewest = kHotel;
    bool whole = true, mortgaged = false;
    for (int p = first; p <= last; ++p) {
      const Property& property = state.properties[p];
      if (property.owner < kNobody || property.owner >= state.playerCount) return "owner";
      if (property.owner != kNobody && state.players[property.owner].isBankrupt != 0) {
        return "a bankrupt player owns " + std::to_string(p);
      }
      most = std::max<int>(most, property.houses);
      fewest = std::min<int>(fewest, property.houses);
      whole = whole && property.owner != kNobody && property.owner == state.properties[first].owner;
      mortgaged = mortgaged || property.mortgaged != 0;
    }
    if (most > 0 && (last >= kStreetCount || !whole || mortgaged || most > kHotel)) {
      return "houses on the group of " + std::to_string(first);
    }
    if (most - fewest > 1) return "uneven houses on the group of " + std::to_string(first);
  }
  for (int i = 0; i < state.playerCount; ++i) {
    if (state.players[i].position < 0 || state.players[i].position >= kSquareCount) {
      return "position";
    }
    std::vector<int> owned;  // the list shows exactly his properties, in ascending order
    for (int p = 0; p < kPropertyCount; ++p) {
      if (state.properties[p].owner == i) owned.push_back(p);
    }
    if (state.propertyLists[i].items != owned) return "property list of " + std::to_string(i);
  }
  if (state.turnPhase != TurnPhase::GameOver &&
      state.players[state.currentPlayer].isBankrupt != 0) {
    return "a bankrupt player on turn";
  }
  return {};
}

// Worth as the statistics define it: money, each property at its price with its houses at
// their price, a mortgaged one at half its price.
std::int64_t WorthOf(const GameState& state, int player) {
  std::int64_t worth = state.players[player].money;
  for (const Property& property : state.properties) {
    if (property.owner != player) continue;
    worth += property.mortgaged != 0 ? property.price / 2
                                     : property.price + property.houses * property.housePrice;
  }
  return worth;
}

// The first way `point` differs from the state, or from the money of the point before it and
// the bank's sums; empty when it agrees.
std::string Disagreement(const GameState& state, const TurnPoint& before, const TurnPoint& point) {
  std::int64_t change = 0;
  for (int p = 0; p < state.playerCount; ++p) {
    if (point.cash[p] != state.players[p].money) return "money of player " + std::to_string(p);
    if (point.worth[p] != WorthOf(state, p)) return "worth of player " + std::to_string(p);
    change += point.cash[p] - before.cash[p];
  }
  if (change != point.bankPaid - point.bankTook) {
    return "money changed by " + std::to_string(change) + ", the bank paid " +
           std::to_string(point.bankPaid) + " and took " + std::to_string(point.bankTook);
  }
  return {};
}

// A thousand games; under the sanitizers, which slow a game down many times, two hundred.
// TOMTURA_SIM_GAMES asks for another number.
int GamesToPlay() {
  if (const char* games = std::getenv("TOMTURA_SIM_GAMES")) return std::max(1, std::atoi(games));
#if defined(__SANITIZE_ADDRESS__)
  return 200;
#else
  return 1000;
#endif
}

TEST(HeadlessGames, SeededGamesKeepTheRulesInvariantsAndConserveMoney) {
  constexpr int kTurnCap = 300, kCheckEvery = 25;
  const int games = GamesToPlay();
  int finished = 0;
  long long turns = 0;
  for (int i = 0; i < games; ++i) {
    ComputerTable table(SeriesSeed(2024, i));
    Game& game = table.game;
    TurnPoint before = game.history.points().front();
    game.history.pointAdded = [&](const TurnPoint& point) {
      const std::string fault = Disagreement(game.state, before, point);
      if (!fault.empty())
        table.ui.faults.push_back(fault + " at turn " + std::to_string(point.turn));
      before = point;
    };
    auto result = HeadlessFrontEnd::RunResult::TurnLimit;
    for (int played = 0; played < kTurnCap && result == HeadlessFrontEnd::RunResult::TurnLimit;
         played += kCheckEvery) {
      result = table.ui.Run(kCheckEvery);
      ASSERT_EQ(BrokenInvariant(table.game.state), "")
          << "game " << i << " after " << table.ui.stats().turns << " turns";
    }
    ASSERT_NE(result, HeadlessFrontEnd::RunResult::Stalled) << "game " << i;
    ASSERT_EQ(table.ui.faults, std::vector<std::string>()) << "game " << i;
    finished += result == HeadlessFrontEnd::RunResult::GameOver ? 1 : 0;
    turns += static_cast<long long>(game.history.points().size()) - 1;
  }
  EXPECT_GT(finished, games / 2);
  // The turns themselves, so that a history that records none cannot pass.
  EXPECT_GT(turns, 150LL * games);
}

// Games of every strength, of persons too (answered here by the computer's rules, which vary
// them a little), with and without auctions, pinned to their figures: a change to a rule or to
// a computer player's choices moves some of them.
TEST(HeadlessGames, SeededGamesOfEveryStrengthEndInFixedFigures) {
  constexpr Strength kStrengths[] = {Strength::Easy, Strength::Normal, Strength::Hard};
  // Turns, houses built, deals, bankruptcies, auctions, unfinished games, then wins by seat.
  std::vector<int> figures(6 + kMaxPlayers);
  for (int i = 0; i < 30; ++i) {
    ComputerTable table(SeriesSeed(7, i), 2 + i % 5);
    GameState& state = table.game.state;
    state.settings.auctionOn = i % 2;
    for (int seat = 0; seat < state.playerCount; ++seat) {
      state.players[seat].strength = kStrengths[(seat + i) % 3];
      if (seat > 0 && (seat + i) % 4 == 0) state.players[seat].isComputer = 0;
    }
    const bool over = table.ui.Run(3000) == HeadlessFrontEnd::RunResult::GameOver;
    const HeadlessStats& s = table.ui.stats();
    const int counts[] = {s.turns, s.housesBuilt, s.deals, s.bankruptcies, s.auctions, !over};
    for (int k = 0; k < 6; ++k) figures[k] += counts[k];
    for (int seat = 0; over && seat < state.playerCount; ++seat) {
      figures[6 + seat] += state.players[seat].isBankrupt == 0 ? 1 : 0;
    }
  }
  EXPECT_EQ(figures, (std::vector<int>{5254, 1434, 376, 90, 67, 0, 13, 8, 6, 1, 1, 1}));
}

// A seed gives a fixed game, in the English edition the same as in the Swedish one (the computer
// answers questions by their keywords), in which every sound is heard; the English log is all its
// own words: nothing left in Swedish, and no line whose format failed to fit its arguments.
TEST(HeadlessGames, ASeedGivesAFixedGameInEitherEditionsWords) {
  const TextCatalogue english = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura_en.lst");
  for (const TextCatalogue* board : {&ShippedBoard(), &english}) {
    ComputerTable table(SeriesSeed(1, 0), 4, *board);
    std::set<std::string> lines;
    auto result = HeadlessFrontEnd::RunResult::TurnLimit;
    while (result == HeadlessFrontEnd::RunResult::TurnLimit) {
      result = table.ui.Run(10);
      for (const std::string& entry : table.game.state.log.entries()) lines.insert(entry.substr(1));
    }
    EXPECT_EQ(result, HeadlessFrontEnd::RunResult::GameOver);
    int winner = -1;
    for (int i = 0; i < 4; ++i) winner = table.game.state.players[i].isBankrupt ? winner : i;
    const HeadlessStats& s = table.ui.stats();
    // Winner seat, turns, bankruptcies, houses built, deals.
    EXPECT_EQ((std::vector<int>{winner, s.turns, s.bankruptcies, s.housesBuilt, s.deals}),
              (std::vector<int>{2, 224, 3, 104, 37}));
    // Every kind of sound came up; the game-over sound came once, last, after a first throw.
    for (int n = 0; n < HeadlessFrontEnd::kSoundCount; ++n)
      EXPECT_GT(table.ui.soundsPlayed[n], 0) << n;
    EXPECT_EQ(table.ui.soundsPlayed[kSoundGameOver], 1);
    EXPECT_EQ(table.ui.sounds.front(), kSoundDice);
    EXPECT_EQ(table.ui.sounds.back(), kSoundGameOver);
    if (board != &english) continue;
    for (const std::string& line : lines) {
      for (const char* foreign :
           {"köpte", "sålde", "slog", "hamnade", "intecknade", "bankrutt", " kr", "$", "%"}) {
        EXPECT_EQ(line.find(foreign), std::string::npos) << line;
      }
    }
    for (const char* word : {" bought ", " landed on ", " is bankrupt", " bought a house on "}) {
      EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(word) != std::string::npos;
      })) << word;
    }
  }
}

}  // namespace
}  // namespace tomtura
