#include "store/file_association.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "test_support.h"

namespace tomtura {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ExecLine(const std::string& desktop) {
  const std::size_t at = desktop.find("\nExec=");
  return desktop.substr(at + 1, desktop.find('\n', at + 1) - at - 1);
}

TEST(FileAssociationTest, WrittenOnceAndRewrittenOnlyWhenTheProgramMoves) {
  TempDir dir;
  const std::string desktop = dir.path("applications/tomtura.desktop");
  const std::string mime = dir.path("mime/packages/tomtura.xml");

  AssociationResult r = RegisterFileAssociation("/opt/tomtura/tomtura", dir.path(""), false);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.filesWritten, 2);
  const std::string entry = ReadText(desktop);
  EXPECT_EQ(ExecLine(entry), "Exec=/opt/tomtura/tomtura %f");
  EXPECT_NE(entry.find("\nMimeType=application/x-tomtura-game;\n"), std::string::npos);
  EXPECT_NE(ReadText(mime).find("<glob pattern=\"*.tom\"/>"), std::string::npos);
  EXPECT_NE(ReadText(mime).find("type=\"application/x-tomtura-game\""), std::string::npos);

  // Equal files are left alone: their times stay where we put them.
  const auto past = fs::file_time_type::clock::now() - std::chrono::hours(24);
  fs::last_write_time(desktop, past);
  fs::last_write_time(mime, past);
  r = RegisterFileAssociation("/opt/tomtura/tomtura", dir.path(""), false);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.filesWritten, 0);
  EXPECT_EQ(fs::last_write_time(desktop), past);
  EXPECT_EQ(fs::last_write_time(mime), past);

  // A start from elsewhere leaves the registration of the last one.
  r = RegisterFileAssociation("/home/u/tomtura", dir.path(""), false);
  EXPECT_EQ(r.filesWritten, 1);
  EXPECT_EQ(ExecLine(ReadText(desktop)), "Exec=/home/u/tomtura %f");
  EXPECT_EQ(fs::last_write_time(mime), past);
}

TEST(FileAssociationTest, ExecQuotesAndEscapesThePath) {
  struct Case {
    std::string path;
    std::string exec;
  };
  const Case cases[] = {
      {"/opt/My Games/tomtura", "Exec=\"/opt/My Games/tomtura\" %f"},
      {"/opt/100%/tomtura", "Exec=/opt/100%%/tomtura %f"},
      {"/a b/$x\"y", "Exec=\"/a b/\\\\$x\\\\\"y\" %f"},
      {"/a\\b", "Exec=\"/a\\\\\\\\b\" %f"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExecLine(DesktopEntryText(c.path)), c.exec) << c.path;

  TempDir dir;
  EXPECT_EQ(DesktopEntryText("/bad\npath"), "");
  EXPECT_EQ(DesktopEntryText("/bad\xFFpath"), "");
  EXPECT_FALSE(RegisterFileAssociation("/bad\npath", dir.path(""), false).ok);
  EXPECT_FALSE(fs::exists(dir.path("applications/tomtura.desktop")));
}

TEST(FileAssociationTest, DataHomeFromTheEnvironmentAndMissingToolsAreNoError) {
  const std::string oldXdg = getenv("XDG_DATA_HOME") ? getenv("XDG_DATA_HOME") : "";
  const std::string oldHome = getenv("HOME") ? getenv("HOME") : "";
  const std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("HOME", "/home/eva", 1);
  setenv("XDG_DATA_HOME", "/data/eva", 1);
  EXPECT_EQ(UserDataHome(), "/data/eva");
  setenv("XDG_DATA_HOME", "relative/ignored", 1);
  EXPECT_EQ(UserDataHome(), "/home/eva/.local/share");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(UserDataHome(), "/home/eva/.local/share");

  TempDir dir;
  setenv("PATH", dir.path("").c_str(), 1);  // the cache tools are not there
  const AssociationResult r = RegisterFileAssociation("/opt/tomtura", dir.path(""), true);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.filesWritten, 2);

  setenv("PATH", oldPath.c_str(), 1);
  setenv("HOME", oldHome.c_str(), 1);
  if (!oldXdg.empty()) setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
}

}  // namespace
}  // namespace tomtura
