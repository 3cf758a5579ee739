// The auction of a declined property: the state machine that the referee runs with the
// bidders' decisions and the auction dialog shows.
#include "trade/auction.h"

#include <cstdint>
#include <limits>

#include "trade/questions.h"

namespace tomtura {

namespace {

// The opening before the first bid, for a board file without its own words for it.
constexpr std::string_view kOpeningMessage =
    "%s is sold in an auction,  price $%d. No one has offered anything. %s, go ahead and bid!";
constexpr std::string_view kOpeningTitle = "Tomtura Auction. Bidder: %s";

bool InGame(const GameState& state, int player) {
  return state.players[player].isBankrupt == 0;
}

}  // namespace

Auction::Auction(Tabletop& table) : game_(table) {
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
  message_ = FormatText(game_.TextOr(kTextAuctionOpening, kOpeningMessage),
                        game_.PropertyName(property_), int{p.price}, game_.PlayerName(bidder_));
  title_ =
      FormatText(game_.TextOr(kTextAuctionOpeningTitle, kOpeningTitle), game_.PlayerName(bidder_));
}

bool Auction::BidderHasPassword() const {
  return !game_.state.players[bidder_].password.empty();
}

Auction::BidResult Auction::Check(unsigned amount, std::string_view passwordUtf8) const {
  const Player& bidder = game_.state.players[bidder_];
  if (!ended_ && !bidder.password.empty() && !PasswordMatches(bidder.password, passwordUtf8)) {
    return BidResult::WrongPassword;
  }
  return CheckAmount(amount);
}

Auction::BidResult Auction::CheckAmount(unsigned amount) const {
  const Player& bidder = game_.state.players[bidder_];
  if (ended_ || amount <= static_cast<unsigned>(highestBid_)) return BidResult::TooLow;
  // A bid the winner's money could not absorb would overflow it; it is refused like a low one.
  const std::int64_t moneyAfter = std::int64_t{bidder.money} - std::int64_t{amount};
  if (amount > static_cast<unsigned>(std::numeric_limits<std::int32_t>::max()) ||
      moneyAfter < std::numeric_limits<std::int32_t>::min()) {
    return BidResult::TooLow;
  }
  return BidResult::Taken;
}

Auction::BidResult Auction::Bid(unsigned amount) {
  if (CheckAmount(amount) != BidResult::Taken) return BidResult::TooLow;
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
    message_ = game_.FormatCatalogue(kTextAuctionNoBid, game_.PropertyName(property_), price,
                                     game_.PlayerName(bidder_));
  } else {
    message_ = game_.FormatCatalogue(kTextAuctionHighest, game_.PropertyName(property_), price,
                                     game_.PlayerName(highestBidder_), highestBid_,
                                     game_.PlayerName(bidder_));
  }
  title_ = game_.FormatCatalogue(kTextAuctionTitle, game_.PlayerName(bidder_));
}

void Auction::Finish() {
  ended_ = true;
  const std::string winner = game_.PlayerName(highestBidder_);
  const std::string property = game_.PropertyName(property_);
  message_ = game_.FormatCatalogue(kTextAuctionWon, winner, property, highestBid_);
  title_ = game_.Text(kTextAuctionOverTitle);
}

}  // namespace tomtura
