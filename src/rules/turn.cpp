// SPDX-License-Identifier: GPL-3.0-or-later
// The turn cycle: the Roll command, the dice animation and the token's walk, one timer tick at
// a time. Nothing here waits; each tick does its step and returns to the front end's loop.
#include <algorithm>
#include <string>

#include "data/text_encoding.h"
#include "rules/commands.h"
#include "rules/game.h"
#include "rules/turn_cycle.h"

namespace tomtura {

namespace {
constexpr int kTumblingFrames = 6;  // frames 0..5 show the tumbling dice
constexpr int kThrowFrame = 6;      // the dice are drawn and shown
constexpr int kThirdDouble = 2;     // doubles already thrown when a third one sends to jail
}  // namespace

void Game::Roll() {
  switch (CheckCommand(*this, kCmdRoll).verdict) {
    case CommandCheck::Verdict::Login:
      RetryLogin();
      return;
    case CommandCheck::Verdict::Run:
      BeginThrow();
      return;
    default:
      ui.Changed({Changes::kBeep});
      return;
  }
}

void Game::BeginThrow() {
  state.gameRunning = 1;
  state.unsavedProgress = true;
  state.turnPhase = TurnPhase::Rolling;
  if (dice().Begin()) StartDiceAnimation();
}

void Game::DiceArrived() {
  state.gameRunning = 1;
  state.unsavedProgress = true;
  state.turnPhase = TurnPhase::Rolling;
  StartDiceAnimation();
}

void Game::StartDiceAnimation() {
  ui.StartTimer(GameTimerId::Dice, kDiceTickMs);
  ui.PlaySoundEffect(kSoundDice);
}

void Game::RetryLogin() {
  if (!resumeLogin_) {
    ResolveLanding(true);
    return;
  }
  // A resumed game's player on turn has had his turn's start already: only the password.
  if (referee.AskLogin()) {
    resumeLogin_ = false;
    ui.Changed({Changes::kFocusRoll});
  }
}

void Game::DiceTick() {
  if (state.diceFrame < kTumblingFrames) {
    ui.Changed({Changes::kDice});
    ++state.diceFrame;
    return;
  }
  if (state.diceFrame == kThrowFrame) {
    const Dice faces = dice().Faces();
    state.die1 = faces.die1;
    state.die2 = faces.die2;
    state.stepsToMove = state.die1 + state.die2;
    ui.Changed({Changes::kDice});
    ++state.diceFrame;
    // While the throw is walked and settled the status line tells it: what it said before
    // (throw again, a computer's deals) is over. An older board file says what it said.
    if (texts.HasText(kTextThrown)) {
      state.statusText = std::string(CutUtf8(
          FormatCatalogue(kTextThrown, PlayerName(state.currentPlayer), state.die1, state.die2),
          kStatusTextBytes));
      ui.Changed({Changes::kStatusLine});
    }
    return;
  }

  ui.StopTimer(GameTimerId::Dice);
  state.diceFrame = 0;
  state.turnPhase = TurnPhase::Moving;
  Player& player = state.current();
  bool isDouble = state.die1 == state.die2;
  if (player.jailTurns != 0 && !isDouble) {
    // Still in jail: the token stays where it is and the turn ends.
    ResolveLanding(false);
  } else if (state.doublesInRow == kThirdDouble && isDouble) {
    state.turnPhase = TurnPhase::ToJail;
    state.stepsToMove = StepsForwardTo(player.position, kJailSquare);
    ui.StartTimer(GameTimerId::Walk, WalkIntervalMs(state, true));
  } else {
    player.jailTurns = 0;  // a double frees a jailed player, who then walks the throw
    ui.StartTimer(GameTimerId::Walk, WalkIntervalMs(state, false));
  }
}

void Game::WalkTick() {
  Player& player = state.current();
  const int number = state.currentPlayer;

  if (state.stepsToMove > 0) {
    --state.stepsToMove;
    int fromX = player.tokenX;
    int fromY = player.tokenY;
    if (player.position == 0) {
      // Leaving GO, the token first takes its own place in the GO corner.
      fromX = std::min(fromX, GoPlaceX(number));
      fromY = std::min(fromY, GoPlaceY(number));
      player.tokenX = static_cast<std::int16_t>(GoPlaceX(number));
      player.tokenY = static_cast<std::int16_t>(GoPlaceY(number));
    }
    int left = player.position;
    if (left < 10) {
      player.tokenX += kSquarePitch;
    } else if (left < 20) {
      player.tokenY += kSquarePitch;
    } else if (left < 30) {
      player.tokenX -= kSquarePitch;
    } else {
      player.tokenY -= kSquarePitch;
    }
    player.position = static_cast<std::int16_t>((player.position + 1) % kSquareCount);
    if (player.position == 0 && state.turnPhase != TurnPhase::ToJail) {
      referee.Apply({Payment{kBank, number, kSalary, PaymentReason::Salary}});
      state.firstLap[number] = 0;
      ui.PlaySoundEffect(kSoundSalary);
    } else {
      ui.PlaySoundEffect(kSoundStep);
    }
    if (player.position == kFreeParkingSquare) player.tokenY += kCornerShift;
    if (player.position == kGoToJailSquare) player.tokenY -= kCornerShift;
    ui.Changed({Changes::kTokenStep, fromX, fromY});
    return;
  }

  if (state.stepsToMove < 0) {
    ui.PlaySoundEffect(kSoundStep);
    ++state.stepsToMove;
    int fromX = player.tokenX;
    int fromY = player.tokenY;
    int left = player.position;
    if (left > 30 || left == 0) {
      player.tokenY += kSquarePitch;
    } else if (left > 20) {
      player.tokenX += kSquarePitch;
    } else if (left > 10) {
      player.tokenY -= kSquarePitch;
    } else {
      player.tokenX -= kSquarePitch;
    }
    // Backwards over GO pays nothing.
    player.position =
        static_cast<std::int16_t>(player.position == 0 ? kSquareCount - 1 : player.position - 1);
    if (player.position == kFreeParkingSquare) player.tokenY -= kCornerShift;
    if (player.position == kGoToJailSquare) player.tokenY += kCornerShift;
    ui.Changed({Changes::kTokenStep, fromX, fromY});
    return;
  }

  // The walk is over (a walk of no steps lands at its first tick).
  ui.StopTimer(GameTimerId::Walk);
  ResolveLanding(false);
}

}  // namespace tomtura
