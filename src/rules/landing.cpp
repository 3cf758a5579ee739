// SPDX-License-Identifier: GPL-3.0-or-later
// Landing resolution: what the square under the current token demands (an offer, rent, tax, a
// card, the trip to jail), then the end of the turn with its hand-over, the password, the
// start of a turn in jail, the computer's dealing and the settling of a debt.
#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <string_view>

#include "data/text_encoding.h"
#include "data/text_ids.h"
#include "rules/game.h"
#include "rules/turn_cycle.h"
#include "trade/computer_deals.h"

namespace tomtura {

namespace {

// Catalogue texts used here.

constexpr int kIncomeTaxSquare = 4;
constexpr int kIncomeTax = 4000;
constexpr int kOtherTax = 2000;
constexpr int kFirstStation = 22;
constexpr int kFirstUtility = 26;
constexpr int kStationCount = 4;
constexpr int kUtilityCount = 2;
constexpr std::array<int, kStationCount + 1> kStationRent = {0, 500, 1000, 2000, 4000};
constexpr int kUtilityRentFactor = 100;
constexpr int kArrivalJailTurns = 4;

// Cards.
constexpr std::size_t kCardTextBytes = 248;  // heading, two line feeds and the card's words
constexpr int kMaxCardNumber = 1000000;      // amounts beyond this on a card are taken as this
constexpr int kJailCardNumber = 1;
constexpr int kCommunityChoiceCard = 2;
constexpr int kCommunityChoiceFine = 200;
constexpr int kBirthdayGift = 200;
constexpr int kBackThree = -3;
constexpr int kBackToSquare = 1;

struct RepairCosts {
  int perHouse;
  int perHotel;
};
constexpr RepairCosts kMajorRepairs = {800, 2300};
constexpr RepairCosts kMinorRepairs = {500, 2000};

// A number behind '@' on a card, read as atoi reads it, its size bounded.
int ParseCardNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = std::min(kMaxCardNumber, value * 10 + (text[i] - '0'));
  }
  return negative ? -value : value;
}

struct CardFace {
  std::string text;  // heading, two line feeds, the words; '|' already turned into line feeds
  int number = 0;    // the value behind '@', 0 without one
};

CardFace ReadCard(const Game& game, bool chance, int card) {
  std::string words = game.texts.GetCard(chance, card);
  CardFace face;
  // The number is taken from the whole value, so a long text cannot cut it off.
  if (std::size_t at = words.find('@'); at != std::string::npos) {
    face.number = ParseCardNumber(std::string_view(words).substr(at + 1));
    words.resize(at);
  }
  std::string text = game.Text(chance ? kTextChanceHeading : kTextCommunityHeading);
  text += "\n\n";
  text += words;
  face.text = std::string(CutUtf8(text, kCardTextBytes));
  std::replace(face.text.begin(), face.text.end(), '|', '\n');
  return face;
}

// The square a card sends the token to; an impossible number on an edited card still names a
// square of the board.
int CardSquare(int number) {
  return ((number % kSquareCount) + kSquareCount) % kSquareCount;
}

void ShowNotice(Game& game, const std::string& text) {
  game.referee.AskQuestion(text, false);
}

// Starts the quick walk of a card move or a trip to jail; its landing comes when it ends.
void StartQuickWalk(Game& game) {
  game.ui.StartTimer(GameTimerId::Walk, WalkIntervalMs(game.state, true));
}

void OfferProperty(Game& game, int p) {
  GameState& state = game.state;
  const int player = state.currentPlayer;
  const Property& property = state.properties[p];
  game.ui.PlaySoundEffect(kSoundOffer);
  state.offeredProperty = p;
  std::string question = game.FormatCatalogue(kTextPurchaseOffer, game.PlayerName(player),
                                              game.PropertyName(p), int{property.price});
  if (game.referee.AskQuestion(question, true) == 1) {
    game.referee.Apply({Purchase{player, p, property.price, false}}, game.referee.lastDecision());
  } else if (state.settings.auctionOn != 0) {
    game.referee.RunAuction();
  } else {
    game.LogText(player, kTextLogDeclined, "%s köpte inte %s.", game.PlayerName(player),
                 game.PropertyName(p));
  }
}

// The log's part of a rent message: what follows the empty line under its first line.
std::string RentLogTail(const std::string& message) {
  std::size_t lf = message.find('\n');
  if (lf == std::string::npos || lf + 1 >= message.size()) return {};
  // Skip the one character after the line feed (the empty line's own), whole.
  std::size_t start = lf + 2;
  while (start < message.size() && (static_cast<unsigned char>(message[start]) & 0xC0) == 0x80) {
    ++start;
  }
  if (start >= message.size()) return {};
  std::string tail = message.substr(start);
  std::replace(tail.begin(), tail.end(), '\n', ' ');
  return tail;
}

