// The headless front end: answers, timers as flags, and the loop that plays a game.
#include "headless/headless_front_end.h"

#include <algorithm>
#include <string>

#include "rules/game.h"
#include "rules/seats.h"

namespace tomtura {

void HeadlessFrontEnd::Note(const DecisionRequest& request) {
  if (request.kind == DecisionKind::Question) {
    ++questions;
    lastQuestion = request.text;
  }
}

Decision HeadlessFrontEnd::AskPerson(const DecisionRequest& request) {
  Note(request);
  ++stats_.personsAsked;
  if (request.kind == DecisionKind::Login) ++passwordsAsked;
  if (dealsAsComputer_) {
    if (request.kind == DecisionKind::PlayWindow) return DealInPlayWindow();
    if (request.kind == DecisionKind::Question && request.layout.topic == QuestionTopic::Debt) {
      // To the play window to raise the money, for as long as it raises some; then he gives up.
      const bool raise = debtAsks_ == 0 || lastDealChanged_;
      debtAsks_ = raise ? debtAsks_ + 1 : 0;
      return {raise ? 1 : 2, 0, nullptr};
    }
    if (request.kind != DecisionKind::Consent) debtAsks_ = 0;
  }
  return ComputerDecision(*game_, request);
}

// The computer's dealing in the play window: the window's commit applies it as outcomes, logs
// it and sends it to the other computers.
Decision HeadlessFrontEnd::DealInPlayWindow() {
  const Decision decision = ComputerDealsInPlayWindow(*game_);
  lastDealChanged_ = decision.button == kPlayWindowOk;
  return decision;
}

void HeadlessFrontEnd::ShowAnswer(const DecisionRequest& request, const Decision&) {
  Note(request);
}

void HeadlessFrontEnd::ShowMessage(const std::string&, MessageIcon) {
  ++messages;
}

void HeadlessFrontEnd::StartTimer(GameTimerId timer, int ms) {
  if (timer == GameTimerId::Dice) {
    dicePending_ = true;
    diceIntervalMs_ = ms;
  } else {
    walkPending_ = true;
    walkIntervalMs_ = ms;
  }
}

void HeadlessFrontEnd::StopTimer(GameTimerId timer) {
  (timer == GameTimerId::Dice ? dicePending_ : walkPending_) = false;
}

void HeadlessFrontEnd::PlaySoundEffect(int n) {
  if (n >= 0 && n < kSoundCount) ++soundsPlayed[n];
}

void HeadlessFrontEnd::Changed(const Changes& changes) {
  if (changes.has(Changes::kTokenStep)) {
    ++tokenSteps;
    lastFromX = changes.fromX;
    lastFromY = changes.fromY;
  }
  if (changes.has(Changes::kFocusRoll)) ++rollFocus;
  if (changes.has(Changes::kBeep)) ++beeps;
}

HeadlessFrontEnd::Holdings HeadlessFrontEnd::TakeHoldings() const {
  const GameState& state = game_->state;
  Holdings h;
  for (int p = 0; p < kPropertyCount; ++p) {
    h.owner[p] = state.properties[p].owner;
    h.houses[p] = state.properties[p].houses;
  }
  return h;
}

HeadlessFrontEnd::Snapshot HeadlessFrontEnd::Take() const {
  const GameState& state = game_->state;
  Snapshot s;
  s.outcomes = game_->referee.outcomesApplied();
  for (int i = 0; i < kMaxPlayers; ++i) s.bankrupt[i] = state.players[i].isBankrupt;
  s.currentPlayer = state.currentPlayer;
  return s;
}

void HeadlessFrontEnd::Count(const Snapshot& before) {
  const GameState& state = game_->state;
  for (int i = 0; i < kMaxPlayers; ++i) {
    if (before.bankrupt[i] == 0 && state.players[i].isBankrupt != 0) ++stats_.bankruptcies;
  }
  if (state.currentPlayer != before.currentPlayer) ++stats_.turns;
  if (game_->referee.outcomesApplied() == before.outcomes) return;
  const Holdings was = holdings_;
  const Holdings now = TakeHoldings();
  holdings_ = now;
  if (now == was) return;
  // Transfers between players; a pair going opposite ways between the same two players is
  // one exchange.
  struct Transfer {
    int from;
    int to;
    bool paired;
  };
  std::array<Transfer, kPropertyCount> transfers;  // the first transferCount are set
  int transferCount = 0;
  for (int p = 0; p < kPropertyCount; ++p) {
    if (now.houses[p] > was.houses[p]) stats_.housesBuilt += now.houses[p] - was.houses[p];
    const int from = was.owner[p];
    const int to = now.owner[p];
    if (from != kNobody && to != kNobody && from != to) {
      transfers[transferCount++] = {from, to, false};
    }
  }
  for (int i = 0; i < transferCount; ++i) {
    if (transfers[i].paired) continue;
    ++stats_.deals;
    for (int j = i + 1; j < transferCount; ++j) {
      if (!transfers[j].paired && transfers[j].from == transfers[i].to &&
          transfers[j].to == transfers[i].from) {
        transfers[j].paired = true;
        break;
      }
    }
  }
}

bool HeadlessFrontEnd::Tick() {
  // The tables may have been set between ticks (a new game, a message from the host).
  holdings_ = TakeHoldings();
  return Step();
}

bool HeadlessFrontEnd::Step() {
  if (!dicePending_ && !walkPending_) return false;
  Snapshot before = Take();
  ++stats_.ticks;
  if (dicePending_) {
    game_->DiceTick();
  } else {
    game_->WalkTick();
  }
  Count(before);
  return true;
}

void HeadlessFrontEnd::Pump() {
  while (Tick()) {
  }
}

void HeadlessFrontEnd::TakeBackStartedRoll() {
  GameState& state = game_->state;
  if (dicePending_ && state.diceFrame == 0 && state.turnPhase == TurnPhase::Rolling) {
    dicePending_ = false;
    state.turnPhase = TurnPhase::AwaitRoll;
  }
}

HeadlessFrontEnd::RunResult HeadlessFrontEnd::Run(int maxTurns) {
  GameState& state = game_->state;
  // A new or loaded game sets its tables without outcomes.
  holdings_ = TakeHoldings();
  const int endTurn = stats_.turns + std::max(0, maxTurns);
  std::int64_t turnStartTick = stats_.ticks;
  int lastTurns = stats_.turns;
  for (;;) {
    if (state.turnPhase == TurnPhase::GameOver) return RunResult::GameOver;
    if (stats_.turns >= endTurn) {
      TakeBackStartedRoll();
      return RunResult::TurnLimit;
    }
    if (stats_.turns != lastTurns) {
      lastTurns = stats_.turns;
      turnStartTick = stats_.ticks;
    }
    if (stats_.ticks - turnStartTick > kMaxTicksPerTurn) return RunResult::Stalled;
    if (Step()) continue;
    if (state.turnPhase != TurnPhase::AwaitRoll) return RunResult::Stalled;
    // The player on turn waits for the Roll command: press it for him.
    Snapshot before = Take();
    game_->Roll();
    Count(before);
    if (!dicePending_ && !walkPending_ && state.turnPhase == TurnPhase::AwaitRoll) {
      return RunResult::Stalled;
    }
  }
}

void SeatComputerPlayers(Game& game, int players) {
  GameState& state = game.state;
  state.playerCount = std::clamp(players, 2, kMaxPlayers);
  for (int i = 0; i < kMaxPlayers; ++i) {
    Player& player = state.players[i];
    player.name.setUtf8("Dator " + std::to_string(i + 1));
    player.password.clear();
    player.isComputer = kComputerPlayer;
    player.token = static_cast<std::int16_t>(i);
  }
  game.NewGame(false);
}

std::uint64_t SeriesSeed(std::uint64_t seed, int index) {
  // One splitmix64 step over the pair, so neighbouring series do not share games.
  std::uint64_t z = seed * 0x9E3779B97F4A7C15ull + static_cast<std::uint64_t>(index) + 1;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace tomtura
