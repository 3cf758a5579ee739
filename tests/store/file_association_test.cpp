#include "store/file_association.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace tomtura {
namespace {

namespace fs = std::filesystem;

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
