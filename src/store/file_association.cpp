#include "store/file_association.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>
#include <vector>

#include "data/ini_file.h"
#include "data/text_encoding.h"

extern char** environ;

namespace tomtura {

namespace {

namespace fs = std::filesystem;

inline constexpr std::string_view kDesktopFile = "applications/tomtura.desktop";
inline constexpr std::string_view kMimeFile = "mime/packages/tomtura.xml";

// Characters that make an Exec argument need double quotes.
inline constexpr std::string_view kExecReserved = " \t\n\"'\\><~|&;$*?#()`";
// Characters that must be escaped with a backslash inside the double quotes.
inline constexpr std::string_view kExecEscaped = "\"`$\\";

// The program path as one argument of an Exec line, with the desktop entry's escapes.
std::string ExecArgument(std::string_view path) {
  std::string arg;
  const bool quote = path.find_first_of(kExecReserved) != std::string_view::npos;
  if (quote) arg += '"';
  for (char c : path) {
    if (quote && kExecEscaped.find(c) != std::string_view::npos) arg += '\\';
    arg += c;
  }
  if (quote) arg += '"';
  // Field codes start with '%'; the string escape doubles each backslash.
  std::string escaped;
  for (char c : arg) {
    if (c == '%')
      escaped += "%%";
    else if (c == '\\')
      escaped += "\\\\";
    else
      escaped += c;
  }
  return escaped;
}

bool SameContent(const fs::path& path, std::string_view text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string existing((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  return existing == text;
}

// Writes `text` to `path` unless it already holds it. 1 = written, 0 = unchanged, -1 = failed.
int WriteIfChanged(const fs::path& path, std::string_view text) {
  if (SameContent(path, text)) return 0;
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  return WriteFileAtomically(path.string(), text) ? 1 : -1;
}

// Runs a program found on PATH with its output discarded and waits for it; any failure,
// a missing program included, is ignored.
void RunQuietly(const std::string& program, const std::string& argument) {
  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return;
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv = {const_cast<char*>(program.c_str()),
                             const_cast<char*>(argument.c_str()), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

}  // namespace

std::string UserDataHome() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/share";
  return "";
}

std::string DesktopEntryText(const std::string& programPath) {
  if (programPath.empty() || !IsValidUtf8(programPath)) return "";
  for (char c : programPath) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return "";
  }
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Tomtura\n"
         "Comment=Property-trading board game for two to six players\n"
         "Exec=" +
         ExecArgument(programPath) +
         " %f\n"
         "Terminal=false\n"
         "Categories=Game;BoardGame;\n"
         "MimeType=" +
         std::string(kSavedGameMimeType) + ";\n";
}

std::string MimePackageText() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" +
         std::string(kSavedGameMimeType) +
         "\">\n"
         "    <comment>Tomtura saved game</comment>\n"
         "    <glob pattern=\"*.tom\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

AssociationResult RegisterFileAssociation(const std::string& programPath,
                                          const std::string& dataHome, bool runUpdaters) {
  AssociationResult result;
  const std::string desktop = DesktopEntryText(programPath);
  if (dataHome.empty() || desktop.empty()) {
    result.ok = false;
    return result;
  }
  const fs::path home(dataHome);
  const int mime = WriteIfChanged(home / kMimeFile, MimePackageText());
  const int entry = WriteIfChanged(home / kDesktopFile, desktop);
  result.ok = mime >= 0 && entry >= 0;
  result.filesWritten = (mime > 0) + (entry > 0);
  if (runUpdaters && mime > 0) RunQuietly("update-mime-database", (home / "mime").string());
  if (runUpdaters && entry > 0) {
    RunQuietly("update-desktop-database", (home / "applications").string());
  }
  return result;
}

}  // namespace tomtura
