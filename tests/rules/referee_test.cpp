// The referee: what it does around each question (the phase, the debt question's loop, the
// consent's copy of the players), what it makes of an answer out of range, and what it takes
// from another computer's play window.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "../trade/deal_fixture.h"
#include "rules/referee.h"

namespace tomtura::trade_test {
namespace {

constexpr const char* kDebtTexts = "81=Du har skulder.\n";

using test_support::ScriptedSeat;

struct Published {
  DecisionKind kind;
  int button;
  bool remote;
};

struct RefereeGame : DealGame {
  RefereeGame() : DealGame(3, kDebtTexts) {
    player(0).isComputer = 0;
    game.state.turnPhase = TurnPhase::Moving;
    game.referee.Subscribe([this](const DecisionRequest& r, const Decision& d, bool remote) {
      published.push_back({r.kind, d.button, remote});
    });
  }
  Referee& referee() { return game.referee; }
  std::vector<Published> published;
};

TEST(Referee, TheDebtQuestionSendsThePlayerToSellUntilHisMoneyIsEnough) {
  RefereeGame g;
  g.player(0).money = -1000;
  g.Own(0, {0, 1});
  std::vector<TurnPhase> phasesInWindow;
  int round = 0;
  g.ui.playWindow = [&](PlayWindowDeals& deals) {
    phasesInWindow.push_back(g.game.state.turnPhase);
    // The first visit raises too little (600); the second enough.
    deals.Mortgage(round++);
    return kPlayWindowOk;
  };
  EXPECT_EQ(g.referee().AskQuestion("Du har skulder.", true), 1);
  EXPECT_EQ(g.ui.Count("AskQuestion"), 2);  // asked again while still short
  // The two commits, then the question's last answer only.
  ASSERT_EQ(g.published.size(), 3u);
  EXPECT_EQ(g.published[0].kind, DecisionKind::PlayWindow);
  EXPECT_EQ(g.published[2].kind, DecisionKind::Question);
  EXPECT_EQ(g.ui.Texts("OpenPlayWindow").size(), 2u);
  EXPECT_EQ(g.player(0).money, 200);
  EXPECT_EQ(phasesInWindow, (std::vector<TurnPhase>{TurnPhase::Dealing, TurnPhase::Dealing}));
  EXPECT_EQ(g.game.state.turnPhase, TurnPhase::Moving);

  // A window that finds the player cannot pay ends the question with 0.
  g.player(0).money = -500;
  g.ui.playWindow = [](PlayWindowDeals&) { return kPlayWindowCannotPay; };
  EXPECT_EQ(g.referee().AskQuestion("Du har skulder.", true), 0);
  EXPECT_EQ(g.published.back().button, 2);  // the others learn that he gave up
  // Any other question's first button is just an answer.
  EXPECT_EQ(g.referee().AskQuestion("Köpa Gata 2?", true), 1);
  EXPECT_EQ(g.ui.Texts("OpenPlayWindow").size(), 3u);
}

TEST(Referee, APersonsConsentReadsTheCopyOfThePlayersAComputersDoesNot) {
  RefereeGame g;
  GameState& s = g.game.state;
  g.player(1).isComputer = 0;
  // As an earlier game left it: another player, with a password, in the asked player's place.
  s.workPlayers = s.players;
  s.workPlayers[1].name.setRaw("Gammal");
  s.workPlayers[1].password.setRaw("abc");
  g.ui.consents = {true};
  EXPECT_TRUE(g.referee().AskConsent({1, "Sälj?", 100, 2, -1, false}));
  EXPECT_EQ(s.workPlayers, s.players);
  EXPECT_EQ(s.consentPlayer, 1);
  EXPECT_EQ(s.turnPhase, TurnPhase::Moving);

  s.workPlayers = PlayerTable{};
  g.Own(2, {2});
  g.referee().AskConsent({2, "Sälj?", 100000, 2, -1, false});  // a computer player answers
  EXPECT_EQ(s.workPlayers, PlayerTable{});
  EXPECT_EQ(g.ui.Count("AskConsent"), 1);
  EXPECT_EQ(s.consentPlayer, 2);
}

// How long a computer player's answer shows (a question or notice, each bid of an auction and
// its closing) is a fifth as long with fast movement.
TEST(Referee, AnswersOutOfRangeTakeTheirNearestMeaningAndFastMovementShowsThemAFifthAsLong) {
  for (const auto& [fast, question, bid, close] :
       {std::tuple(0, 3000, 2000, 3000), std::tuple(1, 600, 400, 600)}) {
    RefereeGame g;
    ScriptedSeat seat;
    for (int p = 0; p < 3; ++p) g.referee().SetSeat(p, &seat);
    g.game.state.settings.fastMoves = fast;
    g.player(0).position = 6;  // on street 2: its auction
    // A question answered 7 is a no; a notice is always seen; a cancelled login is 2.
    seat.answers = {{7, 0, nullptr}, {2, 0, nullptr}, {0, 0, nullptr}};
    EXPECT_EQ(g.referee().AskQuestion("Köpa Gata 2?", true), 2);
    EXPECT_EQ(g.referee().AskQuestion("Skatt", false), 1);
    EXPECT_FALSE(g.referee().AskLogin());
    EXPECT_EQ(g.game.state.turnPhase, TurnPhase::AwaitLogin);

    // In the auction a bid that is not above the highest is a pass; negative amounts too. The
    // winner pays his bid, even into debt.
    g.game.state.turnPhase = TurnPhase::Moving;
    g.player(0).money = 100;
    seat.answers = {{1, 500, nullptr}, {1, 500, nullptr}, {1, -9, nullptr}, {1, 0, nullptr}};
    EXPECT_EQ(g.referee().RunAuction(), 0);
    EXPECT_EQ(std::pair(g.player(0).money, g.prop(2).owner), std::pair(-400, std::int16_t{0}));
    std::vector<int> bids;  // the published buttons after the three questions' answers
    for (std::size_t i = 3; i < g.published.size(); ++i) bids.push_back(g.published[i].button);
    EXPECT_EQ(bids, (std::vector<int>{1, 2, 2, 1}));  // the closing is always 1
    EXPECT_EQ(g.published.back().kind, DecisionKind::AuctionClose);
    std::vector<int> delays;
    for (const DecisionRequest& r : seat.asked) delays.push_back(r.answerDelayMs);
    EXPECT_EQ(delays, (std::vector<int>{question, question, 0, bid, bid, bid, close}));
  }
}

// What another computer's play window agreed is taken only when it fits this game, with the
// log lines of what changed.
TEST(Referee, ARemotePlayWindowsCommitIsCheckedThenApplied) {
  RefereeGame g;
  g.Own(1, {2});
  PlayWindowCommit commit{g.game.state.players, g.game.state.properties};
  commit.properties[2].owner = 0;
  commit.players[0].money -= 2500;
  commit.players[1].money += 2500;
  commit.askedThisTurn[5] = 1;

  PlayWindowCommit renamed = commit;
  renamed.players[1].name.setUtf8("X");
  EXPECT_FALSE(g.referee().ApplyRemoteCommit(renamed));
  EXPECT_EQ(g.prop(2).owner, 1);
  EXPECT_TRUE(g.referee().ApplyRemoteCommit(commit));
  EXPECT_EQ(g.prop(2).owner, 0);
  EXPECT_EQ(std::pair(g.player(0).money, g.player(1).money), std::pair(27500, 32500));
  EXPECT_EQ(g.game.state.askedThisTurn[5], 1);
  EXPECT_EQ(g.LogLines(), std::vector<std::string>{"SpelareA köpte Gata 2 av SpelareB"});
}

// A player elsewhere pays his debt there: here only his last answer is awaited.
TEST(Referee, ADebtQuestionOfAPlayerElsewhereAwaitsOnlyHisLastAnswer) {
  RefereeGame g;
  ScriptedSeat elsewhere(true);
  g.referee().SetSeat(0, &elsewhere);
  g.player(0).money = -500;
  elsewhere.answers = {{1, 0, nullptr}};
  EXPECT_EQ(g.referee().AskQuestion("Du har skulder.", true), 1);
  EXPECT_EQ(elsewhere.asked.size(), 1u);
  EXPECT_TRUE(g.ui.Texts("OpenPlayWindow").empty());
  ASSERT_EQ(g.published.size(), 1u);
  EXPECT_TRUE(g.published[0].remote);
}

}  // namespace
}  // namespace tomtura::trade_test
