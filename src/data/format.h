#pragma once
// Formatting of catalogue texts and log lines. The formats come from a file that users edit, so
// a format that does not match its arguments must never read past them or crash: the printf
// syntax is checked by {fmt} at run time, and on any mismatch the text is used unformatted.
#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

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

// Whether a conversion of `format` writes a width or a precision (or an argument index, which
// is written the same way); formats without one need no bounding.
inline bool HasFieldWidths(std::string_view format) {
  constexpr std::string_view kFlags = "-+ #0'";
  for (std::size_t i = format.find('%'); i != std::string_view::npos && i + 1 < format.size();
       i = format.find('%', i)) {
    ++i;
    if (format[i] == '%') {
      ++i;
      continue;
    }
    while (i < format.size() && kFlags.find(format[i]) != std::string_view::npos) ++i;
    if (i < format.size() &&
        ((format[i] >= '1' && format[i] <= '9') || format[i] == '*' || format[i] == '.')) {
      return true;
    }
  }
  return false;
}

namespace format_detail {

// An argument as the plain formatting below takes it: a text for "%s", a signed whole number
// for "%d"; anything else leaves the format to {fmt}.
struct PlainArg {
  enum class Kind { kText, kNumber, kOther } kind = Kind::kOther;
  std::string_view text;
  long long number = 0;
};

template <typename T>
PlainArg MakePlainArg(const T& value) {
  if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::string_view>) {
    return {PlainArg::Kind::kText, value, 0};
  } else if constexpr (std::is_integral_v<T> && std::is_signed_v<T> && !std::is_same_v<T, char>) {
    return {PlainArg::Kind::kNumber, {}, static_cast<long long>(value)};
  } else {
    return {};
  }
}

// `format` with each "%s" and "%d" replaced by the next argument and "%%" by '%', when that is
// all it holds and the arguments are texts and numbers in that order, one for each; nullopt
// otherwise. The result is what {fmt}'s printf gives for such a format.
inline std::optional<std::string> FormatPlain(std::string_view format, const PlainArg* args,
                                              std::size_t count) {
  std::string out;
  out.reserve(format.size() + 32);
  std::size_t used = 0;
  std::size_t from = 0;
  for (std::size_t i = format.find('%'); i != std::string_view::npos; i = format.find('%', from)) {
    out.append(format.substr(from, i - from));
    if (i + 1 >= format.size()) return std::nullopt;
    const char conversion = format[i + 1];
    from = i + 2;
    if (conversion == '%') {
      out += '%';
      continue;
    }
    if (used == count) return std::nullopt;
    const PlainArg& arg = args[used++];
    if (conversion == 's' && arg.kind == PlainArg::Kind::kText) {
      out.append(arg.text);
    } else if (conversion == 'd' && arg.kind == PlainArg::Kind::kNumber) {
      char digits[24];
      const auto end = std::to_chars(digits, digits + sizeof digits, arg.number).ptr;
      out.append(digits, end);
    } else {
      return std::nullopt;
    }
  }
  if (used != count) return std::nullopt;
  out.append(format.substr(from));
  return out;
}

}  // namespace format_detail

template <typename... Args>
std::string FormatText(std::string_view format, const Args&... args) {
  // The log and the questions format texts all the time, nearly all of them of names and
  // amounts only: those are put together here, the rest by {fmt}.
  if constexpr (sizeof...(Args) > 0) {
    const format_detail::PlainArg plain[] = {format_detail::MakePlainArg(args)...};
    if (std::optional<std::string> out =
            format_detail::FormatPlain(format, plain, sizeof...(Args))) {
      return std::move(*out);
    }
  } else {
    if (std::optional<std::string> out = format_detail::FormatPlain(format, nullptr, 0)) {
      return std::move(*out);
    }
  }
  try {
    // Most of the rest hold no width to bound.
    if (!HasFieldWidths(format)) return fmt::sprintf(format, args...);
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
