#include "store/settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "test_support.h"

namespace tomtura {
namespace {

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
