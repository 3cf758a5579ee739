#include "data/text_encoding.h"

#include <array>
#include <cstdint>

namespace tomtura {
namespace {

constexpr char32_t kUndefined = 0;
constexpr char kReplacement = '?';

// Unicode characters of the bytes 0x80..0x9F; kUndefined for the five bytes without one.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC,     kUndefined, 0x201A, 0x0192, 0x201E, 0x2026,     0x2020, 0x2021,
    0x02C6,     0x2030,     0x0160, 0x2039, 0x0152, kUndefined, 0x017D, kUndefined,
    kUndefined, 0x2018,     0x2019, 0x201C, 0x201D, 0x2022,     0x2013, 0x2014,
    0x02DC,     0x2122,     0x0161, 0x203A, 0x0153, kUndefined, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// One decoded character, or a malformed sequence (valid == false) of `length` bytes: the
// longest start of a well-formed sequence, at least one byte, so that a broken character costs
// one replacement and the byte that broke it starts the next one.
struct Decoded {
  char32_t c = 0;
  std::size_t length = 1;
  bool valid = false;
};

Decoded DecodeOne(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<std::uint8_t>(s[k]); };
  const std::uint8_t lead = byte(i);
  if (lead < 0x80) return {lead, 1, true};

  std::size_t need = 0;
  char32_t c = 0;
  std::uint8_t lo = 0x80, hi = 0xBF;  // allowed range of the first continuation byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    need = 1;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    need = 2;
    c = lead & 0x0F;
    if (lead == 0xE0) lo = 0xA0;  // no overlong forms
    if (lead == 0xED) hi = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    need = 3;
    c = lead & 0x07;
    if (lead == 0xF0) lo = 0x90;  // no overlong forms
    if (lead == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return {0, 1, false};
  }

  std::size_t length = 1;
  for (std::size_t k = 0; k < need; ++k) {
    if (i + length >= s.size()) return {0, length, false};
    const std::uint8_t b = byte(i + length);
    const std::uint8_t min = k == 0 ? lo : 0x80;
    const std::uint8_t max = k == 0 ? hi : 0xBF;
    if (b < min || b > max) return {0, length, false};
    c = (c << 6) | (b & 0x3F);
    ++length;
  }
  return {c, length, true};
}

char ToCp1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (std::size_t k = 0; k < kHighControls.size(); ++k) {
    if (kHighControls[k] != kUndefined && kHighControls[k] == c) {
      return static_cast<char>(0x80 + k);
    }
  }
  return kReplacement;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view cp1252) {
  // The ASCII start of the text reads the same in both; names are often ASCII throughout.
  std::size_t ascii = 0;
  while (ascii < cp1252.size() && static_cast<std::uint8_t>(cp1252[ascii]) < 0x80) ++ascii;
  if (ascii == cp1252.size()) return std::string(cp1252);
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 4);
  out.append(cp1252.substr(0, ascii));
  for (const char ch : cp1252.substr(ascii)) {
    const auto b = static_cast<std::uint8_t>(ch);
    if (b < 0x80) {
      out += ch;
    } else if (b < 0xA0) {
      const char32_t c = kHighControls[b - 0x80];
      if (c == kUndefined) {
        out += kReplacement;
      } else {
        AppendUtf8(out, c);
      }
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const Decoded d = DecodeOne(utf8, i);
    out += d.valid ? ToCp1252(d.c) : kReplacement;
    i += d.length;
  }
  return out;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const Decoded d = DecodeOne(text, i);
    if (!d.valid) return false;
    i += d.length;
  }
  return true;
}

std::string_view CutUtf8(std::string_view utf8, size_t maxBytes) {
  if (utf8.size() <= maxBytes) return utf8;
  // Step back over the continuation bytes of the character that the cut would split; a
  // character has at most three, so a longer run is malformed text and is cut where it stands.
  constexpr std::size_t kMaxContinuation = 3;
  const auto isContinuation = [&](std::size_t k) {
    return (static_cast<std::uint8_t>(utf8[k]) & 0xC0) == 0x80;
  };
  std::size_t n = maxBytes;
  while (n > 0 && maxBytes - n < kMaxContinuation && isContinuation(n)) --n;
  if (isContinuation(n)) n = maxBytes;
  return utf8.substr(0, n);
}

std::string DecodeBoardText(std::string_view bytes) {
  return IsValidUtf8(bytes) ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

}  // namespace tomtura