// Rent to the owner; a street's rent is logged with the details of its message.
void PayRent(Game& game, int owner, int rent, std::string note = std::string()) {
  game.referee.Apply(
      {Payment{game.state.currentPlayer, owner, rent, PaymentReason::Rent, std::move(note)}});
}

// A card's amount: received when positive, paid when negative.
void CardMoney(Game& game, int amount) {
  const int player = game.state.currentPlayer;
  if (amount == 0) return;
  if (amount > 0) {
    game.referee.Apply({Payment{kBank, player, amount, PaymentReason::Card}});
  } else {
    game.referee.Apply({Payment{player, kBank, -amount, PaymentReason::Card}});
  }
}

void ResolveStreetRent(Game& game, int p, int owner) {
  GameState& state = game.state;
  const Property& property = state.properties[p];
  const std::string name = game.PropertyName(p);
  const std::string ownerName = game.PlayerName(owner);
  int houses = std::clamp<int>(property.houses, 0, kHotel);
  int rent = 0;
  std::string message;
  if (houses > 0) {
    rent = property.rent[houses];
    bool hotel = houses == kHotel;
    message = game.FormatCatalogue(kTextRentWithHouses, name, ownerName, hotel ? 1 : houses,
                                   game.Text(hotel ? kTextHotelWord : kTextHousesWord), rent);
  } else {
    bool wholeGroup =
        std::all_of(state.properties.begin(), state.properties.end(), [&](const Property& other) {
          return other.group != property.group || other.owner == owner;
        });
    rent = wholeGroup ? 2 * property.rent[0] : property.rent[0];
    message =
        game.FormatCatalogue(wholeGroup ? kTextRentFullGroup : kTextRent, name, ownerName, rent);
  }
  ShowNotice(game, message);
  PayRent(game, owner, rent, RentLogTail(message));
}

int CountOwnedOf(const GameState& state, int first, int count, int owner) {
  int n = 0;
  for (int p = first; p < first + count; ++p) n += state.properties[p].owner == owner ? 1 : 0;
  return n;
}

void ResolveStationRent(Game& game, int p, int owner) {
  int n =
      std::clamp(CountOwnedOf(game.state, kFirstStation, kStationCount, owner), 1, kStationCount);
  int rent = kStationRent[n];
  ShowNotice(game,
             game.FormatCatalogue(kTextStationRent, game.PropertyName(p), game.PlayerName(owner), n,
                                  game.Text(n == 1 ? kTextStationWord : kTextStationsWord), rent));
  PayRent(game, owner, rent);
}

void ResolveUtilityRent(Game& game, int p, int owner) {
  const GameState& state = game.state;
  int n = CountOwnedOf(state, kFirstUtility, kUtilityCount, owner);
  int rent = (state.die1 + state.die2) * n * kUtilityRentFactor;
  ShowNotice(game,
             game.FormatCatalogue(kTextUtilityRent, game.PropertyName(p), game.PlayerName(owner), n,
                                  game.Text(n == 2 ? kTextUtilitiesWord : kTextUtilityWord), rent));
  PayRent(game, owner, rent);
}

void ResolveProperty(Game& game, int p) {
  GameState& state = game.state;
  const int player = state.currentPlayer;
  const Property& property = state.properties[p];
  game.LogText(player, kTextLogLandedOn, "%s slog %d-%d och hamnade på %s", game.PlayerName(player),
               state.die1, state.die2, game.PropertyName(p));
  if (property.owner == kNobody) {
    if (state.firstLap[player] == 0) {
      OfferProperty(game, p);
    } else if (game.texts.HasText(kTextFirstLapNoOffer)) {
      // The first-lap rule withholds the offer; the status line says why.
      state.statusNote = game.FormatCatalogue(kTextFirstLapNoOffer, game.PlayerName(player));
    }
    return;
  }
  const int owner = property.owner;
  if (owner == player || property.mortgaged != 0) return;
  if (owner < 0 || owner >= kMaxPlayers) return;
  game.ui.PlaySoundEffect(kSoundRent);
  if (property.group == kStationGroup) {
    ResolveStationRent(game, p, owner);
  } else if (property.group == kUtilityGroup) {
    ResolveUtilityRent(game, p, owner);
  } else {
    ResolveStreetRent(game, p, owner);
  }
}

