#pragma once
// A NUL-terminated text field of N bytes as the records hold it: Windows-1252, one byte per
// character, at most N - 1 characters. Saved games and network messages copy these bytes as
// they stand, so the field never holds anything but its N bytes.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "data/text_encoding.h"

namespace tomtura {

template <std::size_t N>
struct FixedText {
  std::array<char, N> bytes{};

  // The stored characters, up to the first NUL (Windows-1252).
  std::string_view raw() const { return std::string_view(bytes.data(), strnlen(bytes.data(), N)); }
  bool empty() const { return bytes[0] == 0; }
  void clear() { bytes.fill(0); }

  // Stores Windows-1252 characters up to the first NUL, cut to N - 1; the rest is zeroed.
  void setRaw(std::string_view cp1252) {
    bytes.fill(0);
    cp1252 = cp1252.substr(0, cp1252.find('\0'));
    std::memcpy(bytes.data(), cp1252.data(), std::min(cp1252.size(), N - 1));
  }

  // The text for reading, as UTF-8.
  std::string utf8() const { return Cp1252ToUtf8(raw()); }
  // Stores a UTF-8 text: converted to Windows-1252 ('?' for what it cannot hold), cut to N - 1.
  void setUtf8(std::string_view utf8) { setRaw(Utf8ToCp1252(utf8)); }

  bool operator==(const FixedText&) const = default;
};

}  // namespace tomtura
