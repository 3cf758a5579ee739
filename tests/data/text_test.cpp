// Texts: their encodings, how a text is formatted with names and amounts, the board file's
// catalogue of them, and money as each edition writes it.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "../store/test_support.h"
#include "data/format.h"
#include "data/money.h"
#include "data/text_catalogue.h"
#include "data/text_encoding.h"

namespace tomtura {
namespace {

TEST(TextEncoding, Windows1252RoundTrips) {
  const std::pair<std::string, std::string> known[] = {
      {"\x80", "\xE2\x82\xAC"}, {"\x9F", "\xC5\xB8"}, {"\xE4", "\xC3\xA4"}};
  for (const auto& [cp1252, utf8] : known) {
    EXPECT_EQ(Cp1252ToUtf8(cp1252), utf8);
    EXPECT_EQ(Utf8ToCp1252(utf8), cp1252);
  }
  // Every defined byte survives the round trip; the five undefined ones read as '?'.
  for (int b = 1; b < 256; ++b) {
    const std::string byte(1, static_cast<char>(b));
    const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(byte)), undefined ? "?" : byte) << b;
  }
}

TEST(TextEncoding, WhatWindows1252CannotHoldBecomesQuestionMarks) {
  // Multi-byte, undefined in Windows-1252, cut short, overlong, a surrogate, beyond U+10FFFF.
  const std::tuple<std::string, std::string, bool> cases[] = {{"\xF0\x9F\x8E\xB2x", "?x", true},
                                                              {"\xC2\x81", "?", true},
                                                              {"a\xC3", "a?", false},
                                                              {"\xC0\xAF", "??", false},
                                                              {"\xED\xA0\x80", "???", false},
                                                              {"\xF4\x90\x80\x80", "????", false},
                                                              {"\x80z", "?z", false}};
  for (const auto& [utf8, cp1252, valid] : cases) {
    EXPECT_EQ(Utf8ToCp1252(utf8), cp1252) << utf8;
    EXPECT_EQ(IsValidUtf8(utf8), valid) << utf8;
  }
}

TEST(TextEncoding, CutNeverSplitsACharacter) {
  const std::string text = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x8E\xB2";  // 1 + 2 + 3 + 4 bytes
  const std::size_t want[] = {0, 1, 1, 3, 3, 3, 6, 6, 6, 6, 10, 10};
  for (std::size_t max = 0; max < std::size(want); ++max) {
    EXPECT_EQ(CutUtf8(text, max).size(), want[max]) << max;
  }
  EXPECT_EQ(CutUtf8(std::string(8, '\x80'), 5).size(), 5u);  // malformed: cut where asked
}

// Names and amounts are put together without {fmt}; the result is {fmt}'s all the same, also
// for formats that do not match their arguments.
TEST(FormatText, NamesAndAmountsComeOutAsPrintfWritesThem) {
  const auto reference = [](std::string_view format, const std::string& name, int amount) {
    try {
      return fmt::sprintf(format, name, amount);
    } catch (const std::exception&) {
      return std::string(format);
    }
  };
  const std::pair<std::string_view, int> cases[] = {
      {"%s betalar %d kr", 6800},
      {"%s: %d%% av hyran", -250},
      {"%s%d", 0},
      {"%d kr till %s", 5},
      {"%s, %d och %s", 5},
      {"%s: 100%%", 5},
      {"%s betalar", 5},
      {"slut%", 5},
      {"%s har %i kr", 5},
      {"%s har %5d kr", 42},
      {"%s har %-3d|", 7},
      {"% s", 5},
  };
  for (const auto& [format, amount] : cases) {
    for (const std::string& name :
         {std::string("Eva"), std::string(), std::string("Åke %s Lindqvist")}) {
      EXPECT_EQ(FormatText(format, name, amount), reference(format, name, amount)) << format;
    }
  }
  EXPECT_EQ(FormatText("100%% klart"), "100% klart");
}

