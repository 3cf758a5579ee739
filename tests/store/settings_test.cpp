#include "store/settings.h"

#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
}  // namespace tomtura
