// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How an edition writes an amount of money, as its board file's [EDITION] section says: the
// digits in groups of three with the thousands separator between ("30 000", "30,000"), in the
// edition's pattern ("%s kr", "£%s"). Every amount the program writes takes this form; the
// board file's own texts keep their %d, and the amounts they come to are grouped after
// formatting.
#include <string>
#include <string_view>

namespace tomtura {

class IniFile;

struct MoneyFormat {
  std::string prefix;     // before the digits: "£"
  std::string suffix;     // after them: " kr"
  std::string separator;  // between groups of three; none: amounts are written as they are

  // The [EDITION] section's "Money" (one %s) and "ThousandsSeparator"; a file without them
  // (an older edition) writes amounts ungrouped, as " kr" after them.
  static MoneyFormat Of(const IniFile& boardFile);

  // `amount` in the edition's form: "30 000 kr", "-4 500 kr", "£30,000", "-£4,500".
  std::string Write(long long amount) const;
  // `text` with every amount in it grouped: a run of digits that the currency follows (or,
  // for a prefix, stands before) is written in groups of three.
  std::string GroupAmounts(std::string text) const;
};

}  // namespace tomtura
