#pragma once
// A game for the board view and player panel tests: two players on their GO places, the usual
// groups, a small text catalogue and a sheet of plain colours that the tests can recognise; and
// the view or panel shown with a client area of a given size, and its pixels.
#include <QAbstractScrollArea>
#include <QImage>
#include <QPainter>
#include <QtTest>
#include <cstdint>
#include <string>

#include "data/ini_file.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "ui/board_picture.h"

namespace tomtura {

inline constexpr char kViewTexts[] =
    "[TEXTS]\n11=pantsatt\n12=%d x tärningen\n13=%d kr\n14=%s|%d kr|%s|%s\n15=banken\n"
    "16=Pant %d kr\n17=Hyra\n18=%d/%d/%d/%d/%d/%d hus %d+%d pant %d\n19=4000\n20=Alla\n"
    "21=Faktor\n22=Frikort\n";

inline const QRgb kBoardGreen = qRgb(0, 160, 0);
inline const QRgb kToken0Red = qRgb(200, 0, 0);
inline const QRgb kToken1Blue = qRgb(0, 0, 200);
inline const QRgb kPanelPatternGrey = qRgb(90, 90, 90);

struct ViewFixture {
  HeadlessFrontEnd ui;
  Game game;
  BoardPicture picture;

  // `texts` may put other words in the catalogue.
  explicit ViewFixture(const std::string& texts = kViewTexts)
      : game(TextCatalogue(IniFile::Parse(texts)), ui, 1) {
    QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.fillRect(sheet::kBoard, QColor(kBoardGreen));
    p.fillRect(sheet::Token(0), QColor(kToken0Red));
    p.fillRect(sheet::Token(1), QColor(kToken1Blue));
    p.fillRect(sheet::kPanelPattern, QColor(kPanelPatternGrey));
    picture.SetSheet(sheet);

    // Groups 0..7 over entries 0..21, then stations, utilities and the jail cards. Property p
    // costs 1000 + 100 p; its rent with h houses is 100 (p + 1) + 10 h.
    const int groupEnds[] = {2, 5, 8, 11, 14, 17, 20, 22, 26, 28, 30};
    for (int p = 0, g = 0; p < kPropertyCount; ++p) {
      if (p == groupEnds[g]) ++g;
      Property& property = game.state.properties[p];
      property.group = std::int16_t(g);
      property.name.setUtf8("Gata " + std::to_string(p));
      property.price = std::int16_t(1000 + 100 * p);
      property.housePrice = 500;
      for (int h = 0; h < 6; ++h) property.rent[h] = std::uint16_t(100 * (p + 1) + 10 * h);
    }
    game.state.playerCount = 2;
    game.state.players[0].name.setUtf8("Anna");
    game.state.players[1].name.setUtf8("Bo");
    game.state.players[1].token = 1;
    for (int i = 0; i < 2; ++i) {
      game.state.players[i].tokenX = std::int16_t(29 + 8 * i);
      game.state.players[i].tokenY = 29;
    }
  }
};

// Shows a view or panel whose client area has exactly the given size.
inline void ShowWithClient(QAbstractScrollArea& view, QSize client) {
  view.setFrameShape(QFrame::NoFrame);
  view.resize(client);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
}

inline QRgb PixelAt(QAbstractScrollArea& view, QPoint at) {
  return view.viewport()->grab().toImage().pixel(at);
}

}  // namespace tomtura
