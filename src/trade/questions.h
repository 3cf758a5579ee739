#pragma once
// What a question of the turn looks like, read from its words: the captions of its buttons,
// its colour and its topic (which also decides the computer's answer); and the password check
// shared by the login, consent and auction.
#include <cstdint>
#include <string>
#include <string_view>

#include "data/game_state.h"

namespace tomtura {

class Tabletop;

// What the keywords of a question's text make of it (they decide the computer's answer too).
enum class QuestionTopic : std::uint8_t {
  Notice,  // one button
  Card,    // the community chest card that offers a chance card instead
  Jail,    // pay the bail?
  Debt,    // raise money or give up
  Offer,   // anything else with two buttons: the offer to buy, answered by ComputerBuys
};

// The colour kinds of a question, by the first keyword found in its text.
enum QuestionKind : int {
  kChanceKind = 0,
  kCommunityKind = 1,
  kJailKind = 2,
  kDebtKind = 3,
  kOfferKind = 4,
  kOtherKind = 5,
};

// How a question is shown: its captions, colour kind and topic.
struct QuestionLayout {
  std::string button1;  // UTF-8
  std::string button2;  // unused for a notice
  int kind = kOtherKind;
  QuestionTopic topic = QuestionTopic::Notice;
};

// Looks for the keyword texts of the catalogue in the question, as its dialog does.
QuestionLayout DescribeQuestion(const Tabletop& table, std::string_view text, bool twoButtons);

// A password check: the first three characters typed must equal the stored password exactly.
bool PasswordMatches(const Password& stored, std::string_view typedUtf8);

}  // namespace tomtura
