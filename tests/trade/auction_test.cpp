// Auctions: bidding order, passwords and the default winner.
#include "trade/auction.h"

#include <limits>

#include "deal_fixture.h"

namespace tomtura::trade_test {
namespace {

using Result = Auction::BidResult;

// The current player stands on square 6, the square of street 2 (price 2000).
struct AuctionGame : DealGame {
  explicit AuctionGame(int players, const std::string& texts = "") : DealGame(players, texts) {
    player(0).position = 6;
  }
};

TEST(Auction, WhenEveryonePassesTheHighestNumberedPlayerStillInGetsItForNothing) {
  AuctionGame g(5);
  g.player(0).isBankrupt = g.player(4).isBankrupt = 1;
  Auction a(g.game);
  EXPECT_EQ(std::tuple(a.property(), a.bidder(), a.highestBidder()), std::tuple(2, 1, 3));
  a.Pass();
  EXPECT_EQ(a.message(), "Gata 2 (2000): inget. SpelareC?");
  a.Pass();
  ASSERT_TRUE(a.ended());
  EXPECT_EQ(a.message(), "SpelareD vann Gata 2 för 0 kr");

  // Run by the referee, the default winner buys it for nothing.
  for (int n = 1; n < 4; ++n) g.player(n).isComputer = kPersonHere;
  EXPECT_EQ(g.game.referee.RunAuction(), 3);
  EXPECT_EQ(std::pair(g.prop(2).owner, g.player(3).money), std::pair(std::int16_t{3}, 30000));
  EXPECT_EQ(g.game.state.log.entries().front(), "3SpelareD  buy  Gata 2 in auction for 0 $ ");
}

TEST(Auction, PasswordsTooLowBidsAndTheOrderOfBidders) {
  AuctionGame g(4);
  g.player(0).password.setUtf8("abc");
  g.player(2).password.setUtf8("xyz");
  Auction a(g.game);
  EXPECT_EQ(a.Check(500, "abd"), Result::WrongPassword);
  EXPECT_EQ(a.Check(0, "abc"), Result::TooLow);
  EXPECT_EQ(a.Check(500, "abcX"), Result::Taken);
  EXPECT_EQ(a.Bid(500), Result::Taken);
  EXPECT_EQ(a.Bid(500), Result::TooLow);
  a.Pass();
  a.Pass();  // player 2 passes without his password
  EXPECT_EQ(a.bidder(), 3);
  EXPECT_EQ(a.message(), "Gata 2 (2000): SpelareA bjuder 500. SpelareD?");
  EXPECT_EQ(a.Bid(700), Result::Taken);
  EXPECT_EQ(a.bidder(), 0);
  g.player(0).money = 100;
  EXPECT_EQ(a.Bid(800), Result::Taken);
  EXPECT_EQ(a.bidder(), 3);  // players 1 and 2 are out
  a.Pass();
  ASSERT_TRUE(a.ended());
  // The bid is not checked against the winner's money.
  EXPECT_EQ(std::pair(a.highestBidder(), a.highestBid()), std::pair(0, 800));
}

// The opening and the log line are the edition's; a board file older than them keeps the
// program's own.
TEST(Auction, OpensAndLogsInTheEditionsWordsWhenItHasThem) {
  AuctionGame older(2);
  Auction before(older.game);
  EXPECT_EQ(std::pair(before.message(), before.title()),
            std::pair(std::string("Gata 2 is sold in an auction,  price $2000. No one has offered "
                                  "anything. SpelareA, go ahead and bid!"),
                      std::string("Tomtura Auction. Bidder: SpelareA")));

  AuctionGame g(2,
                "176=%s won %s for £%d\n177=%s (£%d) goes under the hammer. %s first!\n"
                "178=Auction: %s\n");
  Auction a(g.game);
  EXPECT_EQ(std::pair(a.message(), a.title()),
            std::pair(std::string("Gata 2 (£2000) goes under the hammer. SpelareA first!"),
                      std::string("Auction: SpelareA")));
  EXPECT_EQ(a.Bid(900), Result::Taken);
  a.Pass();
  ASSERT_TRUE(a.ended());
  g.game.referee.Apply({Purchase{a.highestBidder(), a.property(), a.highestBid(), true}});
  EXPECT_EQ(g.game.state.log.entries().front(), "0SpelareA won Gata 2 for £900");
}

TEST(Auction, BidsThatWouldOverflowTheWinnersMoneyAreRefused) {
  AuctionGame g(2);
  Auction a(g.game);
  EXPECT_EQ(a.Bid(4000000000u), Result::TooLow);
  g.player(0).money = -100000;
  EXPECT_EQ(a.Bid(std::numeric_limits<std::int32_t>::max()), Result::TooLow);
  g.player(0).money = 0;
  EXPECT_EQ(a.Bid(std::numeric_limits<std::int32_t>::max()), Result::Taken);
}

}  // namespace
}  // namespace tomtura::trade_test
