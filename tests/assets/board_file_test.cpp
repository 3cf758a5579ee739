// SPDX-License-Identifier: GPL-3.0-or-later
// The default edition's board file: every text the game shows, checked against the arguments the
// game passes. Its property table, cards and questions are held to the rules by the seeded
// headless games, and every other edition is held to it (tests/data/edition_test.cpp).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "../data/format_conversions.h"
#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "data/text_ids.h"

namespace tomtura {
namespace {

const std::string kBoardFilePath = TOMTURA_ASSETS_DIR "/tomtura.lst";
constexpr int kLastText = 199;

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
  const TextCatalogue board = TextCatalogue::Load(kBoardFilePath);
  const IniFile& ini = board.file();
  ASSERT_TRUE(ini.ok()) << kBoardFilePath;
  EXPECT_EQ(board.GetText(kTextBoxTitle), "Tomtura");
  for (int n = 0; n <= kLastText; ++n) {
    SCOPED_TRACE(n);
    const auto value = ini.Get("TEXTS", std::to_string(n));
    ASSERT_TRUE(value && !value->empty());
    // Nothing is cut: the value and its continuation fit the 511 bytes a text may hold.
    EXPECT_LE(value->size() + ini.GetString("TEXTS", std::to_string(n) + "_", "").size(),
              kMaxTextBytes);
    // A text without arguments is shown as it stands: even "%%" would appear doubled.
    const auto formatted = kFormattedTexts.find(n);
    const std::string text = board.GetText(n);
    EXPECT_EQ(Conversions(text), formatted == kFormattedTexts.end() ? "" : formatted->second);
    EXPECT_TRUE(formatted != kFormattedTexts.end() || text.find('%') == std::string::npos) << text;
  }
}

}  // namespace
}  // namespace tomtura
