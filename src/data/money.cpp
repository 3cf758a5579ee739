// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/money.h"

#include <cstddef>

#include "data/ini_file.h"

namespace tomtura {
namespace {

constexpr std::string_view kEditionSection = "EDITION";
constexpr std::string_view kKeyMoney = "Money";
constexpr std::string_view kKeySeparator = "ThousandsSeparator";
constexpr std::string_view kDigitsMark = "%s";
constexpr std::string_view kDefaultSuffix = " kr";
constexpr std::size_t kGroup = 3;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// `digits` (no sign) with `separator` between groups of three, counted from the right.
std::string Grouped(std::string_view digits, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % kGroup == 0) out += separator;
    out += digits[i];
  }
  return out;
}

}  // namespace

MoneyFormat MoneyFormat::Of(const IniFile& boardFile) {
  MoneyFormat format;
  const std::string pattern = boardFile.GetString(kEditionSection, kKeyMoney, "");
  const std::size_t mark = pattern.find(kDigitsMark);
  if (mark == std::string::npos || pattern.find(kDigitsMark, mark + 1) != std::string::npos) {
    format.suffix = kDefaultSuffix;
    return format;
  }
  format.prefix = pattern.substr(0, mark);
  format.suffix = pattern.substr(mark + kDigitsMark.size());
  format.separator = boardFile.GetString(kEditionSection, kKeySeparator, "");
  return format;
}

std::string MoneyFormat::Write(long long amount) const {
  // The magnitude, unsigned, so that the most negative amount has one too.
  const unsigned long long magnitude =
      amount < 0 ? 0ULL - static_cast<unsigned long long>(amount) : amount;
  return (amount < 0 ? "-" : "") + prefix + Grouped(std::to_string(magnitude), separator) + suffix;
}

std::string MoneyFormat::GroupAmounts(std::string text) const {
  if (separator.empty() || (prefix.empty() && suffix.empty())) return text;
  // Most texts have no amount of four digits or more: they go back untouched, and otherwise
  // the runs between the digits are copied whole.
  const auto nextDigit = [&text](std::size_t from) {
    while (from < text.size() && !IsDigit(text[from])) ++from;
    return from;
  };
  std::size_t i = nextDigit(0);
  std::string out;
  bool changed = false;
  while (i < text.size()) {
    std::size_t end = i;
    while (end < text.size() && IsDigit(text[end])) ++end;
    const std::string_view digits(text.data() + i, end - i);
    const std::string_view before(text.data(), i);
    const std::string_view after(text.data() + end, text.size() - end);
    const bool amount =
        digits.size() > kGroup &&
        ((!suffix.empty() && after.starts_with(suffix)) ||
         (!prefix.empty() &&
          (before.ends_with(prefix) ||
           (before.ends_with('-') && before.substr(0, before.size() - 1).ends_with(prefix)))));
    if (amount) {
      if (!changed) {
        out.reserve(text.size() + text.size() / 4);
        out.append(text, 0, i);
        changed = true;
      }
      out += Grouped(digits, separator);
    } else if (changed) {
      out += digits;
    }
    const std::size_t next = nextDigit(end);
    if (changed) out.append(text, end, next - end);
    i = next;
  }
  return changed ? out : text;
}

}  // namespace tomtura
