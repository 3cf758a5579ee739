#pragma once
// A small game for the tests of dealing (the computer's and the play window's), decisions, new
// games and auctions: colour groups of 2,3,3,3,3,3,3,2 streets (the third street of a group 400
// dearer), four stations, two utilities, the jail cards; our own texts; six computer players with
// 30000 each; persons who answer what the test scripts, else a question's first button, a pass
// in an auction and a no to a consent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/scripted_front_end.h"
#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "rules/game.h"

namespace tomtura::trade_test {

// Lines of section "TEXTS"; a test may put lines in front to override them.
inline constexpr const char* kTexts =
    "11=pant\n39=Slå\n40=Väntar på %s\n41=%s kan inte betala\n42=%s vann!\n43=Ja\n44=Nej\n"
    "45=chanskort\n46=Betala\n47=Chans\n48=fängelset\n49=Betala\n50=Vänta\n51=skulder\n"
    "52=Strunt\n53=CHANS\n54=ALLMÄNNING\n55=Skatt\n59=%s vann %s för %d kr\n60=Slut\n"
    "61=%s (%d): %s bjuder %d. %s?\n62=%s (%d): inget. %s?\n63=Bud: %s\n"
    "84=%s köper %s för %d av %s?\n86=%s ger %s till %s mot %s och får %d?\n"
    "87=%s säljer %s till %s för %d?\n88=%s står över\n89=pantsatte\n91=byggde\n92=rev\n"
    "93=köpte\n94=sålde\n95=%s svarar %s\n96=nej\n";

using test_support::ScriptedFrontEnd;

struct DealGame {
  explicit DealGame(int players = 3, const std::string& extraTexts = "", std::uint64_t seed = 7)
      : game(TextCatalogue(IniFile::Parse("[TEXTS]\n" + extraTexts + kTexts)), ui, seed) {
    ui.Attach(game);
    ui.unscripted = test_support::Unscripted::FirstButtonOrNo;
    const int sizes[] = {2, 3, 3, 3, 3, 3, 3, 2, 4, 2, 2};
    const int prices[] = {1200, 2000, 2800, 3600, 4400, 5200, 6000, 7000, 4000, 3000, 0};
    for (int group = 0, p = 0; group < 11; ++group) {
      for (int k = 0; k < sizes[group]; ++k, ++p) {
        Property& property = prop(p);
        property.name.setUtf8(group < 8    ? "Gata " + std::to_string(p)
                              : group < 10 ? "Station " + std::to_string(p)
                                           : "Fribrev");
        property.group = static_cast<std::int16_t>(group);
        property.price = static_cast<std::int16_t>(prices[group] + (k == 2 && group < 8) * 400);
        property.housePrice = static_cast<std::int16_t>(1000 * (group / 2 + 1));
        for (int h = 0; h < 6; ++h) property.rent[h] = static_cast<std::uint16_t>(100 * (h + 1));
        property.owner = kNobody;
      }
    }
    game.state.playerCount = players;
    for (int n = 0; n < kMaxPlayers; ++n) {
      game.state.players[n].name.setUtf8(std::string("Spelare") + char('A' + n));
      game.state.players[n].isComputer = 1;
      game.state.players[n].money = kStartMoney;
    }
  }
  Player& player(int n) { return game.state.players[n]; }
  Property& prop(int p) { return game.state.properties[p]; }
  void Own(int player, const std::vector<int>& properties) {
    for (int p : properties) prop(p).owner = static_cast<std::int16_t>(player);
  }
  // The log, oldest line first, without the leading player digit.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    for (const std::string& e : game.state.log.entries()) lines.insert(lines.begin(), e.substr(1));
    return lines;
  }

  ScriptedFrontEnd ui;
  Game game;
};

}  // namespace tomtura::trade_test
