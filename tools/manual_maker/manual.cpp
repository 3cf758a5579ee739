// SPDX-License-Identifier: GPL-3.0-or-later
#include "manual.h"

#include <vector>

namespace tomtura {
namespace {

// A heading is a short line that is not a sentence.
constexpr std::size_t kMaxHeadingChars = 40;
constexpr std::string_view kSentenceEnds = ".!?:;,";

constexpr std::string_view kStyle = R"(    body {
      margin: 2em auto;
      max-width: 42em;
      padding: 0 1em;
      font-family: "Liberation Sans", Arial, sans-serif;
      line-height: 1.5;
      color: #222c28;
      background: #faf6e8;
    }
    h1 { color: #1f4e86; border-bottom: 3px solid #dea928; padding-bottom: 0.2em; }
    h2 { color: #c45428; margin-top: 2em; }
    h3 { color: #3c9d5d; margin: 1.4em 0 0.3em; }
    p { margin: 0.3em 0; }
    p.indent { margin-left: 2em; }
    nav a { margin-right: 1.5em; color: #1f4e86; }
)";

std::vector<std::string_view> Lines(std::string_view block) {
  std::vector<std::string_view> lines;
  while (!block.empty()) {
    const std::size_t end = block.find('\n');
    lines.push_back(block.substr(0, end));
    block.remove_prefix(end == std::string_view::npos ? block.size() : end + 1);
  }
  return lines;
}

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::size_t Characters(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

bool LooksLikeHeading(std::string_view line) {
  return !line.starts_with(' ') && Characters(line) <= kMaxHeadingChars &&
         kSentenceEnds.find(line.back()) == std::string_view::npos;
}

std::string Trimmed(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  const std::size_t last = line.find_last_not_of(" \t");
  return first == std::string_view::npos ? std::string()
                                         : std::string(line.substr(first, last - first + 1));
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c; break;
    }
  }
  return out;
}

std::string BlockToHtml(std::string_view block, std::string_view id,
                        std::string_view fallbackTitle) {
  // The groups of lines between blank lines.
  std::vector<std::vector<std::string_view>> groups(1);
  for (const std::string_view line : Lines(block)) {
    if (IsBlank(line)) {
      if (!groups.back().empty()) groups.emplace_back();
    } else {
      groups.back().push_back(line);
    }
  }
  if (groups.back().empty()) groups.pop_back();

  std::string title(fallbackTitle);
  std::size_t first = 0;
  if (!groups.empty() && groups.front().size() == 1 && groups.size() > 1) {
    title = Trimmed(groups.front().front());
    first = 1;
  }
  std::string html = "  <section id=\"" + EscapeHtml(id) + "\">\n";
  html += "    <h2>" + EscapeHtml(title) + "</h2>\n";
  for (std::size_t g = first; g < groups.size(); ++g) {
    const std::vector<std::string_view>& lines = groups[g];
    std::size_t l = 0;
    if (lines.size() > 1 && LooksLikeHeading(lines.front())) {
      html += "    <h3>" + EscapeHtml(Trimmed(lines.front())) + "</h3>\n";
      l = 1;
    }
    for (; l < lines.size(); ++l) {
      const bool indented = lines[l].starts_with(' ') || lines[l].starts_with('\t');
      html += indented ? "    <p class=\"indent\">" : "    <p>";
      html += EscapeHtml(Trimmed(lines[l])) + "</p>\n";
    }
  }
  html += "  </section>\n";
  return html;
}

std::string MakeManual(const ManualTexts& texts) {
  const std::string title = EscapeHtml(texts.title);
  std::string html = "<!DOCTYPE html>\n<html lang=\"" + EscapeHtml(texts.language) +
                     "\">\n<head>\n  <meta charset=\"utf-8\">\n";
  html += "  <meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  html += "  <title>" + title + "</title>\n  <style>\n" + std::string(kStyle) + "  </style>\n";
  html += "</head>\n<body>\n  <h1>" + title + "</h1>\n";
  html += "  <nav><a href=\"#regler\">" + EscapeHtml(texts.rulesTitle) + "</a><a href=\"#tips\">" +
          EscapeHtml(texts.tipsTitle) + "</a></nav>\n";
  html += BlockToHtml(texts.rules, "regler", texts.rulesTitle);
  html += BlockToHtml(texts.tips, "tips", texts.tipsTitle);
  html += "</body>\n</html>\n";
  return html;
}

}  // namespace tomtura
