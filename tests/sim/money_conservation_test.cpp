// Money is conserved over seeded games of computer players: at every turn the players' money
// changed by what the bank paid out less what it took in, and the history's money and worth are
// those of the game's state at that moment.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "data/game_history.h"
#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"

namespace tomtura {
namespace {

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

TEST(MoneyConservation, EveryTurnOfAThousandSeededGames) {
  const TextCatalogue board = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  constexpr int kGames = 1000;
  long long turns = 0;
  for (int i = 0; i < kGames; ++i) {
    HeadlessFrontEnd ui;
    Game game(board, ui, SeriesSeed(1, i));
    ui.Attach(game);
    SeatComputerPlayers(game, 4);
    TurnPoint before = game.history.points().front();
    std::string fault;
    game.history.pointAdded = [&](const TurnPoint& point) {
      if (fault.empty()) {
        fault = Disagreement(game.state, before, point);
        if (!fault.empty()) fault += " at turn " + std::to_string(point.turn);
      }
      before = point;
    };
    EXPECT_NE(ui.Run(2000), HeadlessFrontEnd::RunResult::Stalled) << "game " << i;
    ASSERT_EQ(fault, "") << "game " << i;
    turns += static_cast<long long>(game.history.points().size()) - 1;
  }
  // The turns themselves, so that a history that records none cannot pass.
  EXPECT_GT(turns, 150 * kGames);
}

}  // namespace
}  // namespace tomtura
