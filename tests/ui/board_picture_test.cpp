// The board picture: the bitmap loader, refusing malformed files, and the keyed sprites.
#include <QTemporaryDir>
#include <QtTest>
#include <cstdint>
#include <optional>

#include "test_suites.h"
#include "ui/board_picture.h"
#include "window_fixture.h"

using namespace tomtura;

namespace {

// `v` as `n` bytes at `at`, the least significant first.
void Put(QByteArray& b, int at, std::uint32_t v, int n = 4) {
  for (int i = 0; i < n; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// A BMP file as the loader sees it: headers, `colours` table entries, then the pixel rows.
struct BmpShape {
  int width = 2;
  int height = 2;
  int bits = 24;
  std::uint32_t clrUsed = 0;
  int tableEntries = 0;
};

QByteArray MakeBmp(const BmpShape& s, const QByteArray& pixels, const QList<QRgb>& table = {}) {
  QByteArray b(54, '\0');
  b[0] = 'B';
  b[1] = 'M';
  Put(b, 10, 0x12345);  // deliberately wrong: the loader must not use the offset field
  Put(b, 14, 40);
  Put(b, 18, std::uint32_t(s.width));
  Put(b, 22, std::uint32_t(s.height));
  Put(b, 26, 1, 2);
  Put(b, 28, std::uint32_t(s.bits), 2);
  Put(b, 46, s.clrUsed);
  for (int i = 0; i < s.tableEntries; ++i) {
    const QRgb c = i < table.size() ? table[i] : qRgb(1, 2, 3);
    b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append('\0');
  }
  b.append(pixels);
  Put(b, 2, std::uint32_t(b.size()));
  return b;
}

// A valid 3 x 2 picture at 24 bits: rows of 9 bytes padded to 12.
QByteArray Small24() {
  return MakeBmp({3, 2, 24, 0, 0}, QByteArray(2 * 12, '\0'));
}

// What the file reader, which reads a row at a time, makes of `bytes` as a file.
std::optional<QImage> FromFile(const QByteArray& bytes) {
  QTemporaryDir dir;
  const QString path = dir.filePath("sheet.bmp");
  if (!WriteFile(path, bytes)) return QImage();
  return BoardPicture::LoadBitmapFile(path);
}

QImage Filled(int w, int h, QColor c) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(c);
  return image;
}

}  // namespace

class BoardPictureTest : public QObject {
  Q_OBJECT

 private slots:
  void RefusesMalformedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = Small24();
    const auto patched = [&good](int at, std::uint32_t value) {
      QByteArray bytes = good;
      Put(bytes, at, value);
      return bytes;
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("headers cut") << good.left(53);
    QTest::newRow("last pixel byte missing") << good.left(good.size() - 1);
    QTest::newRow("8-bit with 0 colours needs 256 entries")
        << MakeBmp({2, 1, 8, 0, 4}, QByteArray(4, '\0'));
    QTest::newRow("colour count beyond the file") << patched(46, 0xFFFFFFFFu);
    QTest::newRow("width 0") << patched(18, 0);
    QTest::newRow("height beyond the file") << patched(22, 0x7FFFFFFF);
    QTest::newRow("the most negative height") << patched(22, 0x80000000u);
    QTest::newRow("a 1-bit file of 64 million pixels")
        << MakeBmp({8192, 8192, 1, 0, 2}, QByteArray(8192 * 8192 / 8, '\0'));
  }
  void RefusesMalformedFiles() {
    QFETCH(QByteArray, bytes);
    QVERIFY(!BoardPicture::DecodeBitmap(bytes).has_value());
    QVERIFY(!FromFile(bytes).has_value());
  }

