#include "data/tabletop.h"

#include "data/text_ids.h"

namespace tomtura {

std::string Tabletop::OfferName(int p, const PropertyTable& table) const {
  std::string name = table[p].name.utf8();
  if (table[p].mortgaged != 0) name += "(" + Text(kTextMortgaged) + ")";
  return name;
}

}  // namespace tomtura
