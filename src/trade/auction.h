#pragma once
// The auction of a property that its visitor declined: every player still in the game bids in
// turn or passes; when fewer than two are left in, the highest bidder pays and wins. The
// dialog (or the headless front end) drives this state machine and only shows what it says.
#include <array>
#include <string>
#include <string_view>

#include "rules/game.h"

namespace tomtura {

class Auction {
 public:
  // Opens the auction of the property on the current player's square: no bid yet, the
  // highest-numbered player still in the game as default winner, the lowest-numbered as bidder.
  explicit Auction(Game& game);

  enum class BidResult { Taken, WrongPassword, TooLow };

  // A bid by the bidder: `password` is checked (first 3 characters, exactly) when he has one,
  // then the amount must exceed the highest bid. A taken bid moves on to the next bidder, or
  // ends the auction when fewer than two players are left in.
  BidResult Bid(unsigned amount, std::string_view passwordUtf8);
  // A pass (no password): the bidder is out of this auction.
  void Pass();

  // What the computer bidder does now: 0 = pass, else the raise over the highest bid.
  int ComputerRaise();

  bool ended() const { return ended_; }
  int property() const { return property_; }
  int bidder() const { return bidder_; }
  int highestBid() const { return highestBid_; }
  int highestBidder() const { return highestBidder_; }
  bool passed(int player) const { return passed_[player] != 0; }
  bool BidderHasPassword() const;
  bool BidderIsComputer() const;

  // The message and the window title for the present state (UTF-8).
  const std::string& message() const { return message_; }
  const std::string& title() const { return title_; }

 private:
  void Advance();
  void Finish();

  Game& game_;
  int property_ = 0;
  int bidder_ = 0;
  int highestBidder_ = 0;
  int highestBid_ = 0;
  std::array<int, kMaxPlayers> passed_{};
  bool ended_ = false;
  std::string message_;
  std::string title_;
};

// Runs a whole auction with every bidder answered by the computer's decision; returns the
// winner. Used by the headless front end.
int RunComputerAuction(Game& game);

}  // namespace tomtura
