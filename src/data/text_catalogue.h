// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The board file "tomtura.lst" as the game reads it: the numbered texts, the property
// definitions, the card texts and the sound names. Every text comes back as UTF-8.
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "data/game_state.h"
#include "data/ini_file.h"
#include "data/money.h"
#include "data/text_ids.h"

namespace tomtura {

// The board file's sections that the catalogue and the board file check read.
inline constexpr std::string_view kTextsSection = "TEXTS";
inline constexpr std::string_view kPropertySection = "GATOR";
inline constexpr std::string_view kChanceSection = "CHANS";
inline constexpr std::string_view kCommunitySection = "ALLM";

inline constexpr std::string_view kMissingText = "tomtura.lst saknas eller är felaktig";
inline constexpr std::string_view kMissingCard = "Ej implementerad";
inline constexpr std::size_t kMaxTextBytes = 511;

class TextCatalogue {
 public:
  TextCatalogue() = default;
  explicit TextCatalogue(IniFile file);

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
  // The numbered texts and the property definitions as the getters give them, read once when
  // the catalogue is made, since the rules ask for texts at every question and log line and a
  // new game for the property table. Copies of the catalogue share it; nothing changes it. It
  // holds while the file keeps the revision it was read at: after a write the file is asked.
  struct ReadOnce {
    static constexpr int kTexts = 256;  // numbers 0..255; any other is looked up each time
    std::uint64_t revision = 0;
    std::array<std::string, kTexts> text;
    std::array<bool, kTexts> hasText{};
    PropertyTable properties{};
    std::array<bool, kPropertyCount> defined{};
  };

  // What GetText and LoadPropertyTable give, read from the file.
  std::string ReadText(int number) const;

  // What was read once, while it still holds.
  const ReadOnce* Read() const {
    return read_ && read_->revision == file_.revision() ? read_.get() : nullptr;
  }

  IniFile file_;
  MoneyFormat money_;
  std::shared_ptr<const ReadOnce> read_;  // null when made empty
};

// The street names that a catalogue of board file `file` gives, read without making one.
StreetNames BoardStreetNames(const IniFile& file);

// The board file's path: the directory of the program `programPath` + "tomtura.lst".
std::string BoardFilePath(const std::string& programPath);

}  // namespace tomtura
