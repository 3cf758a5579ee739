#include "store/settings.h"

#include <gtest/gtest.h>

#include <fstream>

#include "test_support.h"

namespace tomtura {
namespace {

IniFile WithLines(const TempDir& dir, const std::string& text) {
  std::ofstream(dir.path("tomtura.lst"), std::ios::binary) << text;
  return IniFile::Load(dir.path("tomtura.lst"));
}

TEST(SettingsTest, DefaultsWithoutTheSection) {
  const Options o = ReadOptions(IniFile::Parse("[TEXTS]\n0=Tomtura\n[GATOR]\nLjud=0\n"));
  EXPECT_EQ(o.firstLapRule, 1);
  EXPECT_EQ(o.soundOn, 1);
  EXPECT_EQ(o.flatButtons, 1);
  EXPECT_EQ(o.musicOn, 1);
  EXPECT_EQ(o.showCompanies, 1);
  EXPECT_EQ(o.fastMoves, 0);
  EXPECT_EQ(o.savePlayers, 0);
  EXPECT_EQ(o.auctionOn, 1);
  EXPECT_EQ(o.background, "Tomtura.bmp");
}

TEST(SettingsTest, AnyNonzeroNumberIsOn) {
  const Options o = ReadOptions(IniFile::Parse(
      "[LJUD]\nLjud=5\nFirstLap=256\nFlat=abc\nMusik=-1\nVisaL=0\nSnabb=1\nSparaSpelare=2x\n"
      "Auction=0\n"));
  EXPECT_EQ(o.soundOn, 1);
  EXPECT_EQ(o.firstLapRule, 1);
  EXPECT_EQ(o.flatButtons, 0);
  EXPECT_EQ(o.musicOn, 1);
  EXPECT_EQ(o.showCompanies, 0);
  EXPECT_EQ(o.fastMoves, 1);
  EXPECT_EQ(o.savePlayers, 1);
  EXPECT_EQ(o.auctionOn, 0);
  const RuleSettings r = RuleSettingsOf(o);
  EXPECT_EQ(r.firstLapRule & 0xFF, 1);  // new games fill firstLap with this byte
  EXPECT_EQ(r.auctionOn, 0);
  EXPECT_EQ(r.fastMoves, 1);
}

TEST(SettingsTest, SwitchingOffAStoredFiveWritesZero) {
  TempDir dir;
  IniFile file = WithLines(dir, "[LJUD]\r\nLjud=5\r\n");
  Options o = ReadOptions(file);
  o.soundOn = o.soundOn == 0 ? 1 : 0;
  ASSERT_TRUE(WriteOption(file, kKeySound, o.soundOn));
  ASSERT_TRUE(WriteOption(file, kKeyFastMoves, 7));
  const IniFile reread = IniFile::Load(dir.path("tomtura.lst"));
  EXPECT_EQ(reread.Get("LJUD", "Ljud"), "0");
  EXPECT_EQ(reread.Get("LJUD", "Snabb"), "1");
}

TEST(SettingsTest, BackgroundIsCutTo127Characters) {
  TempDir dir;
  IniFile file = WithLines(dir, "[LJUD]\n");
  const std::string longAscii(200, 'a');
  ASSERT_TRUE(WriteBackground(file, longAscii));
  EXPECT_EQ(ReadBackground(IniFile::Load(dir.path("tomtura.lst"))), longAscii.substr(0, 127));

  std::string nordic;
  for (int i = 0; i < 130; ++i) nordic += "å";
  ASSERT_TRUE(WriteBackground(file, nordic));
  const std::string read = ReadBackground(IniFile::Load(dir.path("tomtura.lst")));
  EXPECT_EQ(read, nordic.substr(0, 127 * 2));  // 127 characters of two bytes each
}

}  // namespace
}  // namespace tomtura
