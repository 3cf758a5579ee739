#include "store/data_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

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

}  // namespace
}  // namespace tomtura
