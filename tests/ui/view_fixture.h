#pragma once
// A game for the board view and player panel tests: two players, the usual groups, a small
// text catalogue and a sheet of plain colours whose pixels the tests can recognise.
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <string>

#include "data/ini_file.h"
#include "rules/game.h"
#include "ui/board_picture.h"

namespace tomtura {

// A front end that answers nothing: the views only read the records.
class QuietFrontEnd : public FrontEnd {
 public:
  int AskQuestion(const QuestionParams&) override { return 1; }
  bool AskPassword() override { return true; }
  bool AskConsent(const std::string&) override { return false; }
  int RunAuction() override { return kNobody; }
  int OpenPlayWindow(int) override { return 2; }
  void ShowMessage(const std::string&, MessageIcon) override {}
  void StartDiceTimer(int) override {}
  void StopDiceTimer() override {}
  void StartWalkTimer(int) override {}
  void StopWalkTimer() override {}
  void PlaySoundEffect(int) override {}
  void DiceChanged() override {}
  void TokenStepped(int, int) override {}
  void BoardChanged() override {}
  void PanelChanged() override {}
  void StatusLineChanged() override {}
  void CentreOnCurrentPlayer() override {}
  void TurnEnded() override {}
  void FocusRollButton() override {}
  void Beep() override {}
};

inline constexpr char kViewTexts[] =
    "[TEXTS]\n11=pantsatt\n12=%d x tärningen\n13=%d kr\n14=%s|%d kr|%s|%s\n15=banken\n"
    "16=Pant %d kr\n17=Hyra\n18=%d/%d/%d/%d/%d/%d hus %d+%d pant %d\n19=4000\n20=Alla\n"
    "21=Faktor\n22=Frikort\n";

inline const QRgb kBoardGreen = qRgb(0, 160, 0);
inline const QRgb kToken0Red = qRgb(200, 0, 0);
inline const QRgb kToken1Blue = qRgb(0, 0, 200);
inline const QRgb kPanelPatternGrey = qRgb(90, 90, 90);

// A sheet whose board is plain green, whose first two tokens are solid squares and whose
// panel pattern is plain grey.
inline QImage MakeViewSheet() {
  QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
  sheet.fill(Qt::white);
  QPainter p(&sheet);
  p.fillRect(sheet::kBoard, QColor(kBoardGreen));
  p.fillRect(sheet::Token(0), QColor(kToken0Red));
  p.fillRect(sheet::Token(1), QColor(kToken1Blue));
  p.fillRect(sheet::kPanelPattern, QColor(kPanelPatternGrey));
  return sheet;
}

// The usual board: eight colour groups over entries 0..21, four stations, two utilities and
// the two jail cards. Property p costs 1000 + 100 p; its rents are 100 (p + 1) + 10 h.
inline void FillViewTable(PropertyTable& table) {
  const int groupSizes[] = {2, 3, 3, 3, 3, 3, 3, 2};
  int p = 0;
  for (int g = 0; g < 8; ++g) {
    for (int k = 0; k < groupSizes[g]; ++k, ++p) table[p].group = std::int16_t(g);
  }
  for (; p < kPropertyCount; ++p) {
    table[p].group = std::int16_t(p < 26 ? kStationGroup : p < 28 ? kUtilityGroup : kJailCardGroup);
  }
  for (p = 0; p < kPropertyCount; ++p) {
    table[p].name.setUtf8("Gata " + std::to_string(p));
    table[p].price = std::int16_t(1000 + 100 * p);
    table[p].housePrice = 500;
    for (int h = 0; h < 6; ++h) table[p].rent[h] = std::uint16_t(100 * (p + 1) + 10 * h);
  }
}

struct ViewFixture {
  QuietFrontEnd ui;
  Game game{TextCatalogue(IniFile::Parse(kViewTexts)), ui, 1};
  BoardPicture picture;

  ViewFixture() {
    FillViewTable(game.state.properties);
    picture.SetSheet(MakeViewSheet());
    game.state.playerCount = 2;
    game.state.players[0].name.setUtf8("Anna");
    game.state.players[1].name.setUtf8("Bo");
    game.state.players[1].token = 1;
    for (int i = 0; i < 2; ++i) {  // on their places in the GO corner
      game.state.players[i].tokenX = std::int16_t(29 + 8 * i);
      game.state.players[i].tokenY = 29;
    }
  }
};

}  // namespace tomtura
