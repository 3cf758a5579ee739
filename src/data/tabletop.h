// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The game as the dealing code sees it (the auction, the computer's dealing, the play window's
// deals): the one GameState, the board file's words with the players' and properties' names,
// and the few things it asks of the game: a partner's consent, an outcome applied, a message
// shown. The game (rules/game.h) is one; the dealing code needs nothing more of it.
#include <string>
#include <string_view>

#include "data/format.h"
#include "data/game_state.h"
#include "data/outcome.h"
#include "data/text_catalogue.h"

namespace tomtura {

// An offer as another computer can say it in its own edition's words: the catalogue text and
// what it names (text 0: none, the offer's text is all there is).
struct OfferWords {
  int text = 0;
  int actor = kNobody;
  int first = kNobody;  // the properties in the order the text names them
  int second = kNobody;
  int amount = 0;
  bool firstMortgaged = false;  // named with the mortgage marker
  bool secondMortgaged = false;
  bool operator==(const OfferWords&) const = default;
};

// A deal put to the player `asked`: the offer's text, what he would receive (negative: pay),
// give and get; `workingCopies` when it is one of the play window's, on its copies; its words.
struct ConsentOffer {
  int asked = 0;
  std::string text;
  int moneyReceived = 0;
  int propertyGiven = kNobody;
  int propertyReceived = kNobody;
  bool workingCopies = false;
  OfferWords words{};
};

class Tabletop {
 public:
  explicit Tabletop(TextCatalogue catalogue) : texts(std::move(catalogue)) {}
  virtual ~Tabletop() = default;
  Tabletop(const Tabletop&) = delete;
  Tabletop& operator=(const Tabletop&) = delete;

  GameState state;
  TextCatalogue texts;

  // ---- What the dealing code asks of the game ----
  // The asked player's yes or no, from his seat.
  virtual bool AskConsent(const ConsentOffer& offer) = 0;
  // Checks `outcome` against the game, applies it, logs it and tells whoever listens; false,
  // and nothing changed, when it does not fit.
  virtual bool Apply(const Outcome& outcome) = 0;
  // A message box for the player here (`warning`: with the exclamation icon).
  virtual void Tell(const std::string& text, bool warning) = 0;
  // The status line was rewritten.
  virtual void StatusLineChanged() = 0;

  // ---- The board file's words ----
  // Text n of the catalogue; formatted with printf-style arguments (UTF-8 strings, ints), the
  // amounts it comes to in the edition's money format.
  std::string Text(int n) const { return texts.GetText(n); }
  template <typename... Args>
  std::string FormatCatalogue(int n, const Args&... args) const {
    return texts.money().GroupAmounts(FormatText(texts.GetText(n), args...));
  }
  // Text n, or `fallback` (what the program said before the text existed) when the board file
  // is older than the text.
  std::string TextOr(int n, std::string_view fallback) const {
    return texts.HasText(n) ? texts.GetText(n) : std::string(fallback);
  }
  // Appends a log line for `player` (-1 empties the log first).
  template <typename... Args>
  void Log(int player, std::string_view format, const Args&... args) {
    state.log.Add(player, texts.money().GroupAmounts(FormatText(format, args...)));
  }
  // A log line in the words of text n, or of `fallback` for an older board file.
  template <typename... Args>
  void LogText(int player, int n, std::string_view fallback, const Args&... args) {
    Log(player, TextOr(n, fallback), args...);
  }
  // Display names as UTF-8.
  std::string PlayerName(int player) const { return state.players[player].name.utf8(); }
  std::string PropertyName(int p) const { return state.properties[p].name.utf8(); }
  // Offer texts name a mortgaged property with the mortgage marker: "name(text 11)".
  std::string OfferName(int p, const PropertyTable& table) const;
  // The words of an offer to `asked` in this edition; empty when they name a text that is no
  // offer, or players or properties that are none.
  std::string OfferText(int asked, const OfferWords& words) const;
  // The words of an offer of text `text` to `asked`, naming properties of `table`.
  OfferWords WordsOf(int text, int actor, int first, int second, int amount,
                     const PropertyTable& table) const;
};

}  // namespace tomtura
