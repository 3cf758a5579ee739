// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A game on the shipped board for the rule tests, with decks of cards of our own whose effects
// the tests state, and a front end whose answers a test can script.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "test_seats.h"

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

// Answers like the headless front end unless a test has queued answers of its own.
class ScriptedFrontEnd : public HeadlessFrontEnd {
 public:
  std::deque<int> answers;             // a person's next answers to questions
  std::deque<int> logins;              // his next password dialogs: given (1) or cancelled (2)
  std::vector<DecisionRequest> asked;  // every question and notice, in order
  std::vector<std::string> statusWhenAsked;  // the status line under each question and login
  int auctionsRun = 0;

  Decision AskPerson(const DecisionRequest& request) override {
    statusWhenAsked.push_back(game().state.statusText);
    if (request.kind == DecisionKind::Login && !logins.empty()) {
      HeadlessFrontEnd::AskPerson(request);  // counted
      const int button = logins.front();
      logins.pop_front();
      return {button, 0, nullptr};
    }
    if (request.kind != DecisionKind::Question) return HeadlessFrontEnd::AskPerson(request);
    asked.push_back(request);
    if (answers.empty()) return HeadlessFrontEnd::AskPerson(request);
    const int answer = answers.front();
    answers.pop_front();
    return {answer, 0, nullptr};
  }
  void ShowAnswer(const DecisionRequest& request, const Decision& answer) override {
    statusWhenAsked.push_back(game().state.statusText);
    if (request.kind == DecisionKind::Question) asked.push_back(request);
    HeadlessFrontEnd::ShowAnswer(request, answer);
  }
  void ShowAuction(const Auction* auction) override {
    if (auction != nullptr) ++auctionsRun;
    HeadlessFrontEnd::ShowAuction(auction);
  }
};

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

  ScriptedFrontEnd ui;
  Game game;
  GameState& state;
};

}  // namespace tomtura::turn_test
