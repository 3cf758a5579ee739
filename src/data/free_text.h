#pragma once
// The board file's two free-text blocks, the tips under "[TIPS]" and the rules under
// "[REGLER]": read piece by piece as the help window shows them, so that an edition of the
// board carries its own rules.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tomtura {

enum class FreeTextBlock { kTips, kRules };

inline constexpr std::string_view kTipsMarker = "[TIPS]";
inline constexpr std::string_view kRulesMarker = "[REGLER]";
// The file is read in pieces of at most this many characters; a longer line becomes several.
inline constexpr std::size_t kFreeTextPieceChars = 255;
// A block holds at most this much, counted as the one-byte text with a carriage return and a
// line feed ending each line, and its terminating zero.
inline constexpr std::size_t kMaxFreeTextBytes = 16000;

// Whether `line` is the marker `marker` itself, blanks around it aside. A line that only
// mentions a marker ("See [TIPS] below") is text, not the start of a block.
bool IsMarkerLine(std::string_view line, std::string_view marker);
// Whether `line` is either block's marker.
bool IsFreeTextMarkerLine(std::string_view line);

// The block of the board file's text `fileBytes` (UTF-8, or Windows-1252 converted): the
// pieces after the first piece that is the block's marker, up to a piece that is either
// marker, the end of the file, or the piece that would pass kMaxFreeTextBytes. Every piece
// ends its own line with "\n" (a last line without one too); a leading run of '_' becomes
// blanks. Empty when the marker is missing.
std::string ExtractFreeText(std::string_view fileBytes, FreeTextBlock block);

// ExtractFreeText over the board file at `path`; nullopt when it cannot be read.
std::optional<std::string> ReadFreeText(const std::string& path, FreeTextBlock block);

}  // namespace tomtura
