// SPDX-License-Identifier: GPL-3.0-or-later
// A new game, and the end of a player who cannot pay: every player back on GO with the
// starting money, the properties back with the bank, both decks shuffled; a bankrupt player's
// properties return to the bank and the last player left wins.
#include <algorithm>
#include <string>
#include <utility>

#include "data/property_rules.h"
#include "data/text_encoding.h"
#include "rules/game.h"
#include "store/saved_game.h"

namespace tomtura {

namespace {

constexpr int kTokenSpacing = 40;  // a new game's token places, two to a row
constexpr int kWinSound = 0;

// Puts the cards 1..16 into random free slots, probing forwards from the slot drawn.
void Shuffle(Deck& deck, Random& rng) {
  for (int k = 0; k < kCardCount; ++k) {
    int i = rng.Rand() % kCardCount;
    while (deck.cards[i] != 0) i = (i + 1) % kCardCount;
    deck.cards[i] = k + 1;
  }
}

// Passes the turn of a saved game on from a bankrupt player to the next one still in; when
// there is none but him, the game is over with that player on turn. True when it is over.
bool PassTurnFromBankrupt(GameState& state) {
  if (state.current().isBankrupt == 0) return false;
  int inGame = 0;
  int next = -1;
  for (int k = 1; k <= state.playerCount; ++k) {
    const int n = (state.currentPlayer + k) % state.playerCount;
    if (state.players[n].isBankrupt != 0) continue;
    ++inGame;
    if (next < 0) next = n;
  }
  if (next >= 0) state.currentPlayer = next;
  if (inGame > 1) return false;
  state.turnPhase = TurnPhase::GameOver;
  return true;
}

}  // namespace

void Game::NewGame(bool startComputerTurn) {
  resumeLogin_ = false;
  state.doublesInRow = 0;
  state.diceFrame = 0;
  // The rule's byte fills both bytes of every entry: 257 when on.
  const auto lapByte = static_cast<std::uint16_t>(state.settings.firstLapRule & 0xFF);
  state.firstLap.fill(static_cast<std::uint16_t>(lapByte * 0x0101));

  state.chanceDeck = Deck{};
  state.communityDeck = Deck{};
  Shuffle(state.chanceDeck, rng);
  Shuffle(state.communityDeck, rng);

  for (int n = 0; n < kMaxPlayers; ++n) {
    PropertyList& list = state.propertyLists[n];
    list.Clear();
    list.visible = n < state.playerCount;
    Player& player = state.players[n];
    player.position = 0;
    player.tokenX = static_cast<std::int16_t>((n % 2) * kTokenSpacing);
    player.tokenY = static_cast<std::int16_t>((n / 2) * kTokenSpacing);
    player.jailTurns = 0;
  }
  ResetHoldings(state);

  state.currentPlayer = 0;
  history.Begin(state, HistoryStart::NewGame);
  state.turnPhase = TurnPhase::AwaitRoll;
  state.gameRunning = 0;
  state.unsavedProgress = false;  // nothing has happened yet that a file could lack
  state.statusNote.clear();

  std::string status = Text(kTextYourTurn);
  if (referee.IsRemote(0)) {
    status = FormatCatalogue(kTextRemoteFirst, PlayerName(0));
  }
  state.statusText = std::string(CutUtf8(status, kStatusTextBytes));

  ui.Changed({Changes::kStatusLine | Changes::kCentre});
  ui.StopTimer(GameTimerId::Walk);
  ui.Changed({Changes::kBoard});
  if (startComputerTurn && !IsPersonHere(state.players[0]) && !referee.IsRemote(0)) {
    Roll();
  } else {
    ui.StopTimer(GameTimerId::Dice);
  }
  ui.Changed({Changes::kMenus});
  LogText(-1, kTextLogNewGame, "New  game");
}

void Game::StopGame() {
  state.gameRunning = 0;
  state.unsavedProgress = false;  // given up: nothing is left to lose
  ui.StopTimer(GameTimerId::Dice);
  ui.StopTimer(GameTimerId::Walk);
  state.diceFrame = 0;
}

void Game::LeaveNetworkGame() {
  for (Player& player : state.players) player.name.clear();
  state.playerCount = 0;
  state.unsavedProgress = false;  // a game without players has nothing left to lose
}

void Game::Resume(const SavedGame& saved, const GameHistory* savedHistory) {
  // With one player left the game opens as over, the winner named.
  const bool finished = TakeUpSavedGame(saved, savedHistory);
  if (finished) {
    const std::string winner =
        state.current().isBankrupt == 0 ? PlayerName(state.currentPlayer) : std::string();
    state.statusText = std::string(CutUtf8(FormatCatalogue(kTextWinner, winner), kStatusTextBytes));
  }

  ui.Changed({Changes::kBoard | Changes::kPanel | Changes::kCentre | Changes::kStatusLine});
  if (finished) {
    ui.Changed({Changes::kMenus});
    return;
  }

  // The turn was saved after its start (jail, dealing) had run; what is left of it is the
  // password, which a loaded file must not get round, and a computer player's throw.
  if (!state.current().password.empty() && !referee.AskLogin()) {
    resumeLogin_ = true;
    return;
  }
  if (IsComputerPlayer(state.current()) && !referee.IsRemote(state.currentPlayer)) Roll();
}

bool Game::TakeUpSavedGame(const SavedGame& saved, const GameHistory* savedHistory) {
  // Everything the file does not hold (decks, phase, dice, status line) starts anew.
  NewGame(false);
  state.playerCount = saved.playerCount;
  state.players = saved.players;
  for (int i = 0; i < kMaxPlayers; ++i) state.propertyLists[i].visible = i < state.playerCount;
  state.properties = saved.properties;
  // A game carries its street names. Only a file named exactly as a shipped edition reads in
  // the language of the one played; where its board file names none, the saved name stays.
  const StreetNames savedNames = StreetNamesOf(saved.properties);
  if (std::find(editionStreetNames.begin(), editionStreetNames.end(), savedNames) !=
      editionStreetNames.end()) {
    PropertyTable edition{};
    texts.LoadPropertyTable(edition);
    for (int p = 0; p < kPropertyCount; ++p) {
      if (!edition[p].name.empty()) state.properties[p].name = edition[p].name;
    }
  }
  state.currentPlayer = saved.currentPlayer;
  state.firstLap = saved.firstLap;
  RefreshPropertyLists();
  state.askedThisTurn.fill(0);
  if (savedHistory != nullptr) {
    auto listener = std::move(history.pointAdded);  // whoever watches this game's history
    history = *savedHistory;
    history.pointAdded = std::move(listener);
  } else {
    history.Begin(state, HistoryStart::Load);
  }
  // A game saved after its end has its loser on turn; the turn is the next player's still in.
  return PassTurnFromBankrupt(state);
}

bool Game::CannotPay(const PropertyTable& table, const PlayerTable& players, bool announce) {
  const int player = state.currentPlayer;
  if (!CannotPayDebt(player, table, players, state.askedThisTurn)) return false;
  if (announce) {
    ui.ShowMessage(FormatCatalogue(kTextCannotPay, players[player].name.utf8()),
                   MessageIcon::Exclamation);
    ui.Changed({Changes::kStatusLine});
  }
  return true;
}

bool Game::GoBankrupt() {
  const int loser = state.currentPlayer;
  // Everything goes back to the bank, not to a creditor.
  referee.Apply({Bankruptcy{loser}});

  int winner = kNobody;
  bool othersLeft = false;
  for (int n = 0; n < state.playerCount; ++n) {
    if (state.players[n].isBankrupt != 0) continue;
    if (winner == kNobody) {
      winner = n;
    } else {
      othersLeft = true;
      break;
    }
  }

  ui.Changed({Changes::kBoard | Changes::kPanel});

  if (othersLeft) {
    int next = state.currentPlayer;
    do {
      next = (next + 1) % state.playerCount;
    } while (state.players[next].isBankrupt != 0);
    PassTurnTo(next);
    return false;
  }

  state.turnPhase = TurnPhase::GameOver;
  history.Finished(state);
  ui.PlaySoundEffect(kWinSound);
  const std::string winnerName = winner == kNobody ? std::string() : PlayerName(winner);
  ui.ShowMessage(FormatCatalogue(kTextWinner, winnerName), MessageIcon::Information);
  state.gameRunning = 0;
  ui.Changed({Changes::kGameOver});
  return true;
}

}  // namespace tomtura
