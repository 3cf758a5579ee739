#include "store/roster.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace tomtura {
namespace {

Player MakePlayer(const std::string& name, const std::string& password, int token, int computer) {
  Player p;
  p.name.setUtf8(name);
  p.password.setUtf8(password);
  p.token = static_cast<std::int16_t>(token);
  p.isComputer = static_cast<std::int16_t>(computer);
  return p;
}

TEST(RosterTest, LinesCarryTheScrambledPasswordOrNoneAtAll) {
  GameState s;
  s.playerCount = 3;
  s.players[0] = MakePlayer("Eva", "ab", 3, 0);
  s.players[1] = MakePlayer("Ola", "a(b", 1, 0);  // '(' scrambles to a comma
  s.players[2] = MakePlayer("Dator", "", 9, 1);
  EXPECT_EQ(RosterLine(s, 0), "3,ef,0,Eva");
  EXPECT_EQ(RosterLine(s, 1), "1,,0,Ola");
  EXPECT_EQ(RosterLine(s, 2), "9,,1,Dator");
  // A computer's strength follows its "1" (see the reading and the round trip); a person's record
  // has none to write.
  s.players[0].strength = Strength::Hard;
  EXPECT_EQ(RosterLine(s, 0), "3,ef,0,Eva");
}

TEST(RosterTest, RoundTripInUtf8AndWindows1252Files) {
  GameState s;
  s.playerCount = 4;
  s.players[0] = MakePlayer("Anna", "xyz", 1, 0);
  s.players[1] = MakePlayer("Dator", "", 2, 1);
  s.players[1].strength = Strength::Hard;
  s.players[2] = MakePlayer("Åsa,Li", "å1 ", 9, 0);
  s.players[3] = MakePlayer("Bo", "{~!", 0, 0);
  s.players[4] = MakePlayer("Utanför", "q", 5, 0);
  for (const char* start : {"[LJUD]\n1=old\n6=old\n", "[TEXTS]\r\n1=V\xE4lkommen\r\n"}) {
    TempDir dir;
    WriteBytes(dir.path("tomtura.lst"), start);
    IniFile file = IniFile::Load(dir.path("tomtura.lst"));
    ASSERT_TRUE(WriteRoster(file, s));

    const IniFile reread = IniFile::Load(dir.path("tomtura.lst"));
    EXPECT_EQ(reread.Get("LJUD", "5"), "");
    EXPECT_EQ(reread.Get("LJUD", "6"), "");
    GameState back;
    EXPECT_EQ(ReadRoster(reread, back), 4);
    EXPECT_EQ(back.playerCount, 4);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(back.players[i] == s.players[i]) << start << i;
  }
}

TEST(RosterTest, ReadingEdgeCases) {
  // What the case is, the lines of keys 1.. in order, how many players are read, and the last
  // of them as the roster writes him.
  const std::tuple<const char*, std::vector<std::string>, int, std::string> cases[] = {
      {"empty key ends", {"1,,0,A", "2,,0,B", "", "4,,0,D"}, 2, "2,,0,B"},
      {"name cut to 9", {"1,,0,Bartholomew"}, 1, "1,,0,Bartholom"},
      {"no second comma", {"1,ef,0,A", "2xy", "3,,0,C"}, 1, "1,ef,0,A"},
      {"computer loses password", {"4,ef,1,Dator"}, 1, "4,,1,Dator"},
      {"password cut to 3", {"4,efgh,0,P"}, 1, "4,efg,0,P"},
      {"only '1' is a computer", {"7,,12,Ola", "2,,2,Per"}, 2, "2,,0,Per"},
      {"an easy computer", {"5,,1E,Lisa"}, 1, "5,,1E,Lisa"},
      {"a strength is one letter", {"5,,1HH,Lisa"}, 1, "5,,1,Lisa"},
      {"an unknown strength", {"5,,1X,Lisa"}, 1, "5,,1,Lisa"},
      {"a person has none", {"5,,0H,Lisa"}, 1, "5,,0,Lisa"},
      {"line cut to 40", {"1," + std::string(40, 'x') + ",0,Eva"}, 0, ""},
  };
  for (const auto& [what, lines, count, last] : cases) {
    std::string text = "[LJUD]\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
      text += std::to_string(i + 1) + "=" + lines[i] + "\n";
    }
    GameState s;
    for (Player& p : s.players) p.name.setRaw("Keep");
    EXPECT_EQ(ReadRoster(IniFile::Parse(text), s), count) << what;
    EXPECT_EQ(s.playerCount, count) << what;
    EXPECT_EQ(RosterLine(s, std::max(count - 1, 0)), last) << what;
    EXPECT_EQ(s.players[count].name.raw(), "Keep") << what;  // an unread line writes nothing
  }
  // A hand-edited roster that gives two players one piece: the later takes the first free one.
  GameState shared;
  const IniFile twice = IniFile::Parse("[LJUD]\n1=1,,0,A\n2=0,,0,B\n3=1,,0,C\n4=0,,1,D\n");
  ASSERT_EQ(ReadRoster(twice, shared), 4);
  EXPECT_EQ(RosterLine(shared, 2), "2,,0,C");
  EXPECT_EQ(RosterLine(shared, 3), "3,,1,D");

  GameState s;
  EXPECT_FALSE(RosterOffered(IniFile::Parse("[TEXTS]\n"), s));
  EXPECT_TRUE(RosterOffered(IniFile::Parse("[LJUD]\nSparaSpelare=3\n"), s));
  s.players[0].name.setRaw("Eva");
  EXPECT_FALSE(RosterOffered(IniFile::Parse("[LJUD]\nSparaSpelare=1\n"), s));
}

}  // namespace
}  // namespace tomtura
