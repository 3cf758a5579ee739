#include "data/free_text.h"

#include <cstdint>

#include "data/ini_file.h"
#include "data/text_encoding.h"

namespace tomtura {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kIndentMark = '_';
// What a line costs in the block besides its characters: the carriage return and line feed.
constexpr std::size_t kLineEndBytes = 2;

// The file as the text reader sees it: UTF-8 without a byte-order mark, "\r\n" read as "\n",
// and no NUL characters, which would end a piece early.
std::string AsText(std::string_view bytes) {
  std::string decoded = DecodeBoardText(bytes);
  std::string_view view = decoded;
  if (view.starts_with(kByteOrderMark)) view.remove_prefix(kByteOrderMark.size());
  std::string text;
  text.reserve(view.size());
  for (std::size_t i = 0; i < view.size(); ++i) {
    const char c = view[i];
    if (c == '\0') continue;
    if (c == '\r' && i + 1 < view.size() && view[i + 1] == '\n') continue;
    text += c;
  }
  return text;
}

// One piece of a line: its characters, without the line feed.
struct Piece {
  std::string_view text;
  std::size_t chars = 0;
};

// Reads the next piece of `text` from `pos`: up to a line feed (taken, not kept) or
// kFreeTextPieceChars characters. A piece that fills up just before its line feed takes the
// line feed too, so that a line of exactly the piece size stays one line.
Piece NextPiece(std::string_view text, std::size_t& pos) {
  const std::size_t start = pos;
  std::size_t chars = 0;
  while (pos < text.size() && text[pos] != '\n' && chars < kFreeTextPieceChars) {
    ++pos;
    while (pos < text.size() && (static_cast<std::uint8_t>(text[pos]) & 0xC0) == 0x80) ++pos;
    ++chars;
  }
  Piece piece{text.substr(start, pos - start), chars};
  if (pos < text.size() && text[pos] == '\n') ++pos;
  return piece;
}

}  // namespace

bool IsMarkerLine(std::string_view line, std::string_view marker) {
  constexpr std::string_view kBlanks = " \t\v\f\r";
  const std::size_t first = line.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return false;
  const std::size_t last = line.find_last_not_of(kBlanks);
  return line.substr(first, last - first + 1) == marker;
}

bool IsFreeTextMarkerLine(std::string_view line) {
  return IsMarkerLine(line, kTipsMarker) || IsMarkerLine(line, kRulesMarker);
}

std::string ExtractFreeText(std::string_view fileBytes, FreeTextBlock block) {
  const std::string text = AsText(fileBytes);
  const std::string_view marker = block == FreeTextBlock::kRules ? kRulesMarker : kTipsMarker;
  std::size_t pos = 0;
  bool found = false;
  while (pos < text.size() && !found) {
    found = IsMarkerLine(NextPiece(text, pos).text, marker);
  }
  if (!found) return {};

  std::string result;
  std::size_t size = 1;  // the terminating zero
  while (pos < text.size()) {
    const Piece piece = NextPiece(text, pos);
    if (IsFreeTextMarkerLine(piece.text)) break;
    size += piece.chars + kLineEndBytes;
    if (size > kMaxFreeTextBytes) break;
    std::string line(piece.text);
    const std::size_t indent = line.find_first_not_of(kIndentMark);
    line.replace(0, indent == std::string::npos ? line.size() : indent,
                 indent == std::string::npos ? line.size() : indent, ' ');
    result += line;
    result += '\n';
  }
  return result;
}

std::optional<std::string> ReadFreeText(const std::string& path, FreeTextBlock block) {
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  return ExtractFreeText(*bytes, block);
}

}  // namespace tomtura
