#include "data/tabletop.h"

#include "data/text_ids.h"

namespace tomtura {

std::string Tabletop::OfferName(int p, const PropertyTable& table) const {
  std::string name = table[p].name.utf8();
  if (table[p].mortgaged != 0) name += "(" + Text(kTextMortgaged) + ")";
  return name;
}

namespace {

bool IsPlayer(int player) {
  return player >= 0 && player < kMaxPlayers;
}

bool IsProperty(int p) {
  return p >= 0 && p < kPropertyCount;
}

}  // namespace

OfferWords Tabletop::WordsOf(int text, int actor, int first, int second, int amount,
                             const PropertyTable& table) const {
  OfferWords words{text, actor, first, second, amount};
  words.firstMortgaged = IsProperty(first) && table[first].mortgaged != 0;
  words.secondMortgaged = IsProperty(second) && table[second].mortgaged != 0;
  return words;
}

std::string Tabletop::OfferText(int asked, const OfferWords& w) const {
  const bool twoProperties = w.text == kTextOfferExchangeGive || w.text == kTextOfferExchangeGet ||
                             w.text == kTextBuyExchangeOffer || w.text == kTextSellExchangeOffer;
  if (!IsPlayer(asked) || !IsPlayer(w.actor) || !IsProperty(w.first) ||
      (twoProperties && !IsProperty(w.second))) {
    return {};
  }
  const auto name = [this](int p, bool mortgaged) {
    std::string text = state.properties[p].name.utf8();
    if (mortgaged) text += "(" + Text(kTextMortgaged) + ")";
    return text;
  };
  const std::string who = PlayerName(asked);
  const std::string actor = PlayerName(w.actor);
  const std::string first = name(w.first, w.firstMortgaged);
  const std::string second = twoProperties ? name(w.second, w.secondMortgaged) : std::string();
  switch (w.text) {
    case kTextOfferSale:
      return FormatCatalogue(w.text, who, first, w.amount, actor);
    case kTextOfferExchangeGive:
    case kTextOfferExchangeGet:
      return FormatCatalogue(w.text, who, first, actor, second, w.amount);
    case kTextOfferPurchase:
      return FormatCatalogue(w.text, who, first, actor, w.amount);
    case kTextBuyExchangeOffer:
    case kTextSellExchangeOffer:
      return FormatCatalogue(w.text, who, actor, first, second, w.amount);
    case kTextBuyOffer:
    case kTextSellOffer:
      return FormatCatalogue(w.text, who, actor, first, w.amount);
    default:
      return {};
  }
}

}  // namespace tomtura
