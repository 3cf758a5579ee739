// The editions of the board and the player's own file: which edition is played, how it writes
// money, where the player's file lives and what his options in it say.
#include "store/editions.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>

#include "data/ini_file.h"
#include "data/money.h"
#include "store/settings.h"
#include "test_support.h"

namespace tomtura {
namespace {

TEST(Editions, AreFoundByFileAndNamedByTheirSection) {
  TempDir dir;
  WriteBytes(dir.path("tomtura.lst"), "[EDITION]\nLanguage=sv\nName=Svenska\n");
  WriteBytes(dir.path("tomtura_en.lst"), "[EDITION]\nLanguage=en\nName=English\n");
  WriteBytes(dir.path("tomtura_de.lst"), "[TEXTS]\n0=Tomtura\n");      // named by its file name
  WriteBytes(dir.path("tomtura_xx.lst"), "[EDITION]\nLanguage=en\n");  // a second English one
  WriteBytes(dir.path("notes.lst"), "[EDITION]\nLanguage=fr\n");
  const std::vector<Edition> editions = FindEditions(dir.path(""));
  ASSERT_EQ(editions.size(), 3u);
  EXPECT_EQ(editions[0], (Edition{"de", "de", dir.path("tomtura_de.lst")}));
  EXPECT_EQ(editions[1], (Edition{"en", "English", dir.path("tomtura_en.lst")}));
  EXPECT_EQ(editions[2], (Edition{"sv", "Svenska", dir.path("tomtura.lst")}));
  // The board files as read come in the editions' order, for the one played to be taken over.
  std::vector<IniFile> files;
  EXPECT_EQ(FindEditions(dir.path(""), &files), editions);
  ASSERT_EQ(files.size(), 3u);
  for (std::size_t i = 0; i < files.size(); ++i) EXPECT_EQ(files[i].path(), editions[i].boardFile);
  EXPECT_EQ(files[1].GetString("EDITION", "Name", ""), "English");
  EXPECT_TRUE(FindEditions(dir.path("missing")).empty());
}

TEST(Editions, TheCommandLineThenTheStoredChoiceThenTheDesktopDecide) {
  const std::vector<Edition> both = {{"sv", "Svenska", "s"}, {"en", "English", "e"}};
  const auto chosen = [&](std::string_view requested, std::string_view stored,
                          std::string_view locale) {
    const Edition* edition = ChooseEdition(both, requested, stored, locale);
    return edition ? edition->language : "none";
  };
  EXPECT_EQ(chosen("", "", "sv_SE.UTF-8"), "sv");
  EXPECT_EQ(chosen("", "", "sv"), "sv");
  EXPECT_EQ(chosen("", "", "de_DE"), "en");
  EXPECT_EQ(chosen("", "en", "sv_SE"), "en");
  EXPECT_EQ(chosen("", "fi", "sv_SE"), "sv");  // a stored edition since removed
  EXPECT_EQ(chosen("sv", "en", "en_GB"), "sv");
  EXPECT_EQ(chosen("fi", "en", "en_GB"), "none");

  const std::vector<Edition> swedishOnly = {{"sv", "Svenska", "s"}};
  EXPECT_EQ(ChooseEdition(swedishOnly, "", "", "de_DE")->language, "sv");
  EXPECT_EQ(ChooseEdition({}, "", "", "sv_SE"), nullptr);
}

TEST(Editions, NameTheirBoardPicture) {
  EXPECT_EQ(EditionPicture(IniFile::Parse("[edition]\npicture = tomtura_en.bmp\n")),
            "tomtura_en.bmp");
  EXPECT_EQ(EditionPicture(IniFile::Parse("[EDITION]\nLanguage=sv\n")), "tomtura.bmp");
  EXPECT_EQ(EditionPicture(IniFile::Parse("[EDITION]\nPicture=\n")), "tomtura.bmp");
}

TEST(Editions, WriteMoneyInTheirFormat) {
  const IniFile swedish = IniFile::Load(TOMTURA_ASSETS_DIR "/tomtura.lst");
  const IniFile english = IniFile::Load(TOMTURA_ASSETS_DIR "/tomtura_en.lst");
  const IniFile twoSlots = IniFile::Parse("[EDITION]\nMoney=%s %s\n");  // as an older edition
  const IniFile older = IniFile::Parse("[TEXTS]\n0=Tomtura\n");
  const std::tuple<const IniFile*, std::int64_t, const char*> cases[] = {
      {&swedish, 0, "0 kr"},
      {&swedish, 999, "999 kr"},
      {&swedish, 1200, "1 200 kr"},
      {&swedish, -34500, "-34 500 kr"},
      {&english, 1234567, "£1,234,567"},
      {&english, -100, "-£100"},
      {&twoSlots, 123456, "123456 kr"},
      {&older, 30000, "30000 kr"},
      {&english, INT64_MIN, "-£9,223,372,036,854,775,808"},
  };
  for (const auto& [file, amount, text] : cases)
    EXPECT_EQ(MoneyFormat::Of(*file).Write(amount), text) << amount;
}

TEST(Editions, ThePlayersFileLivesInHisConfigFolder) {
  const char* config = getenv("XDG_CONFIG_HOME");
  const char* home = getenv("HOME");
  const std::string savedConfig = config ? config : "", savedHome = home ? home : "";
  setenv("HOME", "/home/anna", 1);
  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(PlayerFilePath(), "/cfg/tomtura/tomtura.lst");
  setenv("XDG_CONFIG_HOME", "relative", 1);
  EXPECT_EQ(PlayerFilePath(), "/home/anna/.config/tomtura/tomtura.lst");
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(PlayerFilePath(), "/home/anna/.config/tomtura/tomtura.lst");
  unsetenv("HOME");
  EXPECT_EQ(PlayerFilePath(), "");
  config ? setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  home ? setenv("HOME", savedHome.c_str(), 1) : unsetenv("HOME");
}

// The options in the player's file: what they are by default, and the window's place.
std::vector<int> Flags(const Options& o) {
  return {o.firstLapRule,  o.soundOn,   o.flatButtons, o.musicOn,
          o.showCompanies, o.fastMoves, o.savePlayers, o.auctionOn};
}

TEST(SettingsTest, DefaultsAndStoredNumbers) {
  const Options defaults = ReadOptions(IniFile::Parse("[TEXTS]\n0=Tomtura\n[GATOR]\nLjud=0\n"));
  EXPECT_EQ(Flags(defaults), (std::vector<int>{1, 1, 1, 1, 1, 0, 0, 1}));
  EXPECT_EQ(defaults.background, "Tomtura.bmp");

  // Any nonzero number is on; 256 too, although its low byte is 0.
  const Options stored = ReadOptions(IniFile::Parse(
      "[LJUD]\nLjud=5\nFirstLap=256\nFlat=abc\nMusik=-1\nVisaL=0\nSnabb=1\nSparaSpelare=2x\n"
      "Auction=0\n"));
  EXPECT_EQ(Flags(stored), (std::vector<int>{1, 1, 0, 1, 0, 1, 1, 0}));
  const RuleSettings rules = RuleSettingsOf(stored);
  EXPECT_EQ(rules.firstLapRule & 0xFF, 1);  // new games fill firstLap with this byte
  EXPECT_EQ(rules.auctionOn, 0);
}

// The window's place survives a round trip; a place that is not four numbers with a usable size
// is no place (the window then takes its first size).
TEST(SettingsTest, WindowPlace) {
  const TempDir dir;
  WriteBytes(dir.path("board.lst"), "[LJUD]\nLjud=1\n");
  IniFile file = IniFile::Load(dir.path("board.lst"));
  EXPECT_FALSE(ReadWindowPlace(file));
  const WindowPlace place{-20, 35, 1100, 700, true, true};
  ASSERT_TRUE(WriteWindowPlace(file, place));
  EXPECT_EQ(ReadWindowPlace(IniFile::Load(dir.path("board.lst"))), place);
  for (const char* bad : {"1,2,300", "1,2,300,400,5", "a,2,300,400", "1,2,99,400", "1,,300,400",
                          "1,2,300,400x", "1,2,300,9999999"}) {
    EXPECT_FALSE(ReadWindowPlace(IniFile::Parse(std::string("[LJUD]\nFonster=") + bad + "\n")))
        << bad;
  }
}

}  // namespace
}  // namespace tomtura
