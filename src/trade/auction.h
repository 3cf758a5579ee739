#pragma once
// The auction of a property that its visitor declined: every player still in the game bids in
// turn or passes; when fewer than two are left in, the highest bidder wins. The referee drives
// this state machine with the bidders' decisions and applies its result; the dialog only shows
// it.
#include <array>
#include <string>
#include <string_view>

#include "data/tabletop.h"

namespace tomtura {

class Auction {
 public:
  // Opens the auction of the property on the current player's square: no bid yet, the
  // highest-numbered player still in the game as default winner, the lowest-numbered as bidder.
  explicit Auction(Tabletop& table);

  enum class BidResult { Taken, WrongPassword, TooLow };

  // Whether the bidder may bid `amount`: his password (first 3 characters, exactly) when he
  // has one, then the amount must exceed the highest bid and fit the winner's money. Changes
  // nothing.
  BidResult Check(unsigned amount, std::string_view passwordUtf8) const;
  // The amount alone: Taken when it exceeds the highest bid and fits the bidder's money.
  BidResult CheckAmount(unsigned amount) const;
  // A bid by the bidder, whose password has been given: taken when the amount passes Check,
  // and then the turn moves on to the next bidder, or the auction ends when fewer than two
  // players are left in.
  BidResult Bid(unsigned amount);
  // A pass (no password): the bidder is out of this auction.
  void Pass();

  bool ended() const { return ended_; }
  int property() const { return property_; }
  int bidder() const { return bidder_; }
  int highestBid() const { return highestBid_; }
  int highestBidder() const { return highestBidder_; }
  bool passed(int player) const { return passed_[player] != 0; }
  bool BidderHasPassword() const;

  // The message and the window title for the present state (UTF-8).
  const std::string& message() const { return message_; }
  const std::string& title() const { return title_; }

 private:
  void Advance();
  void Finish();

  Tabletop& game_;
  int property_ = 0;
  int bidder_ = 0;
  int highestBidder_ = 0;
  int highestBid_ = 0;
  std::array<int, kMaxPlayers> passed_{};
  bool ended_ = false;
  std::string message_;
  std::string title_;
};

}  // namespace tomtura
