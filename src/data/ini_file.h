#pragma once
// Our own reader and writer of the board file's INI format, with the semantics of the
// platform's profile functions: sections and keys compare case-insensitively (ASCII), the
// first occurrence wins, values are trimmed. Writing one key rewrites only its line (or adds
// the key or section) and keeps every other byte of the file; the file is replaced atomically.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tomtura {

class IniFile {
 public:
  IniFile() = default;

  // Reads the file at `path`. A missing or unreadable file gives an empty IniFile (every
  // lookup answers its default) and ok() false. Text that is not valid UTF-8 is read as
  // Windows-1252 and converted.
  static IniFile Load(const std::string& path);
  // Parses text already in memory (used by tests and by Load). Text far larger than a board
  // file (over 1 MiB or 65,536 lines) is not parsed: the result is empty and not ok().
  static IniFile Parse(std::string_view bytes);

  // Whether the file, or the file it is read over, was read.
  bool ok() const { return ok_ || (base_ && base_->ok()); }
  // A number that every change of what lookups answer (its lines, the file it is read over)
  // replaces by one never used before; a copy has its original's. Lets a reader keep what it
  // looked up for as long as the number stays.
  std::uint64_t revision() const { return revision_; }
  // Where Write writes.
  const std::string& path() const { return path_; }

  // Reads this file over `base`: a key missing here is looked up there; writes go to this file
  // only. So a player's own file holds only what he changed, and the edition's file, which an
  // installed program cannot write, supplies everything else and its later updates.
  void SetBase(IniFile base);
  // The file this one is read over, or this file itself.
  const IniFile& base() const { return base_ ? *base_ : *this; }

  // The value of `key` in `section`, trimmed, or nullopt when missing.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Get with a default for a missing key.
  std::string GetString(std::string_view section, std::string_view key,
                        std::string_view fallback) const;
  // GetPrivateProfileInt: leading blanks, optional sign, decimal digits up to the first other
  // character; a missing key gives `fallback`, a value with no digits gives 0.
  int GetInt(std::string_view section, std::string_view key, int fallback) const;
  // Whether `section` holds at least one key here or in the base (a header alone holds
  // nothing to read).
  bool HasKeys(std::string_view section) const;

  // Sets `key` in `section` and writes the file back to path() through a temporary file beside
  // it and a rename. As the platform's writer does, the file is read again first, so that
  // changes made to it since Load are kept; a missing file is created, and its folder. The new text is taken
  // into memory only when the file was written. Returns false, with file and memory unchanged,
  // when the file exists but cannot be read, when writing fails, or when the section, key or
  // value cannot stand on one line (line breaks, NUL, malformed UTF-8, '=' or ']' in a name).
  // A value with blanks at either end is written in double quotes so that it reads back as is.
  bool Write(std::string_view section, std::string_view key, std::string_view value);

  // The file's text as it would be written (UTF-8 or Windows-1252, as it was read).
  std::string Serialize() const;

 private:
  // Each line keeps its bytes as read, so that a write re-encodes only the line it changes.
  struct Line {
    std::string raw;     // the line's bytes without its ending, as they stand in the file
    std::string ending;  // "\r\n", "\n", "\r" or "" (last line)
    std::string text;    // the line as UTF-8, without a leading byte-order mark
  };
  // Where a key stands: its section's header line, the key's line, the section's last key line.
  struct Place {
    std::size_t section;
    std::size_t key;
    std::size_t lastKey;
  };

  Place Find(std::string_view section, std::string_view key) const;
  Line MakeLine(std::string raw, std::string ending, bool first) const;
  Line EncodeLine(std::string_view text, std::string ending) const;
  std::string DominantEnding() const;
  void Set(std::string_view section, std::string_view key, std::string_view value);
  void ReencodeAsUtf8();

  // Line of each key of the first section of its name, by lower-case "section\nkey"; built on
  // the first lookup and dropped whenever the lines change, so that lookups do not scan.
  const std::unordered_map<std::string, std::size_t>& KeyIndex() const;

  std::vector<Line> lines_;
  mutable std::unordered_map<std::string, std::size_t> keyIndex_;
  mutable bool indexed_ = false;
  std::string path_;
  std::shared_ptr<const IniFile> base_;
  bool ok_ = false;
  bool cp1252_ = false;  // the file was Windows-1252: values are written back in it
  std::uint64_t revision_ = 0;
};

// A number as atoi reads it: leading blanks, an optional sign, the decimal digits up to the
// first other character; 0 when there are none. Saturates instead of overflowing.
int ParseInt(std::string_view text);

// The bytes of the file at `path`, read as Load reads it (a regular file of a sane size, never
// blocking); nullopt when it is missing or cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Writes `bytes` to `path` through a temporary file in the same directory, flushed to disk and
// renamed over the target only after every write succeeded; then the directory is flushed, so
// that the file is the old one or the new one whatever moment the program is killed at. On
// failure the target is untouched and the temporary file removed. Temporary files that writers
// killed midway left in the directory are removed first.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tomtura