// Widths and precisions of a format are held to a few hundred, so that an edited text cannot
// make formatting allocate gigabytes; what is within the bound is formatted as written.
TEST(FormatText, HugeWidthsAndPrecisionsAreBounded) {
  EXPECT_EQ(FormatText("%2000000000d", 7).size(), std::size_t(kMaxFieldWidth));
  EXPECT_EQ(FormatText("%.900000000s|", std::string(300, 'x')),
            std::string(kMaxFieldWidth, 'x') + "|");
  EXPECT_EQ(FormatText("%-0000012d|%5.2s|100%%", 42, std::string("abc")),
            "42          |   ab|100%");
  EXPECT_EQ(BoundFieldWidths("%99999999999999999999d"), "%256d");
  EXPECT_EQ(BoundFieldWidths("50% rabatt"), "50% rabatt");
  EXPECT_EQ(BoundFieldWidths("%"), "%");
  // Behind an argument index ("%1$") a width is held as well; a width or precision taken from an
  // argument ('*') leaves the text unformatted, since an amount of money could ask for gigabytes.
  EXPECT_EQ(FormatText("%1$300d", 7).size(), std::size_t(kMaxFieldWidth));
  EXPECT_EQ(FormatText("%2$s %1$-5d|", 42, std::string("Eva")), "Eva 42   |");
  EXPECT_EQ(FormatText("%s: %*d kr", std::string("Eva"), 300, 7), "%s: %*d kr");
  EXPECT_EQ(FormatText("%.*s", 300, std::string(400, 'x')), "%.*s");
}

// A continuation that starts with a blank is quoted in the file, as the reader trims values.
TEST(TextCatalogue, GetText) {
  const std::string a500(500, 'a');
  const TextCatalogue texts(IniFile::Parse(
      "[TEXTS]\n12=Hej|Eva\n12_=\" och Adam\"\n0=Tomtura\n14_=utan början\n1=" + a500 +
      "\n1_=" + std::string(20, 'b') + "\n2=" + std::string(510, 'c') + "\xC3\xA4\n"));
  EXPECT_EQ(texts.GetText(12), "Hej\nEva och Adam");
  EXPECT_EQ(texts.GetText(0), "Tomtura");
  EXPECT_EQ(texts.GetText(99), kMissingText);
  EXPECT_EQ(texts.GetText(14), std::string(kMissingText) + "utan början");
  EXPECT_EQ(texts.GetText(1), a500 + std::string(11, 'b'));  // continuation cut to the room left
  EXPECT_EQ(texts.GetText(2), std::string(510, 'c'));        // 'ä' would end at byte 512
}

// The catalogue reads its texts and streets once, and again after anything changed its file:
// a write, or the edition put under the player's file.
TEST(TextCatalogue, ReadsTextsAndStreetsAgainAfterAChange) {
  TempDir dir;
  WriteBytes(dir.path("tomtura.lst"), "[TEXTS]\n12=Hej\n[GATOR]\n1=Gatan,100\n");
  TextCatalogue texts = TextCatalogue::Load(dir.path("tomtura.lst"));
  TextCatalogue copy = texts;
  ASSERT_EQ(texts.GetText(12), "Hej");
  ASSERT_TRUE(texts.file().Write("TEXTS", "12", "Ny"));
  ASSERT_TRUE(texts.file().Write("GATOR", "1", "Torget,200"));
  ASSERT_TRUE(texts.file().Write("TEXTS", "13", "Till"));
  PropertyTable table{};
  texts.LoadPropertyTable(table);
  EXPECT_EQ(std::tuple(texts.GetText(12), texts.HasText(13), table[0].price),
            std::tuple(std::string("Ny"), true, std::int16_t{200}));
  EXPECT_EQ(std::tuple(copy.GetText(12), copy.HasText(13)), std::tuple(std::string("Hej"), false));

  copy.file().SetBase(IniFile::Parse("[TEXTS]\n14=Under\n"));
  EXPECT_EQ(std::tuple(copy.GetText(14), copy.HasText(14)), std::tuple(std::string("Under"), true));
}

TEST(TextCatalogue, CardsAndSoundsFallBack) {
  const TextCatalogue texts(IniFile::Parse("[CHANS]\n1=Gå|@0\n[SOUND]\n5=kassa.wav\n"));
  EXPECT_EQ(texts.GetCard(true, 1), "Gå|@0");
  EXPECT_EQ(texts.GetCard(false, 1), kMissingCard);
  EXPECT_EQ(texts.GetSoundName(5), "kassa.wav");
  EXPECT_EQ(texts.GetSoundName(7), "tomtura7.wav");
}

