// What a question makes of its text, and the password check shared by the password, consent
// and auction dialogs.
#include "trade/questions.h"

#include <array>
#include <string>

#include "data/text_encoding.h"
#include "rules/game.h"

namespace tomtura {

namespace {

constexpr std::string_view kNoticeCaption = "&OK";
constexpr std::size_t kPasswordChars = 3;

// Keyword texts of the catalogue by which questions are recognised.
constexpr int kCardQuestion = 45;
constexpr int kJailQuestion = 48;
constexpr int kDebtQuestion = 51;
// The colour kinds 0..4 go with these keywords, tested in this order; anything else is kind 5.
constexpr std::array<int, 5> kKindKeywords = {53, 54, kJailQuestion, kDebtQuestion, 55};

// True when `text` holds the whole of catalogue text `number`. An empty keyword (a blank entry
// in the board file) recognises nothing, rather than every question.
bool Contains(const Game& game, std::string_view text, int number) {
  const std::string keyword = game.Text(number);
  return !keyword.empty() && text.find(keyword) != std::string_view::npos;
}

}  // namespace

QuestionLayout DescribeQuestion(const Game& game, std::string_view text, bool twoButtons) {
  QuestionLayout layout;
  layout.kind = static_cast<int>(kKindKeywords.size());
  for (std::size_t kind = 0; kind < kKindKeywords.size(); ++kind) {
    if (Contains(game, text, kKindKeywords[kind])) {
      layout.kind = static_cast<int>(kind);
      break;
    }
  }

  if (!twoButtons) {
    layout.button1 = game.TextOr(kTextNoticeButton, kNoticeCaption);
    layout.topic = QuestionTopic::Notice;
  } else if (Contains(game, text, kCardQuestion)) {
    layout.button1 = game.Text(46);
    layout.button2 = game.Text(47);
    layout.topic = QuestionTopic::Card;
  } else if (Contains(game, text, kJailQuestion)) {
    layout.button1 = game.Text(49);
    layout.button2 = game.Text(50);
    layout.topic = QuestionTopic::Jail;
  } else if (Contains(game, text, kDebtQuestion)) {
    layout.button1 = game.Text(49);
    layout.button2 = game.Text(52);
    layout.topic = QuestionTopic::Debt;
  } else {
    layout.button1 = game.Text(43);
    layout.button2 = game.Text(44);
    layout.topic = QuestionTopic::Offer;
  }
  return layout;
}

bool PasswordMatches(const Password& stored, std::string_view typedUtf8) {
  std::string typed = Utf8ToCp1252(typedUtf8);
  typed = typed.substr(0, typed.find('\0'));
  return std::string_view(typed).substr(0, kPasswordChars) == stored.raw();
}

}  // namespace tomtura
