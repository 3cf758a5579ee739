#pragma once
// The deals of the play window, without its window: the player on turn buys from and sells to
// other players, mortgages, unmortgages and builds, all on working copies of the players and
// the property table. After OK the referee applies what the copies came to as outcomes
// (CommitOutcomes); Cancel leaves the game as it was, except for the inquiry flags of refused
// offers.
#include <optional>
#include <string>
#include <vector>

#include "data/outcome.h"
#include "data/tabletop.h"

namespace tomtura {

enum class PlayPage {
  Buy = 0,
  Sell = 1,
  Mortgage = 2,
  Unmortgage = 3,
  BuyHouse = 4,
  SellHouse = 5
};

class PlayWindowDeals {
 public:
  // Fills the working copies from the live tables.
  explicit PlayWindowDeals(Tabletop& table);
  PlayWindowDeals(const PlayWindowDeals&) = delete;
  PlayWindowDeals& operator=(const PlayWindowDeals&) = delete;

  // What a page action came to. The numbers are the catalogue texts the window shows.
  enum class Result {
    Done,
    Refused,  // the partner said no; the property is marked as asked
    NothingChosen = 98,
    NotEnoughMoney = 99,
    Uneven = 108,
  };

  int actor() const { return actor_; }
  const PropertyTable& properties() const { return game_.state.workProperties; }
  const PlayerTable& players() const { return game_.state.workPlayers; }
  int workMoney() const { return players()[actor_].money; }
  // The pages that spend money are closed while the working money is negative.
  bool PageLocked(PlayPage page) const;

  // ---- Lists of the pages ----
  std::vector<int> Partners() const;             // other players still in the game
  std::vector<int> TradeList(int player) const;  // tradeable properties of a player
  std::vector<int> MortgageList() const;
  std::vector<int> UnmortgageList() const;
  std::vector<int> BuyHouseList() const;
  std::vector<int> SellHouseList() const;

  // ---- Actions ----
  // Page 0: buy `wanted` (-1 = none chosen) from `partner` for `price`; with `exchange` the
  // player also gives `own` (-1 = none chosen).
  Result AskBuy(int partner, int wanted, bool exchange, int own, int price);
  // Page 1: sell `own` (-1 = none chosen) to `partner` for `price`; with `exchange` the player
  // also takes `partnerProperty` (-1 = none chosen).
  Result AskSell(int partner, int own, bool exchange, int partnerProperty, int price);
  // After a sale's inquiry: true when the player can no longer pay (announced by message);
  // the window then closes as with OK.
  bool CannotPayAfterSale();
  Result Mortgage(int p);
  Result Unmortgage(int p);
  Result BuyHouse(int p);
  Result SellHouse(int p);

  // The offer text of a purchase (page 0) or sale (page 1), as the consent dialog shows it, and
  // its words.
  std::string BuyOfferText(int partner, int wanted, int own, int price) const;
  std::string SellOfferText(int partner, int own, int partnerProperty, int price) const;
  OfferWords BuyOfferWords(int wanted, int own, int price) const;
  OfferWords SellOfferWords(int own, int partnerProperty, int price) const;

 private:
  // A change of the working copies; Done when it fits them.
  Result Work(const Outcome& outcome);
  // Puts the offer to the partner and tells the player his answer, naming `dealt`, the property
  // the offer was about.
  bool AskPartner(int partner, const OfferWords& words, int moneyReceived, int given, int received,
                  int dealt);
  std::string AnswerText(int partner, int dealt, bool accepted) const;
  bool GroupHasHouses(int p) const;

  Tabletop& game_;
  int actor_;
};

// What a play window of `actor` that turned `before` into `players` and `properties` comes to,
// as outcomes in an order in which each one fits: the players the host reports gone, the
// mortgages and houses of what the actor gave away, his deal with each partner, the mortgages
// and houses of what he holds now, and what his round trips with the bank cost him (interest on
// a mortgage lifted and taken again, houses bought and sold back). Nothing when the tables
// cannot have come from such a window: anything else changed, somebody else's money or
// properties moved otherwise, or the actor gained money from the bank that nothing explains.
// The players' connection fields are each computer's own and are not compared.
std::optional<std::vector<Outcome>> CommitOutcomes(const GameState& before, int actor,
                                                   const PlayerTable& players,
                                                   const PropertyTable& properties);

}  // namespace tomtura
