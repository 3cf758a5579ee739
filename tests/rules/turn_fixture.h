// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A game on the shipped board for the rule tests, with decks of cards of our own whose effects
// the tests state, and the persons' answers scripted (tests/support).
#include <cstdint>
#include <string>

#include "../support/scripted_front_end.h"
#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "rules/game.h"

namespace tomtura::turn_test {

// The first section of a name counts, so these decks stand in front of the shipped ones.
inline constexpr const char* kTestCards = R"([CHANS]
1=Frikort
2=Reparationer
3=Reparationer
4=Utdelning@500
5=Vinst@1000
7=Böter@150
10=Fängelse@10
12=Till Torgvägen@24
16=Tre steg tillbaka
[ALLM]
2=Betala 200 kr eller dra ett chanskort
3=Du fyller år
9=Lön@2000
15=Tillbaka till Lergropsvägen
)";

inline TextCatalogue TestCatalogue() {
  static const std::string shipped =
      TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst").file().Serialize();
  return TextCatalogue(IniFile::Parse(kTestCards + shipped));
}

// A new game between persons at this computer ("Anna", "Bertil", ...), past their first lap.
struct TestGame {
  explicit TestGame(int players, std::uint64_t seed = 1)
      : game(TestCatalogue(), ui, seed), state(game.state) {
    ui.Attach(game);
    state.playerCount = players;
    const char* names[kMaxPlayers] = {"Anna", "Bertil", "Cecilia", "David", "Erik", "Fia"};
    for (int i = 0; i < kMaxPlayers; ++i) state.players[i].name.setUtf8(names[i]);
    game.NewGame(false);
    state.firstLap.fill(0);
  }

  // Gives property p to `player` (his list kept in step).
  void Give(int p, int player) {
    state.properties[p].owner = static_cast<std::int16_t>(player);
    game.RefreshPropertyLists();
  }
  // The current player's token comes to rest on `square` after throwing d1 and d2.
  int LandOn(int square, int d1, int d2, TurnPhase phase = TurnPhase::Moving) {
    state.current().position = static_cast<std::int16_t>(square);
    state.die1 = d1;
    state.die2 = d2;
    state.turnPhase = phase;
    return game.ResolveLanding(false);
  }
  // The newest log line, with its leading player digit.
  std::string LastLog() const {
    return state.log.size() == 0 ? std::string() : state.log.entries().front();
  }

  test_support::ScriptedFrontEnd ui;
  Game game;
  GameState& state;
};

}  // namespace tomtura::turn_test
