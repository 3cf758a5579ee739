#include "data/ini_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <unordered_set>
#include <utility>

#include "data/free_text.h"
#include "data/text_encoding.h"

namespace tomtura {
namespace {

// Revisions are drawn from one count for every file of the program, so that no two contents
// ever share one.
std::uint64_t NextRevision() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
constexpr std::string_view kBlanks = " \t\v\f";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// A board file is a few dozen kilobytes and a few hundred lines; anything far larger is not
// one, and refusing it keeps the memory and time a file can cost small.
constexpr std::size_t kMaxFileBytes = 1024 * 1024;
constexpr std::size_t kMaxLines = 64 * 1024;
// The temporary file of a write: "." + the target's name + ".tmp-" + process id + "-" + attempt.
constexpr std::string_view kTemporaryTag = ".tmp-";

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(kBlanks);
  return s.substr(first, last - first + 1);
}

bool IsBlank(char c) {
  return kBlanks.find(c) != std::string_view::npos;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// One line as the profile reader sees it.
struct LineView {
  enum class Kind { kOther, kSection, kKey };
  Kind kind = Kind::kOther;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // trimmed, quotes not yet removed
};

LineView ClassifyLine(std::string_view text) {
  LineView view;
  const std::string_view t = Trim(text);
  if (t.empty() || t.front() == ';') return view;
  if (t.front() == '[') {
    const std::size_t close = t.find(']');
    view.kind = LineView::Kind::kSection;
    view.name =
        Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return view;
  }
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return view;
  view.name = Trim(text.substr(0, eq));
  if (view.name.empty()) return view;
  view.kind = LineView::Kind::kKey;
  view.value = Trim(text.substr(eq + 1));
  return view;
}

// The value as the reader returns it: one pair of surrounding double quotes removed.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// The value as it is written, so that Trim and Unquote give it back unchanged.
std::string QuoteForWriting(std::string_view value) {
  const bool padded = !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()));
  const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  if (padded || quoted) return "\"" + std::string(value) + "\"";
  return std::string(value);
}

bool FitsOnOneLine(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos && IsValidUtf8(s);
}

bool IsWritableSection(std::string_view section) {
  return FitsOnOneLine(section) && !section.empty() && Trim(section) == section &&
         section.find(']') == std::string_view::npos;
}

bool IsWritableKey(std::string_view key) {
  return FitsOnOneLine(key) && !key.empty() && Trim(key) == key &&
         key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';';
}

enum class ReadResult { kOk, kMissing, kFailed };

ReadResult ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  // Non-blocking, so that a FIFO or device in the file's place cannot hang the program; it is
  // refused below as not a regular file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::uint64_t>(st.st_size) > kMaxFileBytes) {
    ::close(fd);
    return ReadResult::kFailed;
  }
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || bytes.size() + static_cast<std::size_t>(n) > kMaxFileBytes) {
      ::close(fd);
      bytes.clear();
      return ReadResult::kFailed;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ReadResult::kOk;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

IniFile IniFile::Load(const std::string& path) {
  std::string bytes;
  const ReadResult result = ReadWholeFile(path, bytes);
  IniFile ini = result == ReadResult::kOk ? Parse(bytes) : IniFile();
  ini.ok_ = result == ReadResult::kOk && ini.ok_;
  ini.path_ = path;
  return ini;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
  std::string bytes;
  if (ReadWholeFile(path, bytes) != ReadResult::kOk) return std::nullopt;
  return bytes;
}

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile ini;
  if (bytes.size() > kMaxFileBytes ||
      static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), [](char c) {
        return c == '\n' || c == '\r';
      })) > kMaxLines) {
    return ini;  // not a board file: empty and not ok
  }
  ini.ok_ = true;
  ini.revision_ = NextRevision();
  ini.cp1252_ = !IsValidUtf8(bytes);
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", pos);
    std::string raw(bytes.substr(pos, end == std::string_view::npos ? end : end - pos));
    std::string ending;
    if (end == std::string_view::npos) {
      pos = bytes.size();
    } else if (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') {
      ending = "\r\n";
      pos = end + 2;
    } else {
      ending = std::string(1, bytes[end]);
      pos = end + 1;
    }
    ini.lines_.push_back(ini.MakeLine(std::move(raw), std::move(ending), ini.lines_.empty()));
  }
  return ini;
}

IniFile::Line IniFile::MakeLine(std::string raw, std::string ending, bool first) const {
  std::string_view content = raw;
  if (first && content.starts_with(kByteOrderMark)) content.remove_prefix(kByteOrderMark.size());
  std::string text = cp1252_ ? Cp1252ToUtf8(content) : std::string(content);
  return Line{std::move(raw), std::move(ending), std::move(text)};
}

