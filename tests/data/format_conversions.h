#pragma once
// The printf conversions of a board-file text, for the tests that hold texts to the arguments
// the game passes them.
#include <string>
#include <string_view>

namespace tomtura {

// The conversions of `format` in order, as "%s%d"; "%!" marks one {fmt} would refuse or that
// takes an extra argument (a '*' width).
inline std::string Conversions(std::string_view format) {
  const auto isOneOf = [](char c, std::string_view set) {
    return set.find(c) != std::string_view::npos;
  };
  std::string out;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (++i < format.size() && format[i] == '%') continue;
    while (i < format.size() && isOneOf(format[i], "-+ #0123456789.")) ++i;
    std::string conversion = "%";
    while (i < format.size() && isOneOf(format[i], "hlLjzt")) conversion += format[i++];
    if (i >= format.size() || !isOneOf(format[i], "diouxXcsfeEgGp")) return out + "%!";
    out += conversion + format[i];
  }
  return out;
}

}  // namespace tomtura