void PayRepairs(Game& game, RepairCosts costs) {
  GameState& state = game.state;
  const int player = state.currentPlayer;
  int houses = 0;
  int hotels = 0;
  for (int p = 0; p < kStreetCount; ++p) {
    const Property& street = state.properties[p];
    if (street.owner != player) continue;
    if (street.houses == kHotel) {
      ++hotels;
    } else if (street.houses > 0 && street.houses < kHotel) {
      houses += street.houses;
    }
  }
  const int sum = houses * costs.perHouse + hotels * costs.perHotel;
  game.referee.Apply({Repairs{player, houses, hotels, sum}});
}

void CollectFromEveryone(Game& game, int amount) {
  const GameState& state = game.state;
  for (int i = 0; i < state.playerCount && i < kMaxPlayers; ++i) {
    if (i == state.currentPlayer || state.players[i].isBankrupt != 0) continue;
    game.referee.Apply({Payment{i, state.currentPlayer, amount, PaymentReason::Gift}});
  }
}

void KeepJailCard(Game& game, int card) {
  if (game.state.properties[card].owner == kNobody) {
    game.referee.Apply({JailCard{game.state.currentPlayer, card, false}});
  }
}

// Draws the next card of a deck and carries it out; true when it started a walk.
bool ResolveCard(Game& game, bool chance) {
  GameState& state = game.state;
  const int player = state.currentPlayer;
  Player& self = state.current();
  game.ui.PlaySoundEffect(chance ? kSoundChance : kSoundCommunity);

  Deck& deck = chance ? state.chanceDeck : state.communityDeck;
  int index = ((deck.next % kCardCount) + kCardCount) % kCardCount;
  int card = deck.cards[index];
  int jailCard = chance ? kChanceJailCard : kCommunityJailCard;
  // The jail card is not in the deck while somebody holds it.
  if (card == kJailCardNumber && state.properties[jailCard].owner != kNobody) {
    index = (index + 1) % kCardCount;
    card = deck.cards[index];
  }

  CardFace face = ReadCard(game, chance, card);
  int answer = game.referee.AskQuestion(face.text, !chance && card == kCommunityChoiceCard);
  std::string logged = face.text;
  if (std::size_t lf = logged.find('\n'); lf != std::string::npos) logged[lf] = ':';
  state.log.Add(player, logged);

  const int n = face.number;
  int target = -1;    // a square to walk forwards to
  int stepsBack = 0;  // steps to walk backwards
  bool toJail = false;
  if (chance) {
    switch (card) {
      case kJailCardNumber:
        KeepJailCard(game, jailCard);
        break;
      case 2:
        PayRepairs(game, kMajorRepairs);
        break;
      case 3:
        PayRepairs(game, kMinorRepairs);
        break;
      case 4:
      case 5:
      case 6:
        CardMoney(game, n);
        break;
      case 7:
      case 8:
      case 9:
        CardMoney(game, -n);
        break;
      case 10:
        toJail = true;
        break;
      case 11:
      case 12:
      case 13:
      case 14:
      case 15:
        target = CardSquare(n);
        break;
      case 16:
        stepsBack = kBackThree;
        break;
      default:
        break;
    }
  } else {
    switch (card) {
      case kJailCardNumber:
        KeepJailCard(game, jailCard);
        break;
      case kCommunityChoiceCard:
        if (answer == 1) {
          game.referee.Apply({Payment{player, kBank, kCommunityChoiceFine, PaymentReason::Card}},
                             game.referee.lastDecision());
        } else {
          deck.next = (index + 1) % kCardCount;
          return ResolveCard(game, true);
        }
        break;
      case 3:
        CollectFromEveryone(game, kBirthdayGift);
        break;
      case 4:
      case 5:
      case 6:
      case 7:
      case 8:
      case 9:
      case 10:
        CardMoney(game, n);
        break;
      case 11:
      case 12:
      case 13:
        CardMoney(game, -n);
        break;
      case 14:
        target = CardSquare(n);
        break;
      case 15:
        stepsBack = kBackToSquare - self.position;
        break;
      case 16:
        toJail = true;
        break;
      default:
        break;
    }
  }
  deck.next = (index + 1) % kCardCount;

  if (toJail) {
    // A jail card always ends on the jail square, whatever number an edited card carries.
    state.turnPhase = TurnPhase::ToJail;
    target = kJailSquare;
  }
  if (target >= 0) {
    state.stepsToMove = StepsForwardTo(self.position, target);
  } else if (stepsBack != 0) {
    state.stepsToMove = stepsBack;
  } else {
    return false;
  }
  StartQuickWalk(game);
  return true;
}

