#pragma once
// Registers the program with the desktop for saved games ("*.tom"), for the current user: a
// desktop entry that opens a file with the program and a MIME type for the extension. Files
// are written only when their text differs from what is there, so every start may call this.
#include <string>
#include <string_view>

namespace tomtura {

inline constexpr std::string_view kSavedGameMimeType = "application/x-tomtura-game";

struct AssociationResult {
  bool ok = true;        // false when a file was needed but could not be written
  int filesWritten = 0;  // 0 when the registration was already in place
};

// The user's data directory: $XDG_DATA_HOME when set and absolute, else $HOME/.local/share;
// "" when neither is known.
std::string UserDataHome();

// The text of the desktop entry that starts `programPath` with the file's path, or "" when the
// path cannot be written into one (not UTF-8, or a control character).
std::string DesktopEntryText(const std::string& programPath);
std::string MimePackageText();

// Writes <dataHome>/applications/tomtura.desktop and <dataHome>/mime/packages/tomtura.xml
// where they differ. When `runUpdaters` is set and a file changed, the desktop's cache tools are
// run quietly if they are installed; their absence or failure is not an error.
AssociationResult RegisterFileAssociation(const std::string& programPath,
                                          const std::string& dataHome, bool runUpdaters = true);

}  // namespace tomtura
