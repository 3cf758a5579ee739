#pragma once
// Formatting of catalogue texts and log lines. The formats come from a file that users edit, so
// a format that does not match its arguments must never read past them or crash: the printf
// syntax is checked by {fmt} at run time, and on any mismatch the text is used unformatted.
#include <string>
#include <string_view>

#include <fmt/printf.h>

namespace tomtura {

// The widest field and the longest precision a format may ask for: a board file's
// "%2000000000d" would otherwise allocate gigabytes at every new game.
inline constexpr int kMaxFieldWidth = 256;

// `format` with every width and precision written in its conversions held to kMaxFieldWidth,
// also behind an argument index ("%1$"); the rest, "%%" and what follows a stray "%", as it
// stands. A width or precision taken from an argument ('*') cannot be held here: it sets
// *argumentWidth, when given.
inline std::string BoundFieldWidths(std::string_view format, bool* argumentWidth = nullptr) {
  std::string out;
  out.reserve(format.size());
  std::size_t i = 0;
  auto copyNumber = [&] {
    std::size_t end = i;
    while (end < format.size() && format[end] >= '0' && format[end] <= '9') ++end;
    const std::string_view digits = format.substr(i, end - i);
    const std::size_t significant = digits.find_first_not_of('0');
    const bool tooWide =
        significant != std::string_view::npos &&
        (digits.size() - significant > 3 || std::stoi(std::string(digits)) > kMaxFieldWidth);
    out += tooWide ? std::to_string(kMaxFieldWidth) : std::string(digits);
    i = end;
  };
  while (i < format.size()) {
    const char c = format[i++];
    out += c;
    if (c != '%' || i >= format.size()) continue;
    if (format[i] == '%') {
      out += format[i++];
      continue;
    }
    auto copyFlags = [&] {
      constexpr std::string_view kFlags = "-+ #0'";
      while (i < format.size() && kFlags.find(format[i]) != std::string_view::npos) {
        out += format[i++];
      }
    };
    // A width, or the '*' that takes it from an argument.
    auto copyWidth = [&] {
      if (i < format.size() && format[i] == '*') {
        if (argumentWidth != nullptr) *argumentWidth = true;
        out += format[i++];
      } else {
        copyNumber();
      }
    };
    copyFlags();
    copyWidth();
    if (i < format.size() && format[i] == '$') {  // the number was an argument index
      out += format[i++];
      copyFlags();
      copyWidth();
    }
    if (i < format.size() && format[i] == '.') {
      out += format[i++];
      copyWidth();
    }
  }
  return out;
}

template <typename... Args>
std::string FormatText(std::string_view format, const Args&... args) {
  try {
    bool argumentWidth = false;
    const std::string bounded = BoundFieldWidths(format, &argumentWidth);
    // An argument such as an amount of money could ask for gigabytes of padding.
    if (argumentWidth) return std::string(format);
    return fmt::sprintf(bounded, args...);
  } catch (const std::exception&) {
    return std::string(format);
  }
}

}  // namespace tomtura
