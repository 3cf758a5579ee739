// What a question makes of its text, and the password check shared by the password, consent
// and auction dialogs.
#include "trade/questions.h"

#include <array>
#include <string>

#include "data/tabletop.h"
#include "data/text_encoding.h"
#include "data/text_ids.h"

namespace tomtura {

namespace {

constexpr std::string_view kNoticeCaption = "&OK";
constexpr std::size_t kPasswordChars = 3;

// Keyword texts of the catalogue by which questions are recognised.
// The colour kinds 0..4 go with these keywords, tested in this order; anything else is kind 5.
constexpr std::array<int, 5> kKindKeywords = {kTextChanceHeading, kTextCommunityHeading,
                                              kTextJailKeyword, kTextDebtKeyword,
                                              kTextOfferKeyword};

// True when `text` holds the whole of catalogue text `number`. An empty keyword (a blank entry
// in the board file) recognises nothing, rather than every question.
bool Contains(const Tabletop& game, std::string_view text, int number) {
  const std::string keyword = game.Text(number);
  return !keyword.empty() && text.find(keyword) != std::string_view::npos;
}

}  // namespace

QuestionLayout DescribeQuestion(const Tabletop& game, std::string_view text, bool twoButtons) {
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
  } else if (Contains(game, text, kTextCardKeyword)) {
    layout.button1 = game.Text(kTextCardFineButton);
    layout.button2 = game.Text(kTextCardChanceButton);
    layout.topic = QuestionTopic::Card;
  } else if (Contains(game, text, kTextJailKeyword)) {
    layout.button1 = game.Text(kTextPayButton);
    layout.button2 = game.Text(kTextStayButton);
    layout.topic = QuestionTopic::Jail;
  } else if (Contains(game, text, kTextDebtKeyword)) {
    layout.button1 = game.Text(kTextPayButton);
    layout.button2 = game.Text(kTextGiveUpButton);
    layout.topic = QuestionTopic::Debt;
  } else {
    layout.button1 = game.Text(kTextYes);
    layout.button2 = game.Text(kTextNo);
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
