// SPDX-License-Identifier: GPL-3.0-or-later
// The default edition's board file: every text the game shows, the property table, the cards,
// the sounds and the help texts, checked against what the rules expect of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "../data/format_conversions.h"
#include "../store/test_support.h"
#include "data/board_file_check.h"
#include "data/format.h"
#include "data/game_state.h"
#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "data/text_encoding.h"
#include "data/text_ids.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "trade/questions.h"

namespace tomtura {
namespace {

const std::string kBoardFilePath = TOMTURA_ASSETS_DIR "/tomtura.lst";
constexpr int kLastText = 199;
const std::string kLongPlayer = "Wilhelmin";  // the longest name a player can have

const TextCatalogue& Board() {
  static const TextCatalogue board = TextCatalogue::Load(kBoardFilePath);
  return board;
}
const IniFile& Ini() {
  return Board().file();
}
const PropertyTable& Properties() {
  static const PropertyTable table = [] {
    PropertyTable t{};
    Board().LoadPropertyTable(t);
    return t;
  }();
  return table;
}
std::string Text(int n) {
  return Board().GetText(n);
}
std::string Name(int p) {
  return Properties()[p].name.utf8();
}
bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}
bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The texts that the game formats, with the arguments it passes, in order.
const std::map<int, std::string> kFormattedTexts = {
    {5, "%s"},          {12, "%d"},         {13, "%d"},
    {14, "%s%d%s%s"},   {16, "%d"},         {18, "%d%d%d%d%d%d%d%d%d"},
    {26, "%s"},         {27, "%s"},         {28, "%d"},
    {29, "%d"},         {31, "%s"},         {32, "%d"},
    {33, "%s"},         {35, "%d%d%d%d%s"}, {37, "%s"},
    {40, "%s"},         {41, "%s"},         {42, "%s"},
    {56, "%s"},         {59, "%s%s%d"},     {61, "%s%d%s%d%s"},
    {62, "%s%d%s"},     {63, "%s"},         {66, "%s%s%d"},
    {67, "%s%s%d%s%d"}, {70, "%s%s%d"},     {71, "%s%s%d"},
    {72, "%s%s%d%s%d"}, {75, "%s%s%d%s%d"}, {79, "%s%s"},
    {82, "%s"},         {84, "%s%s%d%s"},   {85, "%s%s%s%s%d"},
    {86, "%s%s%s%s%d"}, {87, "%s%s%s%d"},   {88, "%s"},
    {95, "%s%s"},       {97, "%s"},         {100, "%s%s%s%s%d"},
    {101, "%s%s%s%d"},  {102, "%d"},        {103, "%s%s%s%s%d"},
    {104, "%s%s%s%d"},  {157, "%s"},        {158, "%s"},
    {159, "%s%s"},      {160, "%s%s"},      {162, "%s%s%d"},
    {163, "%s%s"},      {164, "%s%s"},      {165, "%s%d%d%s"},
    {166, "%s%d%d%d"},  {167, "%s"},        {168, "%s%d%d"},
    {169, "%s%d%d"},    {170, "%s%d%d"},    {171, "%s%d%d"},
    {172, "%s%d%d"},    {173, "%s%d%d"},    {175, "%s"},
    {176, "%s%s%d"},    {177, "%s%d%s"},    {178, "%s"},
    {179, "%s%s"},      {180, "%s%s"},      {181, "%s%s%s%d"},
    {182, "%s%s"},      {183, "%s%s%s"},    {186, "%s%s%s%s%d"},
    {187, "%s%s%s%d"},  {188, "%s%s%s"},    {189, "%s%s%s"},
    {190, "%s%s"},      {191, "%s%s"},      {193, "%s%s%d%s%s"},
    {194, "%s%d%d"},    {195, "%s"},
};

// Every text is there whole, and formats with exactly the arguments the game passes.
TEST(BoardFileTest, EveryTextIsPresentWholeAndFitsItsArguments) {
  ASSERT_TRUE(Ini().ok()) << kBoardFilePath;
  EXPECT_EQ(Text(kTextBoxTitle), "Tomtura");
  for (int n = 0; n <= kLastText; ++n) {
    SCOPED_TRACE(n);
    const auto value = Ini().Get("TEXTS", std::to_string(n));
    ASSERT_TRUE(value && !value->empty());
    // Nothing is cut: the value and its continuation fit the 511 bytes a text may hold.
    EXPECT_LE(value->size() + Ini().GetString("TEXTS", std::to_string(n) + "_", "").size(),
              kMaxTextBytes);
    // A text without arguments is shown as it stands: even "%%" would appear doubled.
    const auto formatted = kFormattedTexts.find(n);
    EXPECT_EQ(Conversions(Text(n)), formatted == kFormattedTexts.end() ? "" : formatted->second);
    EXPECT_TRUE(formatted != kFormattedTexts.end() || !Contains(Text(n), "%")) << Text(n);
  }
}

std::string CardMessage(bool chance, int card) {
  std::string value = Board().GetCard(chance, card);
  value = value.substr(0, value.find('@'));
  std::string text = Text(chance ? kTextChanceHeading : kTextCommunityHeading) + "\n\n" + value;
  std::replace(text.begin(), text.end(), '|', '\n');
  return text;
}

// Every message the rules put into the question dialog is recognised by its keywords: its
// colour kind and, with two buttons, its captions (text numbers), which also tell which of the
// computer's answers it gives.
TEST(BoardFileTest, QuestionsAreRecognisedByTheirKeywords) {
  HeadlessFrontEnd ui;
  Game game(Board(), ui, 1);
  const auto expect = [&](const std::string& text, int kind, int button1 = 0, int button2 = 0) {
    SCOPED_TRACE(text);
    const QuestionLayout layout = DescribeQuestion(game, text, button1 != 0);
    EXPECT_EQ(layout.kind, kind);
    if (button1 != 0) {
      EXPECT_EQ(layout.button1, Text(button1));
      EXPECT_EQ(layout.button2, Text(button2));
    }
  };
  constexpr int kNotice = 5;
  for (int p = 0; p < kBoardPropertyCount; ++p) {
    const Property& prop = Properties()[p];
    const std::string name = Name(p);
    expect(FormatText(Text(kTextPurchaseOffer), kLongPlayer, name, int{prop.price}), 4, kTextYes,
           kTextNo);
    if (prop.group < kStationGroup) {
      for (const int word : {68, 69}) {
        expect(FormatText(Text(kTextRentWithHouses), name, kLongPlayer, 4, Text(word), 65000),
               kNotice);
      }
      expect(FormatText(Text(kTextRentFullGroup), name, kLongPlayer, 65000), kNotice);
      expect(FormatText(Text(kTextRent), name, kLongPlayer, 65000), kNotice);
    } else if (prop.group == kStationGroup) {
      expect(
          FormatText(Text(kTextStationRent), name, kLongPlayer, 4, Text(kTextStationsWord), 4000),
          kNotice);
    } else {
      expect(
          FormatText(Text(kTextUtilityRent), name, kLongPlayer, 2, Text(kTextUtilitiesWord), 2400),
          kNotice);
    }
  }
  for (const int jailNotice : {kTextJailCardUsed, kTextJailed, kTextLastJailTurn})
    expect(Text(jailNotice), 2);
  expect(FormatText(Text(kTextBailQuestion), kLongPlayer), 2, kTextPayButton, kTextStayButton);
  expect(Text(kTextDebtQuestion), 3, kTextPayButton, kTextGiveUpButton);
  for (int card = 1; card <= kCardCount; ++card) {
    expect(CardMessage(true, card), 0);
    expect(CardMessage(false, card), 1, card == 2 ? kTextYes : 0,
           card == 2 ? kTextNo : 0);  // 2: a choice
  }
}

TEST(BoardFileTest, PropertyTableKeepsTheRulesInvariants) {
  const int expectedGroup[kPropertyCount] = {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4,  5,
                                             5, 5, 6, 6, 6, 7, 7, 8, 8, 8, 8, 9, 9, 10, 10};
  for (int p = 0; p < kPropertyCount; ++p) {
    SCOPED_TRACE(p);
    // The loader keeps only 16 bits of a number: every field must be digits that fit.
    const std::string value = Ini().GetString("GATOR", std::to_string(p + 1), "");
    std::vector<std::string> fields;
    std::istringstream in(value);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    ASSERT_EQ(fields.size(), 10u) << value;
    for (std::size_t i = 1; i < fields.size(); ++i) {
      ASSERT_TRUE(AllDigits(fields[i]) && std::stol(fields[i]) <= (i < 3 ? 32767 : 65535))
          << fields[i];
    }
    const Property& prop = Properties()[p];
    EXPECT_EQ(prop.name.utf8(), fields[0]);  // fits Windows-1252 and the record's 29 characters
    EXPECT_EQ(prop.group, expectedGroup[p]);
  }
}

// What each card number does is fixed in the program; the file must give the number it needs.
// By card number: '-' none, 'r' receive, 'p' pay, 'm' move, 'j' jail.
constexpr std::string_view kChanceEffects = "---rrrpppjmmmmm-";
constexpr std::string_view kCommunityEffects = "---rrrrrrrpppm-j";

TEST(BoardFileTest, CardsCarryTheNumbersTheirEffectsNeed) {
  for (const bool chance : {true, false}) {
    for (int card = 1; card <= kCardCount; ++card) {
      const char effect = (chance ? kChanceEffects : kCommunityEffects)[card - 1];
      const std::string value = Board().GetCard(chance, card);
      SCOPED_TRACE((chance ? "chance " : "community ") + std::to_string(card) + ": " + value);
      ASSERT_NE(value, kMissingCard);
      const std::size_t at = value.find('@');
      if (effect == '-') {
        EXPECT_EQ(at, std::string::npos);
        continue;
      }
      ASSERT_NE(at, std::string::npos);
      const std::string digits = value.substr(at + 1);
      ASSERT_TRUE(AllDigits(digits));
      const int n = std::stoi(digits);
      const std::string shown = value.substr(0, at);
      if (effect == 'r' || effect == 'p') {
        EXPECT_GT(n, 0);
        EXPECT_TRUE(Contains(shown, Board().money().Write(n)));
      } else if (effect == 'j') {
        EXPECT_EQ(n, kJailSquare);
      } else {
        ASSERT_TRUE(n >= 0 && n < kSquareCount);
        EXPECT_TRUE(n == 0 ? Contains(shown, "till Gå")
                           : kBoardLayout[n] >= 0 && Contains(shown, Name(kBoardLayout[n])));
      }
    }
  }
}

}  // namespace
}  // namespace tomtura
