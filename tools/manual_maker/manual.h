// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game's manual as one plain HTML page, made from the board file's rules and tips, so that
// the page says what the help windows say.
#include <string>
#include <string_view>

namespace tomtura {

// `text` with &, <, >, " and ' written as HTML entities.
std::string EscapeHtml(std::string_view text);

// A free-text block (lines ending in "\n") as HTML. Blank lines part the block into groups; a
// group's first line is its heading when it is short, ends in no punctuation and more lines
// follow; every other line is a paragraph of its own, an indented one (a line that begins with
// blanks) marked as such. A block that opens with a line standing alone takes it as its title
// (`fallbackTitle` otherwise). `id` names the block's section for the contents.
std::string BlockToHtml(std::string_view block, std::string_view id,
                        std::string_view fallbackTitle);

struct ManualTexts {
  std::string language;    // the edition's, as the page's lang attribute
  std::string title;       // the program's name
  std::string rulesTitle;  // as the rules window is called
  std::string rules;
  std::string tipsTitle;
  std::string tips;
};

// The whole page: the title, the contents, the rules and then the tips.
std::string MakeManual(const ManualTexts& texts);

}  // namespace tomtura
