#pragma once
// The decisions behind the question, password and consent dialogs, without their windows:
// which captions a question gets, its colour kind, and the answer a computer player gives.
#include <string>
#include <string_view>

#include "data/game_state.h"
#include "rules/front_end.h"

namespace tomtura {

class Game;

struct QuestionLayout {
  std::string button1;  // caption of button 1 (UTF-8)
  std::string button2;  // caption of button 2; unused for a notice with one button
  int kind = 5;         // questionKind 0..5: the dialog's colour
  int computerAnswer = 1;  // the button a computer player presses (1 or 2)
};

// Looks at the words of the question (the keyword texts of the catalogue) as the dialog does
// when it opens. The computer's answer is decided here, once, with the game's decisions.
QuestionLayout DescribeQuestion(Game& game, const QuestionParams& question);

// A password check: the first three characters typed must equal the stored password exactly.
bool PasswordMatches(const Password& stored, std::string_view typedUtf8);

}  // namespace tomtura
