#pragma once
// The deals of the play window, without its window: the player on turn buys from and sells to
// other players, mortgages, unmortgages and builds, all on working copies of the players and
// the property table. The referee opens it and, after OK, calls Commit(), which writes the
// copies back with their log lines; dropping the object without Commit() is Cancel and leaves
// the game as it was, except for the inquiry flags of refused offers.
#include <vector>

#include "rules/game.h"

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
  explicit PlayWindowDeals(Game& game);
  PlayWindowDeals(const PlayWindowDeals&) = delete;
  PlayWindowDeals& operator=(const PlayWindowDeals&) = delete;

  // What a page action came to. The numbers are the catalogue texts the window shows.
  enum class Outcome {
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
  Outcome AskBuy(int partner, int wanted, bool exchange, int own, int price);
  // Page 1: sell `own` (-1 = none chosen) to `partner` for `price`; with `exchange` the player
  // also takes `partnerProperty` (-1 = none chosen).
  Outcome AskSell(int partner, int own, bool exchange, int partnerProperty, int price);
  // After a sale's inquiry: true when the player can no longer pay (announced by message);
  // the window then closes as with OK.
  bool CannotPayAfterSale();
  Outcome Mortgage(int p);
  Outcome Unmortgage(int p);
  Outcome BuyHouse(int p);
  Outcome SellHouse(int p);

  // The offer text of a purchase (page 0) or sale (page 1), as the consent dialog shows it.
  std::string BuyOfferText(int partner, int wanted, int own, int price) const;
  std::string SellOfferText(int partner, int own, int partnerProperty, int price) const;

  // OK: log lines for what changed (unless `logLines` is off), the copies over the live tables,
  // redraws.
  void Commit(bool logLines = true);

 private:
  // Puts the offer to the partner and tells the player his answer, naming `dealt`, the property
  // the offer was about.
  bool AskPartner(int partner, const std::string& offer, int moneyReceived, int given, int received,
                  int dealt);
  std::string AnswerText(int partner, int dealt, bool accepted) const;
  bool GroupHasHouses(int p) const;

  Game& game_;
  int actor_;
};

}  // namespace tomtura