IniFile::Line IniFile::EncodeLine(std::string_view text, std::string ending) const {
  return MakeLine(cp1252_ ? Utf8ToCp1252(text) : std::string(text), std::move(ending), false);
}

IniFile::Place IniFile::Find(std::string_view section, std::string_view key) const {
  Place place{kNone, kNone, kNone};
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineView view = ClassifyLine(lines_[i].text);
    if (view.kind == LineView::Kind::kSection) {
      if (place.section != kNone) break;  // only the first section of that name counts
      if (SameName(view.name, section)) place.section = i;
    } else if (view.kind == LineView::Kind::kKey && place.section != kNone) {
      place.lastKey = i;
      if (place.key == kNone && SameName(view.name, key)) place.key = i;
    }
  }
  return place;
}

namespace {
std::string IndexKey(std::string_view section, std::string_view key) {
  std::string joined;
  joined.reserve(section.size() + key.size() + 1);
  for (char c : section) joined += AsciiLower(c);
  joined += '\n';
  for (char c : key) joined += AsciiLower(c);
  return joined;
}
}  // namespace

const std::unordered_map<std::string, std::size_t>& IniFile::KeyIndex() const {
  if (indexed_) return keyIndex_;
  keyIndex_.clear();
  std::unordered_set<std::string> seenSections;
  std::string section;
  bool counts = false;  // only the first section of a name counts
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const LineView view = ClassifyLine(lines_[i].text);
    if (view.kind == LineView::Kind::kSection) {
      section = IndexKey(view.name, "");
      counts = seenSections.insert(section).second;
    } else if (view.kind == LineView::Kind::kKey && counts) {
      keyIndex_.emplace(section + IndexKey("", view.name).substr(1), i);
    }
  }
  indexed_ = true;
  return keyIndex_;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  const auto& index = KeyIndex();
  const auto found = index.find(IndexKey(section, key));
  if (found == index.end()) return base_ ? base_->Get(section, key) : std::nullopt;
  return std::string(Unquote(ClassifyLine(lines_[found->second].text).value));
}

std::string IniFile::GetString(std::string_view section, std::string_view key,
                               std::string_view fallback) const {
  return Get(section, key).value_or(std::string(fallback));
}

int IniFile::GetInt(std::string_view section, std::string_view key, int fallback) const {
  const std::optional<std::string> value = Get(section, key);
  return value ? ParseInt(*value) : fallback;
}

bool IniFile::HasKeys(std::string_view section) const {
  const std::string prefix = IndexKey(section, "");
  for (const auto& entry : KeyIndex()) {
    if (entry.first.starts_with(prefix)) return true;
  }
  return base_ && base_->HasKeys(section);
}

void IniFile::SetBase(IniFile base) {
  base_ = std::make_shared<const IniFile>(std::move(base));
  revision_ = NextRevision();
}

int ParseInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (IsBlank(text[i]) || text[i] == '\r' || text[i] == '\n')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // Saturate where atoi would overflow.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t n = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    n = std::min(n * 10 + (text[i] - '0'), kLimit);
  }
  if (negative) n = -n;
  return static_cast<int>(std::clamp<std::int64_t>(n, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

std::string IniFile::DominantEnding() const {
  std::size_t lf = 0, crlf = 0, cr = 0;
  for (const Line& line : lines_) {
    if (line.ending == "\n") ++lf;
    if (line.ending == "\r\n") ++crlf;
    if (line.ending == "\r") ++cr;
  }
  if (crlf > lf && crlf >= cr) return "\r\n";
  if (cr > lf && cr > crlf) return "\r";
  return "\n";
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  indexed_ = false;
  revision_ = NextRevision();
  const std::string written = QuoteForWriting(value);
  const Place place = Find(section, key);

  if (place.key != kNone) {
    // Keep the key, its spelling and the blanks around '=' exactly; replace what follows.
    Line& line = lines_[place.key];
    std::size_t cut = line.raw.find('=') + 1;
    while (cut < line.raw.size() && IsBlank(line.raw[cut])) ++cut;
    const std::string raw = line.raw.substr(0, cut) + (cp1252_ ? Utf8ToCp1252(written) : written);
    line = MakeLine(raw, std::move(line.ending), place.key == 0);
    return;
  }

  const std::string newline = DominantEnding();
  std::vector<Line> added;
  std::size_t at = 0;
  if (place.section != kNone) {
    at = (place.lastKey != kNone ? place.lastKey : place.section) + 1;
  } else {
    at = lines_.size();
    // The free-text blocks run from their marker line to the next one or the end of the
    // file, so a section added by a write must go before the first of them.
    for (std::size_t i = 0; i < lines_.size() && at == lines_.size(); ++i) {
      if (IsFreeTextMarkerLine(lines_[i].text)) at = i;
    }
    added.push_back(EncodeLine("[" + std::string(section) + "]", newline));
  }
  added.push_back(EncodeLine(std::string(key) + "=" + written, newline));

  // A byte-order mark stays at the very start of the file.
  if (at == 0 && !lines_.empty() && lines_.front().raw.starts_with(kByteOrderMark)) {
    lines_.front().raw.erase(0, kByteOrderMark.size());
    added.front().raw.insert(0, kByteOrderMark);
  }
  // At the very end of a file without a final line break the file keeps that form.
  if (at == lines_.size() && !lines_.empty() && lines_.back().ending.empty()) {
    lines_.back().ending = newline;
    added.back().ending.clear();
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
}

bool IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
  if (path_.empty() || !IsWritableSection(section) || !IsWritableKey(key) ||
      !FitsOnOneLine(value)) {
    return false;
  }
  std::string before;
  const ReadResult result = ReadWholeFile(path_, before);
  if (result == ReadResult::kFailed) return false;

  IniFile updated = Parse(before);
  if (!updated.ok_) return false;
  updated.path_ = path_;
  updated.base_ = base_;
  // A name or value that Windows-1252 cannot hold would be written with '?' in its place; the
  // file then becomes UTF-8, which holds every character and reads every other text the same.
  const auto fitsCp1252 = [](std::string_view s) { return Cp1252ToUtf8(Utf8ToCp1252(s)) == s; };
  if (updated.cp1252_ && !(fitsCp1252(section) && fitsCp1252(key) && fitsCp1252(value))) {
    updated.ReencodeAsUtf8();
  }
  updated.Set(section, key, value);
  std::string after = updated.Serialize();
  // The file's encoding is told from its bytes when it is read. A Windows-1252 file whose only
  // byte that is not UTF-8 was in the rewritten line would read as UTF-8 next time, and its
  // other texts differently; it is written wholly as UTF-8 instead, so every text reads the same.
  if (updated.cp1252_ && IsValidUtf8(after)) {
    updated.ReencodeAsUtf8();
    after = updated.Serialize();
  }
  if (result == ReadResult::kMissing) {
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(path_).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, error);
  }
  if ((result == ReadResult::kMissing || after != before) && !WriteFileAtomically(path_, after)) {
    return false;
  }
  *this = std::move(updated);
  return true;
}

void IniFile::ReencodeAsUtf8() {
  revision_ = NextRevision();
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    Line& line = lines_[i];
    const bool mark = i == 0 && line.raw.starts_with(kByteOrderMark);
    line.raw = (mark ? std::string(kByteOrderMark) : std::string()) + line.text;
  }
  cp1252_ = false;
}

std::string IniFile::Serialize() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.raw;
    out += line.ending;
  }
  return out;
}

namespace {

// Whether `name` is the temporary file of a write by a process that no longer runs: a writer
// killed midway leaves it behind, and nothing else would ever remove it.
bool IsStaleTemporary(std::string_view name) {
  const std::size_t tag = name.rfind(kTemporaryTag);
  if (!name.starts_with('.') || tag == std::string_view::npos || tag < 2) return false;
  const std::string_view suffix = name.substr(tag + kTemporaryTag.size());
  const std::size_t dash = suffix.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == suffix.size()) return false;
  const auto digits = [](std::string_view s) {
    return s.size() <= 9 && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!digits(suffix.substr(0, dash)) || !digits(suffix.substr(dash + 1))) return false;
  const pid_t pid = static_cast<pid_t>(ParseInt(suffix.substr(0, dash)));
  return pid > 0 && pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH;
}

void RemoveStaleTemporaries(const std::filesystem::path& directory) {
  std::error_code error;
  for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (IsStaleTemporary(name) && it->is_regular_file(error)) {
      std::filesystem::remove(it->path(), error);
    }
  }
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  std::error_code error;
  // Through a symbolic link the file it names is replaced, not the link.
  fs::path target(path);
  if (fs::is_symlink(fs::symlink_status(target, error))) {
    const fs::path resolved = fs::canonical(target, error);
    if (!error) target = resolved;
  }
  if (target.filename().empty()) return false;

  const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
  RemoveStaleTemporaries(directory);
  const std::string stem = "." + target.filename().string() + ".tmp-" + std::to_string(::getpid());
  std::string temporary;
  int fd = -1;
  constexpr int kNameAttempts = 100;
  for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
    temporary = (directory / (stem + "-" + std::to_string(attempt))).string();
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;

  // The replacement keeps the permissions and, where allowed, the owner of the old file.
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) {
    ::fchmod(fd, old.st_mode & 07777);
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Not permitted for another user's file; the file then belongs to us.
    }
  }

  const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return false;
  }
  // Make the rename itself durable; the new file is in place whether or not this succeeds.
  const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

}  // namespace tomtura
