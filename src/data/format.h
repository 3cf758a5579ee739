#pragma once
// Formatting of catalogue texts and log lines. The formats come from a file that users edit, so
// a format that does not match its arguments must never read past them or crash: the printf
// syntax is checked by {fmt} at run time, and on any mismatch the text is used unformatted.
#include <string>
#include <string_view>

#include <fmt/printf.h>

namespace tomtura {

template <typename... Args>
std::string FormatText(std::string_view format, const Args&... args) {
  try {
    return fmt::sprintf(format, args...);
  } catch (const std::exception&) {
    return std::string(format);
  }
}

}  // namespace tomtura