// The token has reached the jail on its way there: a held jail card is given back, else the
// player is jailed.
void ArriveInJail(Game& game) {
  GameState& state = game.state;
  const int player = state.currentPlayer;
  PropertyList& list = state.propertyLists[player];
  auto isHeldCard = [&](int item) {
    return item >= 0 && item < kPropertyCount && state.properties[item].group == kJailCardGroup &&
           state.properties[item].owner == player;
  };
  auto found = std::find_if(list.items.begin(), list.items.end(), isHeldCard);
  std::string message;
  if (found != list.items.end()) {
    message = game.Text(kTextJailCardUsed);
    game.referee.Apply({JailCard{player, *found, true}});
  } else {
    state.current().jailTurns = kArrivalJailTurns;
    message = game.Text(kTextJailed);
  }
  game.ui.PlaySoundEffect(kSoundJail);
  ShowNotice(game, message);
}

// Resolves the square of the current token; false when a walk was started instead.
bool ResolveSquare(Game& game) {
  GameState& state = game.state;
  const int player = state.currentPlayer;
  Player& self = state.current();
  if (state.turnPhase == TurnPhase::ToJail) ArriveInJail(game);

  const int square = ((self.position % kSquareCount) + kSquareCount) % kSquareCount;
  const int code = kBoardLayout[square];
  if (code >= 0) {
    ResolveProperty(game, code);
    return true;
  }
  switch (static_cast<SquareKind>(code)) {
    case SquareKind::Chance:
    case SquareKind::Community: {
      bool chance = static_cast<SquareKind>(code) == SquareKind::Chance;
      if (chance) {
        game.LogText(player, kTextLogLandedOnChance, "%s slog %d-%d och hamnade på Chans",
                     game.PlayerName(player), state.die1, state.die2);
      } else {
        game.LogText(player, kTextLogLandedOnCommunity, "%s slog %d-%d och hamnade på Allmänning",
                     game.PlayerName(player), state.die1, state.die2);
      }
      return !ResolveCard(game, chance);
    }
    case SquareKind::Tax:
      game.LogText(player, kTextLogLandedOnTax, "%s slog %d-%d och hamnade på Skatteruta",
                   game.PlayerName(player), state.die1, state.die2);
      game.ui.PlaySoundEffect(kSoundTax);
      game.referee.Apply({Payment{
          player, kBank, square == kIncomeTaxSquare ? kIncomeTax : kOtherTax, PaymentReason::Tax}});
      return true;
    case SquareKind::GoToJail:
      game.LogText(player, kTextLogSentToJail, "%s slog %d-%d och hamnade i Fängelset",
                   game.PlayerName(player), state.die1, state.die2);
      state.turnPhase = TurnPhase::ToJail;
      state.stepsToMove = StepsForwardTo(square, kJailSquare);
      StartQuickWalk(game);
      return false;
    case SquareKind::Go:
      game.LogText(player, kTextLogLandedOnGo, "%s slog %d-%d och hamnade på Gå",
                   game.PlayerName(player), state.die1, state.die2);
      return true;
    case SquareKind::Corner:
      if (square == kJailSquare && state.turnPhase != TurnPhase::ToJail) {
        game.LogText(player, kTextLogVisitingJail, "%s slog %d-%d och hamnade på besök i Fängelset",
                     game.PlayerName(player), state.die1, state.die2);
      }
      return true;
  }
  return true;
}

// The next player still in the game after the current one; the current one when there is none.
int NextPlayerInGame(const GameState& state) {
  const int count = std::clamp(state.playerCount, 1, kMaxPlayers);
  for (int k = 1; k <= count; ++k) {
    int candidate = (state.currentPlayer + k) % count;
    if (state.players[candidate].isBankrupt == 0) return candidate;
  }
  return state.currentPlayer;
}

bool PersonStillPlaying(const Game& game) {
  const GameState& state = game.state;
  for (int i = 0; i < state.playerCount && i < kMaxPlayers; ++i) {
    if (game.referee.IsLocalPerson(i) && state.players[i].isBankrupt == 0) return true;
  }
  return false;
}

}  // namespace

