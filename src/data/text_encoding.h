#pragma once
// Conversions between the one-byte Windows-1252 text of the fixed-size record fields and the
// UTF-8 text that the rest of the core works with.
#include <string>
#include <string_view>

namespace tomtura {

// Every byte becomes its Unicode character; the five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become '?'.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Every character becomes its Windows-1252 byte, or '?' when Windows-1252 cannot hold it.
// Malformed UTF-8 sequences become '?' as well.
std::string Utf8ToCp1252(std::string_view utf8);

bool IsValidUtf8(std::string_view text);

// The longest prefix of `utf8` that fits in `maxBytes` bytes without splitting a character.
std::string_view CutUtf8(std::string_view utf8, size_t maxBytes);

// A whole file or value as UTF-8: unchanged when it is valid UTF-8, else read as Windows-1252.
std::string DecodeBoardText(std::string_view bytes);

}  // namespace tomtura
