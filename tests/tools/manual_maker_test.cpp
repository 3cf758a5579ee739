// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "data/free_text.h"
#include "data/text_catalogue.h"
#include "data/text_ids.h"
#include "manual.h"
#include "store/editions.h"

namespace tomtura {
namespace {

TEST(ManualMaker, EscapesEverythingThatMarkupReads) {
  EXPECT_EQ(EscapeHtml(R"(a < b && c > "d" 'e')"),
            "a &lt; b &amp;&amp; c &gt; &quot;d&quot; &#39;e&#39;");
  EXPECT_EQ(EscapeHtml("Köp <script>"), "Köp &lt;script&gt;");
}

TEST(ManualMaker, BlankLinesMakeGroupsWithHeadings) {
  const std::string block =
      "RULES OF THE GAME\n"
      "\n"
      "Buying\n"
      "You may buy a street.\n"
      "   S rolls the dice.\n"
      "\n"
      "\n"
      "A lone sentence, not a heading.\n"
      "Two lines: the first is a sentence.\n";
  EXPECT_EQ(BlockToHtml(block, "rules", "Fallback"),
            "  <section id=\"rules\">\n"
            "    <h2>RULES OF THE GAME</h2>\n"
            "    <h3>Buying</h3>\n"
            "    <p>You may buy a street.</p>\n"
            "    <p class=\"indent\">S rolls the dice.</p>\n"
            "    <p>A lone sentence, not a heading.</p>\n"
            "    <p>Two lines: the first is a sentence.</p>\n"
            "  </section>\n");
  // No title line of its own: the catalogue's title stands over the block.
  EXPECT_EQ(BlockToHtml("One & only\n", "tips", "Tips <1>"),
            "  <section id=\"tips\">\n"
            "    <h2>Tips &lt;1&gt;</h2>\n"
            "    <p>One &amp; only</p>\n"
            "  </section>\n");
  EXPECT_EQ(BlockToHtml("", "tips", "Tips"),
            "  <section id=\"tips\">\n    <h2>Tips</h2>\n  </section>\n");
}

// Each edition ships the tool's current output, in its own language, under the name it gives.
TEST(ManualMaker, EachEditionShipsItsManualInItsLanguage) {
  const struct {
    std::string board, manual, language, heading;
  } cases[] = {
      {"tomtura.lst", "manual.html", "sv", "<h3>Kortkommandon</h3>"},
      {"tomtura_en.lst", "manual_en.html", "en", "<h3>Keyboard shortcuts</h3>"},
  };
  for (const auto& c : cases) {
    const std::string board = std::string(TOMTURA_ASSETS_DIR "/") + c.board;
    const TextCatalogue catalogue = TextCatalogue::Load(board);
    EXPECT_EQ(EditionManual(catalogue.file()), c.manual);
    const ManualTexts texts{catalogue.file().GetString(kEditionSection, kKeyEditionLanguage, ""),
                            catalogue.GetText(kTextBoxTitle),
                            catalogue.GetText(kTextRules),
                            ReadFreeText(board, FreeTextBlock::kRules).value_or(""),
                            catalogue.GetText(kTextTips),
                            ReadFreeText(board, FreeTextBlock::kTips).value_or("")};
    std::ifstream shipped(std::string(TOMTURA_ASSETS_DIR "/") + c.manual, std::ios::binary);
    ASSERT_TRUE(shipped) << c.manual << " is missing";
    std::ostringstream bytes;
    bytes << shipped.rdbuf();
    // After changing the rules or tips: cmake --build build --target manual_maker &&
    // build/tools/manual_maker/manual_maker --board assets/<the edition's board file>
    EXPECT_EQ(bytes.str(), MakeManual(texts)) << c.manual;
    EXPECT_NE(bytes.str().find("<html lang=\"" + c.language + "\">"), std::string::npos)
        << c.manual;
    EXPECT_NE(bytes.str().find(c.heading), std::string::npos) << c.manual;
  }
}

}  // namespace
}  // namespace tomtura