TEST(TextCatalogue, LoadPropertyTable) {
  const TextCatalogue texts(IniFile::Parse(
      "[GATOR]\n5=Smedjegatan,1200,1000,80,400,1200,3600,5000,6000,1\n6=\n7=Kort,300\n"
      "8=Ett namn som är längre än tjugonio tecken,70000, -5x,-1,,,,,,9\n"
      "9=Tr\xC3\xA4"
      "d\xE4\xB8\xAD"
      "g\xC3\xA5rd\n"));
  PropertyTable table{};
  table[5].price = 111;  // key "6" is empty: the entry stays as it was
  table[0].price = 222;  // key "1" is missing
  texts.LoadPropertyTable(table);

  EXPECT_EQ(table[4].name.raw(), "Smedjegatan");
  EXPECT_EQ(std::tuple(table[4].price, table[4].housePrice, table[4].group),
            std::tuple(1200, 1000, 1));
  EXPECT_EQ(table[4].rent, (std::array<std::uint16_t, 6>{80, 400, 1200, 3600, 5000, 6000}));
  EXPECT_EQ(std::tuple(table[5].price, table[0].price, table[6].price), std::tuple(111, 222, 300));

  EXPECT_EQ(table[7].name.raw(), "Ett namn som \xE4r l\xE4ngre \xE4n tju");  // 29 characters
  // The price's low 16 bits; the house price read up to what is no digit.
  EXPECT_EQ(std::tuple(table[7].price, table[7].housePrice), std::tuple(70000 - 65536, -5));
  EXPECT_EQ(table[8].name.raw(),
            "Tr\xE4"
            "d?g\xE5rd");  // '?' for what cp1252 cannot hold

  PropertyTable cp{};  // a Windows-1252 file fills the record byte for byte
  TextCatalogue(IniFile::Parse("[GATOR]\n1=V\xE4stra\n")).LoadPropertyTable(cp);
  EXPECT_EQ(cp[0].name.raw(), "V\xE4stra");
}

// The amounts of a formatted text grouped in each edition's way; an edition that names no
// format is left as it writes. How an amount alone is written: the editions' store test.
const MoneyFormat kSwedish =
    MoneyFormat::Of(IniFile::Parse("[EDITION]\nMoney=%s kr\nThousandsSeparator=\" \"\n"));
const MoneyFormat kEnglish =
    MoneyFormat::Of(IniFile::Parse("[EDITION]\nMoney=£%s\nThousandsSeparator=,\n"));
const MoneyFormat kOlder = MoneyFormat::Of(IniFile::Parse("[TEXTS]\n0=Tomtura\n"));

TEST(Money, AmountsInATextAreGroupedAndNothingElse) {
  const std::tuple<const MoneyFormat*, std::string, std::string> cases[] = {
      {&kSwedish, "Pris 30000 kr|Ägare: Anna", "Pris 30 000 kr|Ägare: Anna"},
      {&kSwedish, "Du betalar -4500 kr och 100 kr", "Du betalar -4 500 kr och 100 kr"},
      {&kSwedish, "Hyran är 30 000 kr.", "Hyran är 30 000 kr."},  // grouped already
      {&kSwedish, "Port 4711, fel 10048, 200 kronor", "Port 4711, fel 10048, 200 kronor"},
      {&kSwedish, "100 kr/prick", "100 kr/prick"},
      {&kSwedish, "Du får 2000 kr.@2000", "Du får 2 000 kr.@2000"},  // the card's own figure
      {&kEnglish, "Price £1000|Rent £12500", "Price £1,000|Rent £12,500"},
      {&kEnglish, "You pay -£4500 to 12345 kr", "You pay -£4,500 to 12345 kr"},
      {&kOlder, "Pris 30000 kr", "Pris 30000 kr"},
  };
  for (const auto& [format, text, grouped] : cases) EXPECT_EQ(format->GroupAmounts(text), grouped);
}

}  // namespace
}  // namespace tomtura
