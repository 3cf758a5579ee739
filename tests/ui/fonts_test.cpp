// The shared fonts: each at the largest pixel size of its face whose line fits its cell.
#include <QFontMetrics>
#include <QtTest>
#include <algorithm>

#include "test_suites.h"
#include "ui/fonts.h"

using namespace tomtura;

class FontsTest : public QObject {
  Q_OBJECT

 private slots:
  void eachFontIsTheLargestSizeThatFitsItsCell();
};

void FontsTest::eachFontIsTheLargestSizeThatFitsItsCell() {
  constexpr int kMinPixelSize = 6;
  const struct {
    const char* face;
    int cell;
    int weight;
  } cases[] = {
      {"MS Sans Serif", 13, QFont::Normal}, {"Small Fonts", 14, QFont::Normal},
      {"Arial", 14, QFont::Normal},         {"Verdana", 16, QFont::Bold},
      {"Arial", 9, QFont::Normal},          {"Verdana", 40, QFont::Normal},
      {"Arial", 4, QFont::Normal},
  };
  for (const auto& c : cases) {
    const QFont font = MakeFont(c.face, c.cell, 0, c.weight);
    const int size = font.pixelSize();
    const QString what = QString("%1 in %2").arg(c.face).arg(c.cell);
    QVERIFY2(size >= kMinPixelSize && size <= std::max(c.cell, kMinPixelSize), qPrintable(what));
    QVERIFY2(size == kMinPixelSize || QFontMetrics(font).height() <= c.cell, qPrintable(what));
    if (size < c.cell) {
      QFont bigger = font;
      bigger.setPixelSize(size + 1);
      QVERIFY2(QFontMetrics(bigger).height() > c.cell, qPrintable(what));
    }
  }
}

TOMTURA_TEST_SUITE(FontsTest);
#include "fonts_test.moc"