int Game::ResolveLanding(bool tailOnly) {
  if (!tailOnly) {
    state.unsavedProgress = true;
    if (!ResolveSquare(*this)) return 0;
    if (state.turnPhase != TurnPhase::ToJail && state.die1 == state.die2) {
      ++state.doublesInRow;  // the same player throws again
    } else {
      if (state.playerCount != 0) PassTurnTo(NextPlayerInGame(state));
      state.doublesInRow = 0;
    }
  }

  for (;;) {
    // A network player who has left in his own turn throws no more.
    if (state.current().isBankrupt != 0 && NextPlayerInGame(state) != state.currentPlayer) {
      state.currentPlayer = NextPlayerInGame(state);
      state.doublesInRow = 0;
    }
    // Only a player who goes on after a double is told to throw again.
    const bool throwsAgain = state.doublesInRow > 0;
    Player& self = state.current();
    if (referee.IsRemote(state.currentPlayer)) {
      state.statusText =
          FormatCatalogue(kTextRemoteTurn, PlayerName(state.currentPlayer),
                          throwsAgain ? Text(kTextRemoteThrowsAgain) : std::string());
    } else {
      state.statusText = Text(throwsAgain ? kTextThrowAgain : kTextYourTurn);
    }
    if (!state.statusNote.empty()) {
      state.statusText = state.statusNote + ' ' + state.statusText;
      state.statusNote.clear();
    }
    state.statusText = std::string(CutUtf8(state.statusText, kStatusTextBytes));
    // While the start of the turn is settled the status line says only what is asked: the
    // password, or nothing beside the jail's question; what the turn says follows.
    const bool login = !self.password.empty() && state.doublesInRow == 0;
    const bool jailed = self.jailTurns > 0;
    const std::string turnStatus = state.statusText;
    if (login) {
      state.statusText = std::string(CutUtf8(
          FormatCatalogue(kTextPasswordPrompt, PlayerName(state.currentPlayer)), kStatusTextBytes));
    } else if (jailed) {
      state.statusText.clear();
    }
    ui.Changed({Changes::kStatusLine});
    state.turnPhase = TurnPhase::AwaitRoll;
    ui.Changed({Changes::kPanel | Changes::kCentre});

    if (login) {
      if (!referee.AskLogin()) return 1;
      if (jailed) state.statusText.clear();
    }
    JailTurnStart();
    if (state.statusText != turnStatus) {
      state.statusText = turnStatus;
      ui.Changed({Changes::kStatusLine});
    }
    state.askedThisTurn.fill(0);
    // A computer player deals at the start of its turn. In a network game the host's computers
    // deal and throw when every computer waits for their throw (the network session sees to it),
    // so that their deals reach the others at the same point of the game.
    const bool networked = state.networkGame != NetRole::None;
    if (!networked && IsComputerPlayer(self)) RunComputerTransactions(*this);

    bool handedOn = false;
    while (state.current().money < 0) {
      bool announce = PersonStillPlaying(*this);
      if (!CannotPay(state.properties, state.players, announce)) {
        referee.AskQuestion(Text(kTextDebtQuestion), true);
      }
      if (state.current().money < 0) {
        if (GoBankrupt()) return 1;
        ui.Changed({Changes::kPanel | Changes::kCentre});
        state.doublesInRow = 0;
        handedOn = true;
        break;
      }
    }
    if (handedOn) continue;  // the end of the turn again, for the next player

    ui.Changed({Changes::kTurnEnded});
    // A computer player at this computer throws at once; one elsewhere throws there.
    if (!networked && !IsPersonHere(state.current()) && !referee.IsRemote(state.currentPlayer)) {
      Roll();
    } else {
      ui.Changed({Changes::kFocusRoll});
    }
    return 1;
  }
}

void Game::PassTurnTo(int player) {
  const int from = state.currentPlayer;
  state.currentPlayer = player;
  history.TurnPassed(state, from);
}

void Game::JailTurnStart() {
  if (state.turnPhase == TurnPhase::AwaitLogin) return;
  Player& self = state.current();
  if (self.jailTurns > 1) {
    PropertyList& list = state.propertyLists[state.currentPlayer];
    int last = list.items.empty() ? -1 : list.items.back();
    if (last >= 0 && last < kPropertyCount && state.properties[last].group == kJailCardGroup &&
        state.properties[last].owner == state.currentPlayer) {
      referee.Apply({JailCard{state.currentPlayer, last, true}, false});
      ShowNotice(*this, Text(kTextJailCardUsed));
      self.jailTurns = 0;
    } else if (referee.AskQuestion(
                   FormatCatalogue(kTextBailQuestion, PlayerName(state.currentPlayer)), true) ==
               1) {
      referee.Apply({Payment{state.currentPlayer, kBank, kBail, PaymentReason::Bail}},
                    referee.lastDecision());
      self.jailTurns = 0;
    } else {
      --self.jailTurns;
    }
  } else if (self.jailTurns == 1) {
    ShowNotice(*this, Text(kTextLastJailTurn));
    referee.Apply({Payment{state.currentPlayer, kBank, kBail, PaymentReason::Bail}});
    self.jailTurns = 0;
  }
  ui.Changed({Changes::kPanel});
}

}  // namespace tomtura
