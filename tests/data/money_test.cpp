// SPDX-License-Identifier: GPL-3.0-or-later
// The edition's money format: amounts written whole, and the amounts of a formatted text
// grouped, in each edition's way; an edition that names no format is left as it writes.
#include "data/money.h"

#include <gtest/gtest.h>

#include "data/ini_file.h"

namespace tomtura {
namespace {

const MoneyFormat kSwedish =
    MoneyFormat::Of(IniFile::Parse("[EDITION]\nMoney=%s kr\nThousandsSeparator=\" \"\n"));
const MoneyFormat kEnglish =
    MoneyFormat::Of(IniFile::Parse("[EDITION]\nMoney=£%s\nThousandsSeparator=,\n"));
const MoneyFormat kOlder = MoneyFormat::Of(IniFile::Parse("[TEXTS]\n0=Tomtura\n"));

TEST(Money, IsWrittenInTheEditionsForm) {
  const std::tuple<const MoneyFormat*, long long, std::string> cases[] = {
      {&kSwedish, 30000, "30 000 kr"}, {&kSwedish, -4500, "-4 500 kr"},
      {&kSwedish, 999, "999 kr"},      {&kSwedish, 1234567, "1 234 567 kr"},
      {&kEnglish, 30000, "£30,000"},   {&kEnglish, -4500, "-£4,500"},
      {&kOlder, 30000, "30000 kr"},
  };
  for (const auto& [format, amount, written] : cases) {
    EXPECT_EQ(format->Write(amount), written) << amount;
  }
}

TEST(Money, AmountsInATextAreGroupedAndNothingElse) {
  const std::tuple<const MoneyFormat*, std::string, std::string> cases[] = {
      {&kSwedish, "Pris 30000 kr|Ägare: Anna", "Pris 30 000 kr|Ägare: Anna"},
      {&kSwedish, "Du betalar -4500 kr och 100 kr", "Du betalar -4 500 kr och 100 kr"},
      {&kSwedish, "Hyran är 30 000 kr.", "Hyran är 30 000 kr."},  // grouped already
      {&kSwedish, "Port 4711, fel 10048, 200 kronor", "Port 4711, fel 10048, 200 kronor"},
      {&kSwedish, "100 kr/prick", "100 kr/prick"},
      {&kSwedish, "Du får 2000 kr.@2000", "Du får 2 000 kr.@2000"},  // the card's own figure
      {&kEnglish, "Price £1000|Rent £12500", "Price £1,000|Rent £12,500"},
      {&kEnglish, "You pay -£4500 to 12345 kr", "You pay -£4,500 to 12345 kr"},
      {&kOlder, "Pris 30000 kr", "Pris 30000 kr"},
  };
  for (const auto& [format, text, grouped] : cases) {
    EXPECT_EQ(format->GroupAmounts(text), grouped) << text;
  }
}

}  // namespace
}  // namespace tomtura