  // Rows stored top down (negative height); with biClrUsed 2 the pixels follow two table
  // entries, and an index past the table is black.
  void ReadsTopDownRowsAndShortTables() {
    QByteArray px;  // two rows of two pixels, blue, green, red, padded to 8 bytes
    px.append("\x01\x02\x03\x04\x05\x06\x00\x00", 8).append("\x07\x08\x09\x0A\x0B\x0C\xFF\xFF", 8);
    const QByteArray topDown = MakeBmp({2, -2, 24, 0, 0}, px);
    const QByteArray shortTable = MakeBmp({3, 1, 8, 2, 2}, QByteArray("\x01\x00\x07\x00", 4),
                                          {qRgb(10, 0, 0), qRgb(0, 20, 0)});
    const auto image = BoardPicture::DecodeBitmap(topDown);
    QVERIFY(image.has_value());
    QCOMPARE(image->pixel(0, 0), qRgb(3, 2, 1));
    QCOMPARE(image->pixel(1, 0), qRgb(6, 5, 4));
    QCOMPARE(image->pixel(0, 1), qRgb(9, 8, 7));
    QCOMPARE(image->pixel(1, 1), qRgb(12, 11, 10));

    const auto paletted = BoardPicture::DecodeBitmap(shortTable);
    QVERIFY(paletted.has_value());
    QCOMPARE(paletted->pixel(0, 0), qRgb(0, 20, 0));
    QCOMPARE(paletted->pixel(2, 0), qRgb(0, 0, 0));
    QCOMPARE(FromFile(topDown), image);
    QCOMPARE(FromFile(shortTable), paletted);
  }

  void LoadKeepsTheSheetWhenRefused() {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.bmp");
    const QString bad = dir.filePath("bad.bmp");
    QVERIFY(WriteFile(good, Small24()));
    QVERIFY(WriteFile(bad, Small24().left(60)));
    BoardPicture picture;
    QVERIFY(picture.Load(good));
    QVERIFY(!picture.Load(bad));
    QVERIFY(!picture.Load(dir.filePath("missing.bmp")));
    QCOMPARE(picture.sheet().size(), QSize(3, 2));
    QVERIFY(!picture.hasStandardSize());
  }

  // A sprite is cut once from the sheet, which it leaves as it was; it is transparent where the
  // sheet shows its key: white for a token, colours of their own for dice and group markers.
  void SpritesAreKeyedAndCutOnce() {
    QImage sheet = Filled(kSheetWidth, kSheetHeight, QColor(50, 60, 70));
    const std::pair<QRect, QRgb> regions[] = {{sheet::Token(2), qRgb(255, 255, 255)},
                                              {sheet::DieFace(6), kKeyDice},
                                              {sheet::GroupMarker(10), kKeyCream}};
    for (const auto& [region, key] : regions) {
      sheet.setPixel(region.topLeft(), key);
      sheet.setPixel(region.bottomRight(), qRgb(255, 255, 254));  // one off every key
    }
    BoardPicture picture;
    picture.SetSheet(sheet);
    const QImage before = picture.sheet();
    const QImage cuts[] = {picture.Token(2).toImage(), picture.DieFace(6).toImage(),
                           picture.GroupMarker(10).toImage()};
    for (int i = 0; i < 3; ++i) {
      const QImage& cut = cuts[i];
      QCOMPARE(cut.size(), regions[i].first.size());
      QCOMPARE(qAlpha(cut.pixel(0, 0)), 0);
      QCOMPARE(qAlpha(cut.pixel(cut.width() - 1, cut.height() - 1)), 255);
      QCOMPARE(cut.pixel(1, 0), qRgb(50, 60, 70));
    }
    QCOMPARE(picture.sheet(), before);

    // Cut once: the same pixmap comes back until the sheet is replaced.
    QCOMPARE(&picture.Token(2), &picture.Token(2));
    picture.SetSheet(Filled(kSheetWidth, kSheetHeight, QColor(0, 0, 255)));
    QCOMPARE(picture.Token(2).toImage().pixel(0, 0), qRgb(0, 0, 255));
  }
};

TOMTURA_TEST_SUITE(BoardPictureTest);
#include "board_picture_test.moc"
