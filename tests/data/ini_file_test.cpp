#include "data/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <optional>
#include <string>

#include "../store/test_support.h"

namespace tomtura {
namespace {

namespace fs = std::filesystem;

// A scratch folder, and in it the path of the file a test writes or reads.
class IniFileWrite : public ::testing::Test {
 protected:
  TempDir dir;
  const std::string path = dir.path("f.ini");
};
using IniFileRead = IniFileWrite;
using IniFileLayers = IniFileWrite;

TEST_F(IniFileRead, FollowsTheProfileReader) {
  const IniFile ini = IniFile::Parse(
      "orphan=before any section\r\n[Texts]\r\n  1 =  Hej  \r\n2=\"  kept  \"\r\n3=\"one\r\n"
      "4=a=b\r\n5=\r\n1=second\r\n; 6=comment\r\n\tAbc\t=\ttab\t\r\n7=\"\"in\"\"\r\n"
      "[tips]\r\nFree text.\r\nx=free text\r\n[TEXTS]\r\n8=second section\r\n[Other]\nk=lf");
  const std::pair<std::string_view, std::optional<std::string>> cases[] = {
      {"1", "Hej"},        {"2", "  kept  "},        {"3", "\"one"}, {"4", "a=b"},
      {"5", ""},           {"6", std::nullopt},      {"ABC", "tab"}, {"7", "\"in\""},
      {"8", std::nullopt}, {"orphan", std::nullopt},
  };
  for (const auto& [key, want] : cases) EXPECT_EQ(ini.Get("TEXTS", key), want) << key;
  EXPECT_EQ(ini.Get("Tips", "X"), "free text");
  EXPECT_EQ(ini.Get("OTHER", "k"), "lf");
  EXPECT_EQ(ini.GetString("texts", "6", "fallback"), "fallback");

  // Windows-1252 text (not valid UTF-8) is decoded; a UTF-8 byte-order mark hides nothing.
  EXPECT_EQ(IniFile::Parse("[G]\n1=V\xE4stra \x80").Get("G", "1"), "V\xC3\xA4stra \xE2\x82\xAC");
  EXPECT_EQ(IniFile::Parse("\xEF\xBB\xBF[G]\n1=\xC3\xA4").Get("G", "1"), "\xC3\xA4");
}

TEST_F(IniFileRead, GetIntReadsLikeTheProfileReader) {
  const IniFile ini = IniFile::Parse(
      "[LJUD]\na=42abc\nb=  -7\nc=+3\nd=abc\nf=123456789012345678901234567890\ng=-99999999999\n"
      "h=\"12\"\n");
  const std::pair<std::string_view, int> cases[] = {{"a", 42},      {"b", -7},      {"c", 3},
                                                    {"d", 0},       {"f", INT_MAX}, {"h", 12},
                                                    {"g", INT_MIN}, {"missing", -1}};
  for (const auto& [key, want] : cases) EXPECT_EQ(ini.GetInt("LJUD", key, -1), want) << key;
}

// Comments, CRLF and a stray LF, Windows-1252 text and free-text blocks, all to be kept.
constexpr std::string_view kBoardFile =
    "; board\r\n[TEXTS]\r\n0=Tomtura\r\n1=R\xE4kna\r\n\r\n[LJUD]\r\nLjud = 1\r\nMusik=1\n"
    "; note\r\n\r\n[TIPS]\r\nBuy=all.\r\n  tip\r\n[REGLER]\r\n__Rule\r\n";

std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
  std::string s(text);
  return s.replace(s.find(from), from.size(), to);
}

TEST_F(IniFileWrite, ChangesOnlyWhatItMust) {
  struct Case {
    std::string_view section, key, value, from, to;
  };
  const Case cases[] = {
      {"ljud", "LJUD", "0", "Ljud = 1\r", "Ljud = 0\r"},  // key's spelling and blanks kept
      {"LJUD", "Musik", "0", "Musik=1\n", "Musik=0\n"},
      {"TEXTS", "0", "\xC3\x85r \xE2\x82\xAC", "0=Tomtura", "0=\xC5r \x80"},  // in Windows-1252
      {"LJUD", "Snabb", "1", "Musik=1\n", "Musik=1\nSnabb=1\r\n"},            // after the last key
      {"SOUND", "5", "k.wav", "[TIPS]", "[SOUND]\r\n5=k.wav\r\n[TIPS]"},      // before free text
      {"LJUD", "Bakgrund", " a ", "Musik=1\n", "Musik=1\nBakgrund=\" a \"\r\n"},
  };
  for (const Case& c : cases) {
    WriteBytes(path, kBoardFile);
    IniFile ini = IniFile::Load(path);
    ASSERT_TRUE(ini.Write(c.section, c.key, c.value)) << c.key;
    EXPECT_EQ(ReadBytes(path), Replaced(kBoardFile, c.from, c.to)) << c.key;
    EXPECT_EQ(ini.Get(c.section, c.key), std::string(c.value)) << c.key;
    EXPECT_EQ(dir.Entries(), 1) << c.key;  // no temporary file left
  }
}

TEST_F(IniFileWrite, AddsToSmallAndMissingFilesAndBeforeTheFreeText) {
  const std::string_view cases[][3] = {
      {"", "LJUD", "[LJUD]\nk=v\n"},       // no file yet: the first case
      {"[A]\nx=1", "A", "[A]\nx=1\nk=v"},  // no final line break, and none added
      {"[A]\n[B]\n", "B", "[A]\n[B]\nk=v\n"},
      // A new section goes before the free text, not before a mention of it.
      {"[TEXTS]\n1=See [TIPS] below\n2=two\n[TIPS]\nTip\n", "LJUD",
       "[TEXTS]\n1=See [TIPS] below\n2=two\n[LJUD]\nk=v\n[TIPS]\nTip\n"},
  };
  for (const auto& [before, section, after] : cases) {
    if (!before.empty()) WriteBytes(path, before);
    ASSERT_TRUE(IniFile::Load(path).Write(section, "k", "v")) << section;
    EXPECT_EQ(ReadBytes(path), after) << section;
  }
}

TEST_F(IniFileWrite, ValuesReadBackUnchangedAndBadOnesAreRefused) {
  for (const std::string_view value : {" lead", "trail\t", "\"q\"", "\"", "", "a=b", "  "}) {
    ASSERT_TRUE(IniFile::Load(path).Write("S", "k", value)) << value;
    EXPECT_EQ(IniFile::Load(path).Get("S", "k"), std::string(value)) << value;
  }
  const std::string before = ReadBytes(path);
  IniFile ini = IniFile::Load(path);
  const std::string_view bad[][3] = {
      {"S", "k", "two\nlines"}, {"S", "k", "r\r"}, {"S", "k", "bad \xC3"}, {"S", "a=b", "v"},
      {"S", " k", "v"},         {"S]", "k", "v"},  {"", "k", "v"}};
  for (const auto& [section, key, value] : bad) EXPECT_FALSE(ini.Write(section, key, value));
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_FALSE(IniFile::Parse("[S]\n").Write("S", "k", "v"));  // no file to write to
}

TEST_F(IniFileWrite, KeepsChangesMadeByOthersSinceLoading) {
  WriteBytes(path, "[S]\na=1\n");
  IniFile first = IniFile::Load(path);
  IniFile second = IniFile::Load(path);
  ASSERT_TRUE(first.Write("S", "b", "2"));
  ASSERT_TRUE(second.Write("S", "c", "3"));
  EXPECT_EQ(ReadBytes(path), "[S]\na=1\nb=2\nc=3\n");
}

TEST_F(IniFileWrite, FailureLeavesFileAndMemoryAlone) {
  WriteBytes(path, "[S]\nk=old\n");
  IniFile ini = IniFile::Load(path);
  {
    FileSizeLimit limit(4);
    EXPECT_FALSE(ini.Write("S", "k", "longer than the limit"));
  }
  EXPECT_EQ(ReadBytes(path), "[S]\nk=old\n");
  EXPECT_EQ(ini.Get("S", "k"), "old");
  EXPECT_EQ(dir.Entries(), 1);

  const std::string fifo = dir.path("fifo.lst");  // exists, but cannot be read as a file
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  IniFile unreadable = IniFile::Load(fifo);
  EXPECT_FALSE(unreadable.ok());
  EXPECT_FALSE(unreadable.Write("S", "k", "v"));
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(IniFileWrite, EveryTextReadsTheSameAfterAWrite) {
  // Windows-1252 only because of the byte 0xE4 in the line the write replaces; the bytes of
  // text 1 happen to be valid UTF-8 too.
  WriteBytes(path, "[TEXTS]\n1=\xC3\xA5\n[LJUD]\nLjud=\xE4\n");
  IniFile ini = IniFile::Load(path);
  const std::optional<std::string> before = ini.Get("TEXTS", "1");
  ASSERT_EQ(before, "\xC3\x83\xC2\xA5");
  ASSERT_TRUE(ini.Write("LJUD", "Ljud", "1"));
  EXPECT_EQ(IniFile::Load(path).Get("TEXTS", "1"), before);
  EXPECT_EQ(IniFile::Load(path).Get("LJUD", "Ljud"), "1");

  // What Windows-1252 cannot hold makes the file UTF-8, every text reading as before.
  WriteBytes(path, "[TEXTS]\n1=R\xE4kna\n");
  ASSERT_TRUE(IniFile::Load(path).Write("Sp\xC5\x91l", "N\xC5\x91", "\xC5\x91 \xE2\x82\xAC"));
  const IniFile utf8 = IniFile::Load(path);
  EXPECT_EQ(utf8.Get("TEXTS", "1"), "R\xC3\xA4kna");
  EXPECT_EQ(utf8.Get("Sp\xC5\x91l", "N\xC5\x91"), "\xC5\x91 \xE2\x82\xAC");
}

TEST_F(IniFileRead, AFileFarLargerThanABoardFileIsRefused) {
  EXPECT_FALSE(IniFile::Parse(std::string(64 * 1024 + 1, '\n')).ok());
  EXPECT_FALSE(IniFile::Parse(std::string(1024 * 1024 + 1, 'x')).ok());
  const IniFile fits = IniFile::Parse("[S]\nk=v" + std::string(60000, '\n'));
  EXPECT_TRUE(fits.ok());
  EXPECT_EQ(fits.Get("S", "k"), "v");

  WriteBytes(path, std::string(16 * 1024 * 1024, '\n'));
  EXPECT_FALSE(IniFile::Load(path).ok());  // a refused file is not written: the fifo's test
}

TEST_F(IniFileLayers, ThePlayersFileHoldsOnlyHisChangesAndReadsOverTheEdition) {
  const std::string edition = dir.path("tomtura.lst");
  const std::string player = dir.path("config/tomtura/tomtura.lst");
  WriteBytes(edition, "[TEXTS]\n0=Tomtura\n[LJUD]\nLjud=1\nMusik=1\n[TIPS]\nTip\n");
  fs::permissions(edition, fs::perms(0444));  // as an installed program's file

  IniFile file = IniFile::Load(player);
  file.SetBase(IniFile::Load(edition));
  EXPECT_TRUE(file.ok());
  EXPECT_EQ(file.Get("LJUD", "Ljud"), "1");
  EXPECT_TRUE(file.HasKeys("TEXTS"));
  ASSERT_TRUE(file.Write("LJUD", "Ljud", "0"));
  EXPECT_EQ(file.Get("LJUD", "Ljud"), "0");
  EXPECT_EQ(file.Get("LJUD", "Musik"), "1");
  EXPECT_EQ(file.base().path(), edition);
  EXPECT_EQ(ReadBytes(player), "[LJUD]\nLjud=0\n");

  // A later edition's texts reach the player; his own keys stay his.
  fs::permissions(edition, fs::perms(0644));
  WriteBytes(edition, "[TEXTS]\n0=Tomtura 2\n[LJUD]\nLjud=1\n");
  IniFile again = IniFile::Load(player);
  again.SetBase(IniFile::Load(edition));
  EXPECT_EQ(again.Get("TEXTS", "0"), "Tomtura 2");
  EXPECT_EQ(again.Get("LJUD", "Ljud"), "0");

  IniFile nothing = IniFile::Load(dir.path("none.lst"));
  nothing.SetBase(IniFile::Load(dir.path("missing.lst")));
  EXPECT_FALSE(nothing.ok());
}

TEST(WriteFileAtomically, KeepsModeAndSymbolicLink) {
  TempDir dir;
  const std::string real = dir.path("real.txt"), link = dir.path("link.txt");
  WriteBytes(real, "old");
  fs::permissions(real, fs::perms(0640));
  fs::create_symlink(real, link);
  ASSERT_TRUE(WriteFileAtomically(link, "new"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(real), "new");
  EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
  EXPECT_EQ(dir.Entries(), 2);
}

TEST(WriteFileAtomically, RemovesTemporariesThatKilledWritersLeft) {
  TempDir dir;
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ASSERT_GT(gone, 0);
  ::waitpid(gone, nullptr, 0);
  const std::string stale = dir.path(".game.tom.tmp-" + std::to_string(gone) + "-0");
  const std::string running = dir.path(".game.tom.tmp-" + std::to_string(::getppid()) + "-0");
  const std::string someones = dir.path(".notes.tmp-draft");
  for (const std::string& p : {stale, running, someones}) WriteBytes(p, "partial");

  ASSERT_TRUE(WriteFileAtomically(dir.path("other.tom"), "new"));
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(running));
  EXPECT_TRUE(fs::exists(someones));
}

}  // namespace
}  // namespace tomtura
