// The check of a board file before a game is started on it: each part it lacks, in order.
#include "data/board_file_check.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace tomtura {
namespace {

using Part = BoardFilePart;
using Parts = std::vector<MissingBoardPart>;

TEST(BoardFileCheck, ListsEachPartAGameCannotDoWithout) {
  // With `gaps`, street 5 has no name and street 12 is not there.
  const auto board = [](bool gaps) {
    std::string text = "[TEXTS]\n0=Tomtura\n[GATOR]\n";
    for (int key = 1; key <= 30; ++key) {
      if (!gaps || key != 12)
        text += std::to_string(key) + (gaps && key == 5 ? "= ,9\n" : "=G,9\n");
    }
    return text + "[CHANS]\n1=Kort\n[ALLM]\n1=Kort\n";
  };
  std::vector<int> allStreets(30);
  std::iota(allStreets.begin(), allStreets.end(), 1);
  EXPECT_EQ(MissingBoardParts(IniFile::Parse(board(false))), Parts{});
  EXPECT_EQ(MissingBoardParts(IniFile::Parse(board(true))), (Parts{{Part::Streets, {5, 12}}}));
  // The property table cuts a name at a NUL byte: a name behind one is no name either.
  std::string nul = board(false);
  nul.replace(nul.find("\n7=G"), 4, std::string("\n7=\0G", 5));
  EXPECT_EQ(MissingBoardParts(IniFile::Parse(nul)), (Parts{{Part::Streets, {7}}}));
  // A section header alone holds nothing; a missing file is one thing missing, not all.
  EXPECT_EQ(MissingBoardParts(IniFile::Parse("[TEXTS]\n[GATOR]\n[CHANS]\n[ALLM]\n")),
            (Parts{{Part::Texts, {}},
                   {Part::Streets, allStreets},
                   {Part::ChanceCards, {}},
                   {Part::CommunityCards, {}}}));
  EXPECT_EQ(MissingBoardParts(IniFile::Load("/nonexistent/tomtura.lst")),
            (Parts{{Part::File, {}}}));
}

}  // namespace
}  // namespace tomtura
