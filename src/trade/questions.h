#pragma once
// What a question of the turn looks like, read from its words: the captions of its buttons,
// its colour and its topic (which also decides the computer's answer); and the password check
// shared by the login, consent and auction.
#include <string>
#include <string_view>

#include "data/game_state.h"
#include "rules/decision.h"

namespace tomtura {

class Game;

// Looks for the keyword texts of the catalogue in the question, as its dialog does.
QuestionLayout DescribeQuestion(const Game& game, std::string_view text, bool twoButtons);

// A password check: the first three characters typed must equal the stored password exactly.
bool PasswordMatches(const Password& stored, std::string_view typedUtf8);

}  // namespace tomtura
