// The auction of a declined property: the state machine behind the auction dialog, and a whole
// auction played by the computer's decisions for the headless front end.
#include "trade/auction.h"

#include <cstdint>
#include <limits>

#include "trade/dialogs.h"

namespace tomtura {

namespace {

constexpr std::string_view kOpeningMessage =
    "%s is sold in an auction,  price $%d. No one has offered anything. %s, go ahead and bid!";
constexpr std::string_view kOpeningTitle = "Brikanda Auction. Bidder: %s";

bool InGame(const GameState& state, int player) {
  return state.players[player].isBankrupt == 0;
}

}  // namespace

Auction::Auction(Game& game) : game_(game) {
  GameState& state = game_.state;
  const int square = state.current().position;
  property_ = square >= 0 && square < kSquareCount ? kBoardLayout[square] : -1;
  // Only an unowned property on the board is auctioned; the offer names it when the square
  // does not.
  if (property_ < 0 || property_ >= kBoardPropertyCount) {
    property_ = state.offeredProperty >= 0 && state.offeredProperty < kBoardPropertyCount
                    ? state.offeredProperty
                    : 0;
  }

  highestBid_ = 0;
  highestBidder_ = state.currentPlayer;
  bidder_ = state.currentPlayer;
  for (int n = state.playerCount - 1; n >= 0; --n) {
    if (InGame(state, n)) {
      highestBidder_ = n;
      break;
    }
  }
  for (int n = 0; n < state.playerCount; ++n) {
    if (InGame(state, n)) {
      bidder_ = n;
      break;
    }
  }

  const Property& p = state.properties[property_];
  message_ = FormatText(kOpeningMessage, game_.PropertyName(property_), int{p.price},
                        game_.PlayerName(bidder_));
  title_ = FormatText(kOpeningTitle, game_.PlayerName(bidder_));
}

bool Auction::BidderHasPassword() const {
  return !game_.state.players[bidder_].password.empty();
}

bool Auction::BidderIsComputer() const {
  return game_.state.players[bidder_].isComputer == 1;
}

Auction::BidResult Auction::Bid(unsigned amount, std::string_view passwordUtf8) {
  if (ended_) return BidResult::TooLow;
  const Player& bidder = game_.state.players[bidder_];
  if (!bidder.password.empty() && !PasswordMatches(bidder.password, passwordUtf8)) {
    return BidResult::WrongPassword;
  }
  if (amount <= static_cast<unsigned>(highestBid_)) return BidResult::TooLow;
  // A bid the winner's money could not absorb would overflow it; it is refused like a low one.
  const std::int64_t moneyAfter = std::int64_t{bidder.money} - std::int64_t{amount};
  if (amount > static_cast<unsigned>(std::numeric_limits<std::int32_t>::max()) ||
      moneyAfter < std::numeric_limits<std::int32_t>::min()) {
    return BidResult::TooLow;
  }
  highestBid_ = static_cast<int>(amount);
  highestBidder_ = bidder_;
  Advance();
  return BidResult::Taken;
}

void Auction::Pass() {
  if (ended_) return;
  passed_[bidder_] = 1;
  Advance();
}

int Auction::ComputerRaise() {
  if (ended_) return 0;
  return game_.ComputerAuctionRaise(bidder_, highestBid_, property_);
}

void Auction::Advance() {
  const GameState& state = game_.state;
  int remaining = 0;
  for (int n = 0; n < state.playerCount; ++n) {
    if (InGame(state, n) && passed_[n] == 0) ++remaining;
  }
  if (remaining < 2) {
    Finish();
    return;
  }
  do {
    bidder_ = (bidder_ + 1) % state.playerCount;
  } while (!InGame(state, bidder_) || passed_[bidder_] != 0);

  const int price = state.properties[property_].price;
  if (highestBid_ == 0) {
    message_ =
        game_.FormatCatalogue(62, game_.PropertyName(property_), price, game_.PlayerName(bidder_));
  } else {
    message_ = game_.FormatCatalogue(61, game_.PropertyName(property_), price,
                                     game_.PlayerName(highestBidder_), highestBid_,
                                     game_.PlayerName(bidder_));
  }
  title_ = game_.FormatCatalogue(63, game_.PlayerName(bidder_));
}

void Auction::Finish() {
  ended_ = true;
  const std::string winner = game_.PlayerName(highestBidder_);
  const std::string property = game_.PropertyName(property_);
  message_ = game_.FormatCatalogue(59, winner, property, highestBid_);
  title_ = game_.Text(60);
  // The bid is not checked against the winner's money: he may end in debt.
  game_.state.players[highestBidder_].money -= highestBid_;
  game_.Log(highestBidder_, "%s  buy  %s in auction for %d $ ", winner, property, highestBid_);
}

int RunComputerAuction(Game& game) {
  Auction auction(game);
  while (!auction.ended()) {
    const int raise = auction.ComputerRaise();
    // A bid that is not taken (a person's password) counts as a pass, so the auction ends.
    if (raise <= 0 || auction.Bid(static_cast<unsigned>(auction.highestBid() + raise), "") !=
                          Auction::BidResult::Taken) {
      auction.Pass();
    }
  }
  return auction.highestBidder();
}

}  // namespace tomtura
