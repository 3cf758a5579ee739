// SPDX-License-Identifier: GPL-3.0-or-later
// Log lines of the outcomes. The fallbacks are what the program wrote before the board file
// had its own words for them.
#include "data/outcome_log.h"

#include "data/tabletop.h"
#include "data/text_ids.h"

namespace tomtura {

namespace {

void Log(Tabletop& t, const Purchase& o) {
  if (o.auction) {
    t.LogText(o.player, kTextLogAuctionWon, "%s  buy  %s in auction for %d $ ",
              t.PlayerName(o.player), t.PropertyName(o.property), o.price);
  } else {
    t.LogText(o.player, kTextLogBought, "%s köpte %s för %d kr.", t.PlayerName(o.player),
              t.PropertyName(o.property), o.price);
  }
}

// The only property of a mask with one bit; kNobody for none or several.
int Single(std::uint32_t mask) {
  int found = kNobody;
  for (int p = 0; p < kPropertyCount; ++p) {
    if ((mask & PropertyBit(p)) == 0) continue;
    if (found != kNobody) return kNobody;
    found = p;
  }
  return found;
}

void Log(Tabletop& t, const Deal& o) {
  const std::string actor = t.PlayerName(o.actor);
  const std::string partner = t.PlayerName(o.partner);
  const int got = Single(o.toActor);
  const int gave = Single(o.toPartner);
  if (o.source == DealSource::Computer) {
    // An exchange says who paid whom: the computer player, or the partner when the computer
    // player's property was worth more.
    if (got != kNobody && gave != kNobody && o.money >= 0) {
      t.LogText(o.actor, kTextLogExchanged, "%s köpte %s av %s för %s och %d kr", actor,
                t.PropertyName(got), partner, t.PropertyName(gave), o.money);
      return;
    }
    if (got != kNobody && gave != kNobody) {
      t.LogText(o.actor, kTextLogExchangedPaid, "%s fick %s och %d kr av %s för %s", actor,
                t.PropertyName(got), -o.money, partner, t.PropertyName(gave));
      return;
    }
    if (got != kNobody && o.toPartner == 0) {
      t.LogText(o.actor, kTextLogBoughtFor, "%s köpte %s av %s för %d kr", actor,
                t.PropertyName(got), partner, o.money);
      return;
    }
    if (gave != kNobody && o.toActor == 0) {
      t.LogText(o.actor, kTextLogSoldFor, "%s sålde %s till %s för %d kr", actor,
                t.PropertyName(gave), partner, -o.money);
      return;
    }
  }
  // The play window's deals name each property that changed hands.
  for (int p = 0; p < kPropertyCount; ++p) {
    if ((o.toActor & PropertyBit(p)) != 0) {
      t.LogText(o.actor, kTextLogBoughtFrom, "%s köpte %s av %s", actor, t.PropertyName(p),
                partner);
    }
    if ((o.toPartner & PropertyBit(p)) != 0) {
      t.LogText(o.actor, kTextLogSoldTo, "%s sålde %s till %s", actor, t.PropertyName(p), partner);
    }
  }
}

void Log(Tabletop& t, const Payment& o) {
  // Of the payments only a street's rent has a line: its message's details.
  if (o.reason != PaymentReason::Rent || o.note.empty()) return;
  t.LogText(o.from, kTextLogRent, "%s betalar hyra. %s", t.PlayerName(o.from), o.note);
}

void Log(Tabletop& t, const Repairs& o) {
  t.LogText(o.player, kTextLogRepairs, "%s har %d hus och %d hotell och får betala %d kr.",
            t.PlayerName(o.player), o.houses, o.hotels, o.amount);
}

void Log(Tabletop& t, const Mortgage& o) {
  if (o.lift) {
    t.LogText(o.player, kTextLogUnmortgaged, "%s upptecknade %s", t.PlayerName(o.player),
              t.PropertyName(o.property));
  } else {
    t.LogText(o.player, kTextLogMortgaged, "%s intecknade %s", t.PlayerName(o.player),
              t.PropertyName(o.property));
  }
}

void Log(Tabletop& t, const Houses& o) {
  const std::string player = t.PlayerName(o.player);
  const std::string street = t.PropertyName(o.property);
  if (o.count > 0) {
    const bool hotel = t.state.properties[o.property].houses == kHotel;
    t.LogText(o.player, kTextLogBuilt, "%s köpte %s på %s", player,
              hotel ? t.TextOr(kTextLogHotelWord, "hotell") : t.TextOr(kTextLogHouseWord, "hus"),
              street);
  } else if (o.source == DealSource::Computer) {
    t.LogText(o.player, kTextLogHouseSoldFrom, "%s sålde hus från %s", player, street);
  } else {
    t.LogText(o.player, kTextLogHouseSoldOn, "%s sålde hus på %s", player, street);
  }
}

void Log(Tabletop& t, const JailCard& o) {
  if (!o.used) return;  // the card drawn has its own line
  t.LogText(o.player, kTextLogJailCardUsed, "%s slipper ut ur fängelset med sitt kort",
            t.PlayerName(o.player));
}

void Log(Tabletop& t, const Bankruptcy& o) {
  t.LogText(o.player, kTextLogBankrupt, "%s är bankrutt och åker ut", t.PlayerName(o.player));
}

void Log(Tabletop& t, const PlayerGone& o) {
  int why = 0;
  switch (o.reason) {
    case LeaveReason::Unknown:
      t.LogText(o.player, kTextPlayerGone, "%s har lämnat spelet.", t.PlayerName(o.player));
      return;
    case LeaveReason::ConnectionLost:
      why = kTextLeftConnectionLost;
      break;
    case LeaveReason::Chose:
      why = kTextLeftByChoice;
      break;
    case LeaveReason::Refused:
      why = kTextLeftRefused;
      break;
    case LeaveReason::WaitOver:
      why = kTextLeftWaitOver;
      break;
  }
  t.LogText(o.player, kTextLogLeftGame, "%s lämnade spelet: %s", t.PlayerName(o.player),
            t.Text(why));
}

}  // namespace

void LogOutcome(Tabletop& table, const Outcome& outcome) {
  if (!outcome.logged) return;
  std::visit([&](const auto& o) { Log(table, o); }, outcome.what);
}

}  // namespace tomtura
