// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The board file "tomtura.lst" as the game reads it: the numbered texts, the property
// definitions, the card texts and the sound names. Every text comes back as UTF-8.
#include <string>
#include <string_view>

#include "data/game_state.h"
#include "data/ini_file.h"
#include "data/money.h"

namespace tomtura {

// The board file's sections that the catalogue and the board file check read.
inline constexpr std::string_view kTextsSection = "TEXTS";
inline constexpr std::string_view kPropertySection = "GATOR";
inline constexpr std::string_view kChanceSection = "CHANS";
inline constexpr std::string_view kCommunitySection = "ALLM";

inline constexpr std::string_view kMissingText = "tomtura.lst saknas eller är felaktig";
inline constexpr std::string_view kMissingCard = "Ej implementerad";
inline constexpr std::size_t kMaxTextBytes = 511;

// Text numbers added by this program beyond the original catalogue.
constexpr int kTextNotASavedGame = 157;
constexpr int kTextFirstLapNoOffer = 158;   // why a first-lap player is offered nothing
constexpr int kTextDealAccepted = 159;      // a partner's yes to a play window's offer
constexpr int kTextDealRefused = 160;       // and his no
constexpr int kTextPictureWrongSize = 161;  // whether to try a picture of another size
// The game log's lines and the auction's opening, in the edition's language.
constexpr int kTextLogBought = 162;           // a purchase at the offered price
constexpr int kTextLogDeclined = 163;         // an offer declined, without an auction
constexpr int kTextLogRent = 164;             // rent paid, with the rent message's details
constexpr int kTextLogLandedOn = 165;         // the throw and the property landed on
constexpr int kTextLogRepairs = 166;          // a repair card's bill
constexpr int kTextLogJailCardUsed = 167;
constexpr int kTextLogLandedOnChance = 168;
constexpr int kTextLogLandedOnCommunity = 169;
constexpr int kTextLogLandedOnTax = 170;
constexpr int kTextLogSentToJail = 171;
constexpr int kTextLogLandedOnGo = 172;
constexpr int kTextLogVisitingJail = 173;
constexpr int kTextLogNewGame = 174;
constexpr int kTextLogBankrupt = 175;
constexpr int kTextLogAuctionWon = 176;
constexpr int kTextAuctionOpening = 177;      // before the first bid
constexpr int kTextAuctionOpeningTitle = 178;
constexpr int kTextLogMortgaged = 179;
constexpr int kTextLogUnmortgaged = 180;
constexpr int kTextLogSoldFor = 181;          // the computer's sale, with its price
constexpr int kTextLogHouseSoldFrom = 182;    // the computer's sale of a house
constexpr int kTextLogBuilt = 183;            // a house or hotel built, words 184 and 185
constexpr int kTextLogHouseWord = 184;
constexpr int kTextLogHotelWord = 185;
constexpr int kTextLogExchanged = 186;        // the computer's exchange with money added
constexpr int kTextLogBoughtFor = 187;        // the computer's purchase from a player
constexpr int kTextLogBoughtFrom = 188;       // the play window's purchase from a player
constexpr int kTextLogSoldTo = 189;           // the play window's sale to a player
constexpr int kTextLogHouseSoldOn = 190;      // the play window's sale of a house
constexpr int kTextLogLeftGame = 191;         // a network player gone, and why
constexpr int kTextNoticeButton = 192;        // the one button of a notice
constexpr int kTextLogExchangedPaid = 193;    // the computer's exchange with money received
constexpr int kTextThrown = 194;              // the status line while a throw is settled

class TextCatalogue {
 public:
  TextCatalogue() = default;
  explicit TextCatalogue(IniFile file)
      : file_(std::move(file)), money_(MoneyFormat::Of(file_)) {}

  // Loads the board file at `path` (a missing file leaves every text at its fallback).
  static TextCatalogue Load(const std::string& path);

  // Text `number` of section "TEXTS" with its continuation key "number_" appended, '|' turned
  // into line feeds, at most 511 bytes; the fallback text when the key is missing. The amounts
  // it writes out are in the edition's money format. Returned by value, so any number of results
  // stay valid together.
  std::string GetText(int number) const;
  // Whether the board file has text `number`: an older file lacks the texts added since, and
  // their users then fall back to what was said before.
  bool HasText(int number) const;

  // Card `number` (1..16) of section "CHANS" (chance) or "ALLM" (community chest), the raw
  // value or "Ej implementerad" when missing, its amounts in the edition's money format; '|'
  // and '@' are left for the caller.
  std::string GetCard(bool chance, int number) const;

  // How the edition writes amounts of money.
  const MoneyFormat& money() const { return money_; }

  // File name of sound n (0..9): key n of "SOUND", at most 24 characters, or "tomtura<n>.wav".
  std::string GetSoundName(int n) const;

  // Fills entries 0..29 from keys "1".."30" of "GATOR"; a missing or empty key leaves its
  // entry unchanged. Names are cut to 29 characters.
  void LoadPropertyTable(PropertyTable& table) const;

  // The edition's board file, where the free-text blocks are read.
  const std::string& editionPath() const { return file_.base().path(); }

  IniFile& file() { return file_; }
  const IniFile& file() const { return file_; }

 private:
  IniFile file_;
  MoneyFormat money_;
};

// The board file's path: the directory of the program `programPath` + "tomtura.lst".
std::string BoardFilePath(const std::string& programPath);

}  // namespace tomtura
