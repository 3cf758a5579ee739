// What a question makes of its text, the computer's answer to it, and password checks.
#include "trade/questions.h"

#include "deal_fixture.h"
#include "rules/seats.h"

namespace tomtura::trade_test {
namespace {

// The colour kinds, and the captions on the shipped board, are board_file_test.cpp's.
TEST(Questions, KeywordsChooseCaptionsAndTheComputersAnswer) {
  struct Case {
    std::string text;
    bool twoButtons;
    int money;
    std::string button1;
    int answer;
  } cases[] = {
      {"Köpa Station 22?", true, 30000, "Ja", 1},
      {"ALLMÄNNING\n\nBetala 200 eller dra ett chanskort?", true, 30000, "Betala", 2},
      {"Du sitter i fängelset. Betala?", true, 5000, "Betala", 1},
      {"Du sitter i fängelset. Betala?", true, 4999, "Betala", 2},
      {"Du har skulder.", true, 30000, "Betala", 2},
      {"Skatt 4000", false, 0, "&OK", 1},
  };
  for (const Case& c : cases) {
    DealGame g;
    g.game.state.offeredProperty = 22;
    g.player(0).money = c.money;
    g.player(0).jailTurns = 3;
    const DecisionRequest request = g.game.referee.QuestionRequest(c.text, c.twoButtons);
    EXPECT_EQ(request.layout.button1, c.button1) << c.text;
    EXPECT_EQ(ComputerDecision(g.game, request).button, c.answer) << c.text << " " << c.money;
  }
}

TEST(Questions, ABlankKeywordRecognisesNothing) {
  DealGame g(3, "45=\n");
  const QuestionLayout layout = DescribeQuestion(g.game, "Köpa Gata 2?", true);
  EXPECT_EQ(layout.button1, "Ja");
  EXPECT_EQ(layout.kind, 5);
}

TEST(PasswordMatches, FirstThreeCharactersExactly) {
  struct Case {
    std::string_view stored, typed;
    bool matches;
  } cases[] = {
      {"abc", "abcd", true}, {"abc", "ab", false},  {"abc", "ABC", false}, {"", "", true},
      {"", "x", false},      {"åäö", "åäö!", true}, {"åäö", "aao", false},
  };
  for (const Case& c : cases) {
    Password stored;
    stored.setUtf8(c.stored);
    EXPECT_EQ(PasswordMatches(stored, c.typed), c.matches) << c.stored << " / " << c.typed;
  }
}

}  // namespace
}  // namespace tomtura::trade_test
