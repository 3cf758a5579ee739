// Where the program finds its board files, and the desktop entry and file type it registers for
// saved games when it runs from a build folder.
#include "store/data_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "store/file_association.h"
#include "test_support.h"

namespace tomtura {
namespace {

namespace fs = std::filesystem;

// A folder laid out like an install: <root>/bin/tomtura and <root>/share/tomtura/tomtura.lst.
TEST(DataPathsTest, BuildFolderBeforeTheInstalledShareFolder) {
  TempDir dir;
  fs::create_directories(dir.path("bin"));
  fs::create_directories(dir.path("share/tomtura"));
  const std::string program = dir.path("bin/tomtura");

  WriteBytes(dir.path("share/tomtura/tomtura.lst"), "[TEXTS]\n");
  EXPECT_FALSE(RunsFromBuildFolder(program));
  EXPECT_FALSE(ShouldRegisterFileAssociation(program));
  EXPECT_EQ(FindDataDirectory(program), dir.path("share/tomtura"));

  // The board file beside the program wins: a build folder.
  WriteBytes(dir.path("bin/tomtura.lst"), "[TEXTS]\n");
  EXPECT_TRUE(RunsFromBuildFolder(program));
  EXPECT_TRUE(ShouldRegisterFileAssociation(program));
  EXPECT_EQ(FindDataDirectory(program), dir.path("bin"));

  // A folder named like the board file is no build folder.
  fs::create_directories(dir.path("sbin/tomtura.lst"));
  EXPECT_FALSE(RunsFromBuildFolder(dir.path("sbin/tomtura")));
  EXPECT_EQ(FindDataDirectory(dir.path("sbin/tomtura")), dir.path("share/tomtura"));
  // The share folder is named without "..", also where it holds nothing, so that an error says
  // where the data belongs.
  EXPECT_EQ(FindDataDirectory("/nowhere/usr/bin/tomtura"), "/nowhere/usr/share/tomtura");
}

std::string ExecLine(const std::string& desktop) {
  const std::size_t at = desktop.find("\nExec=") + 1;
  return desktop.substr(at, desktop.find('\n', at) - at);
}

TEST(FileAssociationTest, WritesTheDesktopEntryAndTheMimeTypeWithThePathQuoted) {
  TempDir dir;
  const std::string desktop = dir.path("applications/tomtura.desktop");
  const std::string mime = dir.path("mime/packages/tomtura.xml");
  AssociationResult r = RegisterFileAssociation("/opt/tomtura/tomtura", dir.path(""), false);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.filesWritten, 2);
  EXPECT_EQ(ExecLine(ReadBytes(desktop)), "Exec=/opt/tomtura/tomtura %f");
  EXPECT_NE(ReadBytes(desktop).find("\nMimeType=application/x-tomtura-game;\n"), std::string::npos);
  EXPECT_NE(ReadBytes(mime).find("<glob pattern=\"*.tom\"/>"), std::string::npos);

  // Exec quotes and escapes the path; a path it cannot write is refused.
  const std::pair<std::string, std::string> cases[] = {
      {"/opt/My Games/tomtura", "Exec=\"/opt/My Games/tomtura\" %f"},
      {"/opt/100%/tomtura", "Exec=/opt/100%%/tomtura %f"},
      {"/a b/$x\"y", "Exec=\"/a b/\\\\$x\\\\\"y\" %f"},
      {"/a\\b", "Exec=\"/a\\\\\\\\b\" %f"},
  };
  for (const auto& [path, exec] : cases) EXPECT_EQ(ExecLine(DesktopEntryText(path)), exec);
  EXPECT_EQ(DesktopEntryText("/bad\xFFpath"), "");
  fs::remove(desktop);
  EXPECT_FALSE(RegisterFileAssociation("/bad\npath", dir.path(""), false).ok);
  EXPECT_FALSE(fs::exists(desktop));
}

}  // namespace
}  // namespace tomtura
