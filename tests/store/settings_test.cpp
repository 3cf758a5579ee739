#include "store/settings.h"

#include <gtest/gtest.h>

#include <fstream>

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

TEST(SettingsTest, WritesOneAndZeroAndCutsTheBackgroundTo127Characters) {
  TempDir dir;
  std::ofstream(dir.path("tomtura.lst"), std::ios::binary) << "[LJUD]\r\nLjud=5\r\n";
  IniFile file = IniFile::Load(dir.path("tomtura.lst"));
  ASSERT_TRUE(WriteOption(file, kKeySound, ReadOptions(file).soundOn == 0 ? 1 : 0));
  ASSERT_TRUE(WriteOption(file, kKeyFastMoves, 7));
  std::string nordic;
  for (int i = 0; i < 130; ++i) nordic += "å";
  ASSERT_TRUE(WriteBackground(file, nordic));

  const IniFile reread = IniFile::Load(dir.path("tomtura.lst"));
  EXPECT_EQ(reread.Get("LJUD", "Ljud"), "0");
  EXPECT_EQ(reread.Get("LJUD", "Snabb"), "1");
  EXPECT_EQ(ReadBackground(reread), nordic.substr(0, 127 * 2));  // two bytes per character
}

}  // namespace
}  // namespace tomtura
