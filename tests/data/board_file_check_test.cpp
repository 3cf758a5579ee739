// The check of a board file before a game is started on it: what is listed as missing, and what
// an edited file may still leave out.
#include "data/board_file_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tomtura {
namespace {

using Part = BoardFilePart;

// A board file with every part a game needs; `street5` is the value of "GATOR" key 5.
std::string BoardText(const std::string& street5 = "Torget,2000,1000,1,2,3,4,5,6,1") {
  std::string text = "[TEXTS]\n0=Tomtura\n[GATOR]\n";
  for (int key = 1; key <= 30; ++key) {
    text += std::to_string(key) + "=" + (key == 5 ? street5 : "Gata,100,0,1,2,3,4,5,6,0") + "\n";
  }
  return text + "[CHANS]\n1=Frikort\n[ALLM]\n1=Frikort\n";
}

std::string Without(std::string text, const std::string& part) {
  const std::size_t at = text.find(part);
  if (at != std::string::npos) text.erase(at, part.size());
  return text;
}

TEST(BoardFileCheck, ListsEachMissingPartInOrder) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<MissingBoardPart> want;
  };
  std::string streetsGone = BoardText();
  streetsGone.erase(streetsGone.find("[GATOR]"),
                    streetsGone.find("[CHANS]") - streetsGone.find("[GATOR]"));
  std::vector<int> allStreets;
  for (int key = 1; key <= 30; ++key) allStreets.push_back(key);
  const Case cases[] = {
      {"complete", BoardText(), {}},
      {"no streets", streetsGone, {{Part::Streets, allStreets}}},
      {"a nameless and a missing street",
       Without(BoardText(" ,2000,1000,1,2,3,4,5,6,1"), "12=Gata,100,0,1,2,3,4,5,6,0\n"),
       {{Part::Streets, {5, 12}}}},
      {"an empty street", BoardText(""), {{Part::Streets, {5}}}},
      {"no texts, decks given as headers only",
       Without(Without(Without(BoardText(), "0=Tomtura\n"), "1=Frikort\n"), "1=Frikort\n"),
       {{Part::Texts, {}}, {Part::ChanceCards, {}}, {Part::CommunityCards, {}}}},
      {"lower-case section names", "[texts]\n0=T\n" + BoardText().substr(18), {}},
      {"an empty file",
       "",
       {{Part::Texts, {}},
        {Part::Streets, allStreets},
        {Part::ChanceCards, {}},
        {Part::CommunityCards, {}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MissingBoardParts(IniFile::Parse(c.text)), c.want);
  }
}

// A file that is not there is reported as such, not as every part of it missing.
TEST(BoardFileCheck, AMissingFileIsOneThingMissing) {
  const IniFile none = IniFile::Load("/nonexistent/tomtura.lst");
  EXPECT_EQ(MissingBoardParts(none), (std::vector<MissingBoardPart>{{Part::File, {}}}));
}

}  // namespace
}  // namespace tomtura
