#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "../store/test_support.h"
#include "data/free_text.h"

namespace tomtura {
namespace {

std::string Rules(std::string_view file) {
  return ExtractFreeText(file, FreeTextBlock::kRules);
}
std::string Tips(std::string_view file) {
  return ExtractFreeText(file, FreeTextBlock::kTips);
}

TEST(FreeText, BlocksEndAtEitherMarkerAndTheirLinesArePreparedForShowing) {
  const struct {
    std::string file, rules, tips;
  } cases[] = {
      // Blocks end at either marker, in either order.
      {"[TEXTS]\n0=x\n[REGLER]\nRule one\nRule two\n[TIPS]\nTip\n", "Rule one\nRule two\n",
       "Tip\n"},
      {"[TIPS]\nTip\n\nTip 2\n[REGLER]\nRule\n", "Rule\n", "Tip\n\nTip 2\n"},
      // Only a line that is a marker itself, blanks aside, starts or ends a block; one that
      // mentions a marker is text.
      {"1=see [TIPS] below\n  [REGLER]\t\r\nRule, not [TIPS]\n[TIPS]\nTip\n", "Rule, not [TIPS]\n",
       "Tip\n"},
      // A missing marker or an empty block gives nothing.
      {"[TEXTS]\n0=Tomtura\n", "", ""},
      {"", "", ""},
      {"[REGLER]", "", ""},
      {"[REGLER]\n[TIPS]\nTip\n", "", "Tip\n"},
      // A leading run of '_' is shown as blanks.
      {"[REGLER]\n___Word\n__S slår\n_\na_b_\n  _x\n\n", "   Word\n  S slår\n \na_b_\n  _x\n\n",
       ""},
      // Windows line ends, a byte-order mark and Windows-1252 text read the same as plain UTF-8.
      {"\xEF\xBB\xBF[REGLER]\r\nK\xC3\xB6p\r\n\r\nSlut\r\n", "Köp\n\nSlut\n", ""},
      {"[REGLER]\nK\xF6p\n", "Köp\n", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Rules(c.file), c.rules) << c.file;
    EXPECT_EQ(Tips(c.file), c.tips) << c.file;
  }
}

TEST(FreeText, LongLinesBecomeSeveralLines) {
  const std::string a(255, 'a'), b(255, 'b'), c(90, 'c');
  EXPECT_EQ(Rules("[REGLER]\n" + a + b + c + "\nnext\n"), a + "\n" + b + "\n" + c + "\nnext\n");
  // Exactly one piece long: one line, no empty line after it.
  EXPECT_EQ(Rules("[REGLER]\n" + a + "\nnext\n"), a + "\nnext\n");
  // Pieces count characters and never split one.
  std::string umlauts;
  for (int i = 0; i < 300; ++i) umlauts += "ä";
  const std::string shown = Rules("[REGLER]\n" + umlauts + "\n");
  EXPECT_EQ(shown, umlauts.substr(0, 510) + "\n" + umlauts.substr(510) + "\n");
  // Each piece is prepared alone: a continuation that begins with '_' is indented too.
  EXPECT_EQ(Rules("[REGLER]\n" + a + "__x\n"), a + "\n  x\n");
}

TEST(FreeText, BlockStopsAtTheLastWholePieceWithinTheLimit) {
  // 1 for the terminating zero, then a line of n characters costs n + 2.
  const std::string line98(98, 'x');
  std::string want;
  for (int i = 0; i < 159; ++i) want += line98 + "\n";  // 1 + 159 * 100 = 15901
  const std::string file = "[REGLER]\n" + want;
  const std::string line97(97, 'y');  // 15901 + 99 = 16000: still fits
  EXPECT_EQ(Rules(file + line97 + "\nz\n"), want + line97 + "\n");
  const std::string line98y(98, 'y');  // 16001: cut before it, and nothing after it counts
  EXPECT_EQ(Rules(file + line98y + "\nz\n"), want);

  // A piece without its own line feed still ends a line in the window, so it costs a line end
  // too: a line of 62 * 255 + 10 characters costs 1 + 62 * 257 + 12 = 15947, and a line of 60
  // more (62) would pass the limit.
  const std::string longLine = std::string(62 * 255, 'l') + std::string(10, 'm');
  const std::string shownLong = Rules("[REGLER]\n" + longLine + "\n" + std::string(60, 'n') + "\n");
  EXPECT_EQ(shownLong.find('n'), std::string::npos);
  EXPECT_EQ(shownLong.size(), 62u * 256u + 11u);
  const auto lines = static_cast<std::size_t>(std::count(shownLong.begin(), shownLong.end(), '\n'));
  EXPECT_LE(1 + shownLong.size() + lines, kMaxFreeTextBytes);  // each "\n" shown as CR LF
}

// The last line of the file is shown whole without its line feed.
TEST(FreeText, ReadsTheBoardFileFromDisk) {
  TempDir dir;
  WriteBytes(dir.path("tomtura.lst"), "[TIPS]\nTip\n[REGLER]\nRule");
  EXPECT_EQ(ReadFreeText(dir.path("tomtura.lst"), FreeTextBlock::kRules),
            std::optional<std::string>("Rule\n"));
  EXPECT_EQ(ReadFreeText(dir.path("missing.lst"), FreeTextBlock::kRules), std::nullopt);
  EXPECT_EQ(ReadFreeText(dir.path(""), FreeTextBlock::kTips), std::nullopt);  // a directory
}

}  // namespace
}  // namespace tomtura
