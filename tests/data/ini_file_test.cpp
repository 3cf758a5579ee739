#include "data/ini_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <optional>
#include <string>

#include "temp_dir.h"

namespace tomtura {
namespace {

using test::CountEntries;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

// ---- Reading --------------------------------------------------------------------------------

constexpr std::string_view kReaderFile =
    "orphan=before any section\r\n"
    "[Texts]\r\n"
    "  1 =  Hej  \r\n"
    "2=\"  kept blanks  \"\r\n"
    "3=\"only one quote\r\n"
    "4=a=b\r\n"
    "5=\r\n"
    "1=second occurrence\r\n"
    "; 6=commented out\r\n"
    "\tAbc\t=\ttabbed\t\r\n"
    "7=\"\"inner\"\"\r\n"
    "[tips]\r\n"
    "Free text, no key here.\r\n"
    "x=free text that looks like a key\r\n"
    "[TEXTS]\r\n"
    "8=in the second section of the same name\r\n"
    "[Other]\n"
    "k=lf line\n"
    "last=no final newline";

TEST(IniFileRead, FollowsTheProfileReader) {
  const IniFile ini = IniFile::Parse(kReaderFile);
  struct Case {
    std::string_view section, key;
    std::optional<std::string> want;
  };
  const Case cases[] = {
      {"TEXTS", "1", "Hej"},               // trimmed; first of two keys "1"
      {"texts", "1", "Hej"},               // section name in any case
      {"TEXTS", "2", "  kept blanks  "},   // one pair of quotes removed, inside kept
      {"TEXTS", "3", "\"only one quote"},  // unmatched quote stays
      {"TEXTS", "4", "a=b"},               // value runs past a second '='
      {"TEXTS", "5", ""},                  // present but empty
      {"TEXTS", "6", std::nullopt},        // comment line
      {"TEXTS", "ABC", "tabbed"},          // key in any case, tabs trimmed
      {"TEXTS", "7", "\"inner\""},         // only the outer pair goes
      {"TEXTS", "8", std::nullopt},        // later section of the same name is unseen
      {"TIPS", "x", "free text that looks like a key"},
      {"OTHER", "k", "lf line"},
      {"Other", "last", "no final newline"},
      {"Texts", "orphan", std::nullopt},
      {"Missing", "1", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ini.Get(c.section, c.key), c.want) << c.section << "/" << c.key;
  }
  EXPECT_EQ(ini.GetString("TEXTS", "6", "fallback"), "fallback");
  EXPECT_EQ(ini.GetString("TEXTS", "5", "fallback"), "");
}

TEST(IniFileRead, GetIntReadsLikeTheProfileReader) {
  const IniFile ini = IniFile::Parse(
      "[LJUD]\n"
      "a=42abc\nb=  -7\nc=+3\nd=abc\ne=\nf=99999999999\ng=-99999999999\nh=\"12\"\ni=5 6\n"
      "j=123456789012345678901234567890\n");
  struct Case {
    std::string_view key;
    int want;
  };
  const Case cases[] = {{"a", 42}, {"b", -7},      {"c", 3},       {"d", 0},
                        {"e", 0},  {"f", INT_MAX}, {"g", INT_MIN}, {"h", 12},
                        {"i", 5},  {"j", INT_MAX}, {"missing", -1}};
  for (const Case& c : cases) EXPECT_EQ(ini.GetInt("LJUD", c.key, -1), c.want) << c.key;
}

TEST(IniFileRead, Windows1252FileIsDecoded) {
  // 0xE4 is 'ä' and 0x80 the euro sign in Windows-1252; together they are not valid UTF-8.
  const IniFile cp = IniFile::Parse("[GATOR]\r\n1=V\xE4stra \x80\r\n");
  EXPECT_EQ(cp.Get("GATOR", "1"), "V\xC3\xA4stra \xE2\x82\xAC");

  const IniFile utf8 = IniFile::Parse("\xEF\xBB\xBF[GATOR]\n1=V\xC3\xA4stra\n");
  EXPECT_EQ(utf8.Get("gator", "1"), "V\xC3\xA4stra");  // the byte-order mark hides nothing
}

TEST(IniFileRead, MissingOrUnreadableFileAnswersDefaults) {
  TempDir dir;
  const IniFile missing = IniFile::Load(dir.File("none.lst"));
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.GetInt("LJUD", "Ljud", 1), 1);

