// What a board file must hold, and every edition of the board in the assets folder held to the
// Swedish one: the same texts with the same conversions, the same numbers on the board and on
// the cards, and its own words for all of them. A new tomtura_<language>.lst is picked up by
// listing the folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <numeric>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "data/board_file_check.h"
#include "data/free_text.h"
#include "data/game_state.h"
#include "data/text_catalogue.h"
#include "data/text_encoding.h"
#include "data/text_ids.h"
#include "format_conversions.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "trade/questions.h"

namespace tomtura {
namespace {

namespace fs = std::filesystem;

const fs::path kAssets = TOMTURA_ASSETS_DIR;
const std::string kReferenceFile = "tomtura.lst";
constexpr int kHighestTextProbed = 999;
constexpr std::size_t kCardTextBytes = 248;  // what a card's heading and words may take in all

// The check of a board file before a game is started on it: each part it lacks, in order.
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

// tomtura.lst and every tomtura_*.lst beside it.
std::vector<std::string> EditionFiles() {
  std::vector<std::string> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(kAssets)) {
    const std::string name = entry.path().filename().string();
    if (name == kReferenceFile || (name.starts_with("tomtura_") && name.ends_with(".lst")))
      files.push_back(name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

struct BoardEdition {
  explicit BoardEdition(const std::string& file)
      : path((kAssets / file).string()), texts(TextCatalogue::Load(path)) {
    texts.LoadPropertyTable(properties);
  }
  std::string Name(int p) const { return properties[p].name.utf8(); }

  std::string path;
  TextCatalogue texts;
  PropertyTable properties{};
};

const BoardEdition& Reference() {
  static const BoardEdition reference(kReferenceFile);
  return reference;
}

// A card's words as shown, without its number and with its line breaks as blanks.
std::string CardWords(const BoardEdition& edition, bool chance, int card) {
  std::string words = edition.texts.GetCard(chance, card);
  words = words.substr(0, words.find('@'));
  std::replace(words.begin(), words.end(), '|', ' ');
  return words;
}

// The runs of digits in `text`, sorted: the amounts a card names, whatever its currency.
std::vector<std::string> Amounts(const std::string& text) {
  static const std::regex kDigits("[0-9]+");
  std::vector<std::string> amounts(std::sregex_token_iterator(text.begin(), text.end(), kDigits),
                                   std::sregex_token_iterator());
  std::sort(amounts.begin(), amounts.end());
  return amounts;
}

class EditionTest : public testing::TestWithParam<std::string> {
 protected:
  const BoardEdition edition{GetParam()};
  const IniFile& ini() const { return edition.texts.file(); }
};

TEST_P(EditionTest, IsAWholeBoardFileThatNamesItsEdition) {
  ASSERT_TRUE(ini().ok()) << edition.path;
  EXPECT_EQ(MissingBoardParts(ini()), std::vector<MissingBoardPart>{});
  EXPECT_TRUE(IsValidUtf8(ReadFileBytes(edition.path).value_or("")));
  EXPECT_FALSE(ini().GetString("EDITION", "Language", "").empty());
  EXPECT_FALSE(ini().GetString("EDITION", "Name", "").empty());
}

TEST_P(EditionTest, HasTheSameTextsWithTheSameConversions) {
  for (int n = 0; n <= kHighestTextProbed; ++n) {
    SCOPED_TRACE(n);
    ASSERT_EQ(edition.texts.HasText(n), Reference().texts.HasText(n));
    if (!edition.texts.HasText(n)) continue;
    const std::string text = edition.texts.GetText(n);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(Conversions(text), Conversions(Reference().texts.GetText(n))) << text;
  }
}

TEST_P(EditionTest, PropertyTableHasTheSameNumbersAndNamesOfItsOwn) {
  std::set<std::string> names;
  for (int p = 0; p < kPropertyCount; ++p) {
    SCOPED_TRACE(p);
    const Property& mine = edition.properties[p];
    const Property& theirs = Reference().properties[p];
    EXPECT_EQ(std::tuple(mine.price, mine.housePrice, mine.rent, mine.group),
              std::tuple(theirs.price, theirs.housePrice, theirs.rent, theirs.group));
    // The whole name is kept: it fits the field and Windows-1252.
    const std::string value = ini().GetString(kPropertySection, std::to_string(p + 1), "");
    const std::string name = value.substr(0, value.find(','));
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(edition.Name(p), name);
    EXPECT_TRUE(names.insert(name).second) << "a second " << name;
  }
}

TEST_P(EditionTest, CardsDoWhatTheSwedishCardsDo) {
  for (const bool chance : {true, false}) {
    const std::string heading = edition.texts.GetText(chance ? 53 : 54);
    for (int card = 1; card <= kCardCount; ++card) {
      const std::string mine = edition.texts.GetCard(chance, card);
      const std::string theirs = Reference().texts.GetCard(chance, card);
      SCOPED_TRACE((chance ? "chance " : "community ") + std::to_string(card) + ": " + mine);
      ASSERT_NE(mine, kMissingCard);
      // The number behind '@' is the card's amount or square.
      const std::size_t at = mine.find('@');
      ASSERT_EQ(at == std::string::npos, theirs.find('@') == std::string::npos);
      if (at != std::string::npos) {
        EXPECT_EQ(mine.substr(at + 1), theirs.substr(theirs.find('@') + 1));
      }
      // The words name the same amounts and the same properties, and nothing of them is cut.
      const std::string words = CardWords(edition, chance, card);
      const std::string theirWords = CardWords(Reference(), chance, card);
      EXPECT_EQ(Amounts(words), Amounts(theirWords));
      for (int p = 0; p < kBoardPropertyCount; ++p) {
        if (theirWords.find(Reference().Name(p)) == std::string::npos) continue;
        EXPECT_NE(words.find(edition.Name(p)), std::string::npos) << edition.Name(p);
      }
      EXPECT_LE(heading.size() + 2 + words.size(), kCardTextBytes);
    }
  }
}

// The question dialog tells a message's colour and buttons by the edition's keywords: each
// message the rules show must be taken for what the Swedish one is taken for.
TEST_P(EditionTest, QuestionsAreRecognisedAsTheSwedishOnes) {
  HeadlessFrontEnd ui;
  Game mine(edition.texts, ui, 1);
  Game theirs(Reference().texts, ui, 1);
  const std::string player = "Wilhelmin";
  // `message` words a message in the edition and the game given.
  const auto expectAlike = [&](bool twoButtons, auto&& message) {
    const std::string a = message(mine, edition);
    const std::string b = message(theirs, Reference());
    const QuestionLayout la = DescribeQuestion(mine, a, twoButtons);
    const QuestionLayout lb = DescribeQuestion(theirs, b, twoButtons);
    EXPECT_EQ(std::tuple(la.kind, la.topic), std::tuple(lb.kind, lb.topic)) << a << "\n" << b;
  };
  for (int p = 0; p < kBoardPropertyCount; ++p) {
    expectAlike(true, [&](const Game& g, const BoardEdition& e) {
      return g.FormatCatalogue(kTextPurchaseOffer, player, e.Name(p), 3600);
    });
    for (const int rent : {70, 71}) {
      expectAlike(false, [&](const Game& g, const BoardEdition& e) {
        return g.FormatCatalogue(rent, e.Name(p), player, 650);
      });
    }
    for (const auto& [rent, word] : {std::pair(67, 68), {67, 69}, {72, 74}, {75, 76}}) {
      expectAlike(false, [&](const Game& g, const BoardEdition& e) {
        return g.FormatCatalogue(rent, e.Name(p), player, 2, g.Text(word), 1200);
      });
    }
  }
  for (const int jail : {64, 65, 83}) {
    expectAlike(false, [&](const Game& g, const BoardEdition&) { return g.Text(jail); });
  }
  expectAlike(true, [&](const Game& g, const BoardEdition&) {
    return g.FormatCatalogue(kTextBailQuestion, player);
  });
  expectAlike(true, [&](const Game& g, const BoardEdition&) { return g.Text(kTextDebtQuestion); });
  for (const bool chance : {true, false}) {
    for (int card = 1; card <= kCardCount; ++card) {
      expectAlike(!chance && card == 2, [&](const Game& g, const BoardEdition&) {
        std::string text = g.Text(chance ? 53 : 54) + "\n\n" + g.texts.GetCard(chance, card);
        std::replace(text.begin(), text.end(), '|', '\n');
        return text.substr(0, text.find('@'));
      });
    }
  }
}

TEST_P(EditionTest, HasTipsAndTheWholeRules) {
  const std::string tips = ReadFreeText(edition.path, FreeTextBlock::kTips).value_or("");
  const std::string rules = ReadFreeText(edition.path, FreeTextBlock::kRules).value_or("");
  EXPECT_FALSE(tips.empty());
  ASSERT_FALSE(rules.empty());
  // The rules come last in the file: a block too long for the help window would lose its end.
  std::string bytes = ReadFileBytes(edition.path).value_or("");
  while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
  const std::string lastLine = bytes.substr(bytes.rfind('\n') + 1);
  EXPECT_TRUE(rules.ends_with(lastLine + "\n")) << lastLine;
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
  std::string name = fs::path(info.param).stem().string();
  std::replace_if(
      name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Assets, EditionTest, testing::ValuesIn(EditionFiles()), TestName);

}  // namespace
}  // namespace tomtura
