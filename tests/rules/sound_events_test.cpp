// Which sound the game asks for at which event, over whole seeded games of computer players:
// each request is checked against the position the game is in when it is made.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "rules/turn_cycle.h"

namespace tomtura {
namespace {

class SoundRecorder : public HeadlessFrontEnd {
 public:
  std::vector<int> sounds;
  std::vector<std::string> faults;

  void PlaySoundEffect(int n) override {
    HeadlessFrontEnd::PlaySoundEffect(n);
    sounds.push_back(n);
    const GameState& state = game().state;
    const Player& player = state.current();
    const int square = player.position;
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
    const bool fits = !fitting.contains(n) || fitting.at(n);
    if (!fits)
      faults.push_back("sound " + std::to_string(n) + " on square " + std::to_string(square));
  }
};

TEST(SoundEvents, EverySoundFitsThePositionItIsPlayedIn) {
  const TextCatalogue texts = TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  for (std::uint64_t seed : {1, 2, 3}) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    SoundRecorder ui;
    Game game(texts, ui, seed);
    ui.Attach(game);
    SeatComputerPlayers(game, 4);
    ASSERT_EQ(ui.Run(3000), HeadlessFrontEnd::RunResult::GameOver);
    EXPECT_EQ(ui.faults, std::vector<std::string>());
    // Every kind of event came up; the game-over sound came once, last.
    for (int n = 0; n < HeadlessFrontEnd::kSoundCount; ++n) EXPECT_GT(ui.soundsPlayed[n], 0) << n;
    EXPECT_EQ(ui.soundsPlayed[kSoundGameOver], 1);
    EXPECT_EQ(ui.sounds.back(), kSoundGameOver);
    // The game begins with a throw; no token steps before it.
    EXPECT_EQ(ui.sounds.front(), kSoundDice);
  }
}

}  // namespace
}  // namespace tomtura