  const IniFile directory = IniFile::Load(dir.path().string());
  EXPECT_FALSE(directory.ok());

  WriteBytes(dir.File("t.lst"), "[A]\nb=c\n");
  const IniFile present = IniFile::Load(dir.File("t.lst"));
  EXPECT_TRUE(present.ok());
  EXPECT_EQ(present.Get("A", "b"), "c");
}

// ---- Writing --------------------------------------------------------------------------------

// A file that exercises everything a write must leave alone.
constexpr std::string_view kBoardFile =
    "; Tomtura board file\r\n"
    "[TEXTS]\r\n"
    "0=Tomtura\r\n"
    "1=R\xE4kna|rad\r\n"  // Windows-1252 'ä'
    "\r\n"
    "[LJUD]\r\n"
    "Ljud = 1\r\n"
    "Musik=1\n"  // a stray LF line
    "; comment inside\r\n"
    "\r\n"
    "[TIPS]\r\n"
    "Buy=everything you can.\r\n"
    "   indented tip\r\n"
    "[REGLER]\r\n"
    "__Rule one\r\n";

struct WriteCase {
  const char* name;
  std::string_view section, key, value;
  std::string_view want;  // the whole file afterwards
};

TEST(IniFileWrite, ChangesOnlyWhatItMust) {
  const WriteCase cases[] = {
      {"change keeps key spelling and blanks", "ljud", "LJUD", "0",
       "; Tomtura board file\r\n[TEXTS]\r\n0=Tomtura\r\n1=R\xE4kna|rad\r\n\r\n[LJUD]\r\n"
       "Ljud = 0\r\nMusik=1\n; comment inside\r\n\r\n[TIPS]\r\nBuy=everything you can.\r\n"
       "   indented tip\r\n[REGLER]\r\n__Rule one\r\n"},
      {"change keeps the LF of its line", "LJUD", "Musik", "0",
       "; Tomtura board file\r\n[TEXTS]\r\n0=Tomtura\r\n1=R\xE4kna|rad\r\n\r\n[LJUD]\r\n"
       "Ljud = 1\r\nMusik=0\n; comment inside\r\n\r\n[TIPS]\r\nBuy=everything you can.\r\n"
       "   indented tip\r\n[REGLER]\r\n__Rule one\r\n"},
      {"Windows-1252 file gets Windows-1252 value", "TEXTS", "0", "Tomtura \xC3\x85r \xE2\x82\xAC",
       "; Tomtura board file\r\n[TEXTS]\r\n0=Tomtura \xC5r \x80\r\n1=R\xE4kna|rad\r\n\r\n"
       "[LJUD]\r\nLjud = 1\r\nMusik=1\n; comment inside\r\n\r\n[TIPS]\r\n"
       "Buy=everything you can.\r\n   indented tip\r\n[REGLER]\r\n__Rule one\r\n"},
      {"new key after the section's last key", "LJUD", "Snabb", "1",
       "; Tomtura board file\r\n[TEXTS]\r\n0=Tomtura\r\n1=R\xE4kna|rad\r\n\r\n[LJUD]\r\n"
       "Ljud = 1\r\nMusik=1\nSnabb=1\r\n; comment inside\r\n\r\n[TIPS]\r\n"
       "Buy=everything you can.\r\n   indented tip\r\n[REGLER]\r\n__Rule one\r\n"},
      {"new section goes before the free text", "SOUND", "5", "kassa.wav",
       "; Tomtura board file\r\n[TEXTS]\r\n0=Tomtura\r\n1=R\xE4kna|rad\r\n\r\n[LJUD]\r\n"
       "Ljud = 1\r\nMusik=1\n; comment inside\r\n\r\n[SOUND]\r\n5=kassa.wav\r\n[TIPS]\r\n"
       "Buy=everything you can.\r\n   indented tip\r\n[REGLER]\r\n__Rule one\r\n"},
      {"padded value is quoted", "LJUD", "Bakgrund", " a b ",
       "; Tomtura board file\r\n[TEXTS]\r\n0=Tomtura\r\n1=R\xE4kna|rad\r\n\r\n[LJUD]\r\n"
       "Ljud = 1\r\nMusik=1\nBakgrund=\" a b \"\r\n; comment inside\r\n\r\n[TIPS]\r\n"
       "Buy=everything you can.\r\n   indented tip\r\n[REGLER]\r\n__Rule one\r\n"},
  };
  for (const WriteCase& c : cases) {
    TempDir dir;
    const std::string path = dir.File("tomtura.lst");
    WriteBytes(path, kBoardFile);
    IniFile ini = IniFile::Load(path);
    ASSERT_TRUE(ini.Write(c.section, c.key, c.value)) << c.name;
    EXPECT_EQ(ReadBytes(path), c.want) << c.name;
    EXPECT_EQ(ini.Serialize(), c.want) << c.name;
    EXPECT_EQ(ini.Get(c.section, c.key), std::string(c.value)) << c.name;
    EXPECT_EQ(CountEntries(dir.path()), 1) << c.name;  // no temporary file left
  }
}

TEST(IniFileWrite, AddsToSmallAndMissingFiles) {
  const WriteCase cases[] = {
      {"no final newline", "A", "k", "v", "[A]\nx=1\nk=v"},
      {"section without keys", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
      {"new section at the end", "C", "k", "v", "[A]\nx=1\n[B]\n[C]\nk=v\n"},
  };
  const std::string_view before[] = {"[A]\nx=1", "[A]\nx=1\n[B]\n", "[A]\nx=1\n[B]\n"};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TempDir dir;
    const std::string path = dir.File("f.ini");
    WriteBytes(path, before[i]);
    IniFile ini = IniFile::Load(path);
    ASSERT_TRUE(ini.Write(cases[i].section, cases[i].key, cases[i].value)) << cases[i].name;
    EXPECT_EQ(ReadBytes(path), cases[i].want) << cases[i].name;
  }

  TempDir dir;
  const std::string path = dir.File("new.lst");
  IniFile created = IniFile::Load(path);
  ASSERT_TRUE(created.Write("LJUD", "Ljud", "0"));
  EXPECT_EQ(ReadBytes(path), "[LJUD]\nLjud=0\n");
}

TEST(IniFileWrite, ValuesReadBackUnchanged) {
  TempDir dir;
  const std::string path = dir.File("f.ini");
  WriteBytes(path, "[S]\n");
  for (const std::string_view value :
       {" lead", "trail\t", "\"quoted\"", "\"", "", "a=b", "\xC3\xA5\xC3\xA4\xC3\xB6", "  "}) {
    IniFile writer = IniFile::Load(path);
    ASSERT_TRUE(writer.Write("S", "k", value)) << value;
    EXPECT_EQ(IniFile::Load(path).Get("S", "k"), std::string(value)) << value;
  }
}

TEST(IniFileWrite, RefusesWhatCannotStandOnOneLine) {
  TempDir dir;
  const std::string path = dir.File("f.ini");
  WriteBytes(path, "[S]\nk=old\n");
  IniFile ini = IniFile::Load(path);
  struct Case {
    std::string_view section, key, value;
  };
  const Case cases[] = {
      {"S", "k", "two\nlines"}, {"S", "k", "cr\r"}, {"S", "k", std::string_view("n\0l", 3)},
      {"S", "k", "bad \xC3"},   {"S", "a=b", "v"},  {"S", "", "v"},
      {"S]", "k", "v"},         {"", "k", "v"},     {"S", " k", "v"},
      {"S", ";k", "v"},         {"S", "[k", "v"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(ini.Write(c.section, c.key, c.value)) << c.section << "/" << c.key;
  }
  EXPECT_EQ(ReadBytes(path), "[S]\nk=old\n");
  EXPECT_EQ(ini.Get("S", "k"), "old");
}

TEST(IniFileWrite, KeepsChangesMadeByOthersSinceLoading) {
  TempDir dir;
  const std::string path = dir.File("f.ini");
  WriteBytes(path, "[S]\na=1\n");
  IniFile first = IniFile::Load(path);
  IniFile second = IniFile::Load(path);
  ASSERT_TRUE(first.Write("S", "b", "2"));
  ASSERT_TRUE(second.Write("S", "c", "3"));
  EXPECT_EQ(ReadBytes(path), "[S]\na=1\nb=2\nc=3\n");
  EXPECT_EQ(second.Get("S", "b"), "2");
}

TEST(IniFileWrite, ParsedTextHasNoFileToWrite) {
  IniFile ini = IniFile::Parse("[S]\nk=v\n");
  EXPECT_FALSE(ini.Write("S", "k", "w"));
  EXPECT_EQ(ini.Get("S", "k"), "v");
}

TEST(IniFileWrite, UnreadableFileIsNotReplaced) {
  TempDir dir;
  const std::string path = dir.File("fifo.lst");  // exists, but is no file to read
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  IniFile ini = IniFile::Load(path);
  EXPECT_FALSE(ini.ok());
  EXPECT_FALSE(ini.Write("S", "k", "v"));
  EXPECT_TRUE(std::filesystem::is_fifo(path));
}

// Makes every write beyond `bytes` fail with EFBIG for the lifetime of the object.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    ::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  sighandler_t previousHandler_{};
};

TEST(IniFileWrite, FailedWriteLeavesFileAndMemoryAlone) {
  TempDir dir;
  const std::string path = dir.File("f.ini");
  const std::string before = "[S]\nk=old\n";
  WriteBytes(path, before);
  IniFile ini = IniFile::Load(path);
  {
    FileSizeLimit limit(4);
    EXPECT_FALSE(ini.Write("S", "k", "a value longer than the limit"));
  }
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(ini.Get("S", "k"), "old");
  EXPECT_EQ(CountEntries(dir.path()), 1);
}

// ---- Atomic replacement ---------------------------------------------------------------------

TEST(WriteFileAtomically, ReplacesTheFileAndKeepsItsMode) {
  TempDir dir;
  const std::string path = dir.File("f.txt");
  WriteBytes(path, "old contents");
  std::filesystem::permissions(path, std::filesystem::perms(0640));
  ASSERT_TRUE(WriteFileAtomically(path, "new"));
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(CountEntries(dir.path()), 1);
}

TEST(WriteFileAtomically, WritesThroughASymbolicLink) {
  TempDir dir;
  const std::string real = dir.File("real.txt");
  const std::string link = dir.File("link.txt");
  WriteBytes(real, "old");
  std::filesystem::create_symlink(real, link);
  ASSERT_TRUE(WriteFileAtomically(link, "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(ReadBytes(real), "new");
}

TEST(WriteFileAtomically, FailureLeavesTheOldFileAndNoTemporary) {
  {
    TempDir dir;  // the write itself fails
    const std::string path = dir.File("f.txt");
    WriteBytes(path, "old");
    {
      FileSizeLimit limit(2);
      EXPECT_FALSE(WriteFileAtomically(path, "much longer new contents"));
    }
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(CountEntries(dir.path()), 1);
  }
  {
    TempDir dir;  // the rename fails: a directory stands where the file should go
    const std::string path = dir.File("taken");
    std::filesystem::create_directory(path);
    WriteBytes(dir.File("taken/inside"), "x");
    EXPECT_FALSE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(ReadBytes(dir.File("taken/inside")), "x");
    EXPECT_EQ(CountEntries(dir.path()), 1);
  }
  {
    TempDir dir;  // the directory does not exist
    EXPECT_FALSE(WriteFileAtomically(dir.File("nowhere/f.txt"), "new"));
    EXPECT_EQ(CountEntries(dir.path()), 0);
  }
}

TEST(WriteFileAtomically, UnwritableDirectoryLeavesTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TempDir dir;
  const std::string path = dir.File("f.txt");
  WriteBytes(path, "old");
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0555));
  EXPECT_FALSE(WriteFileAtomically(path, "new"));
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
  EXPECT_EQ(ReadBytes(path), "old");
  EXPECT_EQ(CountEntries(dir.path()), 1);
}

}  // namespace
}  // namespace tomtura
